#pragma once
// The parameters of a structured header such as Content-Type or
// Content-Disposition: `type/subtype; name=value; name="quoted value"`.

#include <string>
#include <string_view>

namespace qs::dirstore {

// The value of the named parameter (the name in any letter case) as the
// header gives it, quotes and backslash escapes taken off; empty when the
// header has no such parameter. A ";" inside quotes belongs to the value.
std::string HeaderParameter(std::string_view header, std::string_view name);

}  // namespace qs::dirstore
