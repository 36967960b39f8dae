#pragma once
// Lines ended the way mail and message files end them.

#include <string>
#include <string_view>

#include "mailstore/encodings/byte_source.h"

namespace qs {

// The text with a CR put before each line feed that has none, in pieces or
// whole.
void WriteWithCrLf(std::string_view text, const ByteSink& sink);
std::string WithCrLf(std::string_view text);

}  // namespace qs
