#pragma once
// What the program knows of MIME types.

#include <string>
#include <string_view>

namespace qs {

// The file extension (with its dot) usual for a MIME type, ".bin" when none is.
std::string ExtensionOfMimeType(std::string_view mime_type);

}  // namespace qs
