#pragma once
// The parameters of a structured header such as Content-Type or
// Content-Disposition: `type/subtype; name=value; name="quoted value"`.

#include <string>
#include <string_view>

namespace qs {

// The header's own value before its parameters ("type/subtype",
// "attachment"), blanks at either end taken off.
std::string_view HeaderValue(std::string_view header);

// The value of the named parameter (the name in any letter case) as the
// header gives it, quotes and backslash escapes taken off; empty when the
// header has no such parameter. A ";" inside quotes belongs to the value.
std::string HeaderParameter(std::string_view header, std::string_view name);

// The value as text in UTF-8, such as a file name: the parameter's RFC 2231
// forms (name*=charset'language'%XX, or pieces name*0, name*1*, ...) where
// the header has them, else its plain value, whose encoded words (RFC 2047,
// which mailers use in names though no standard allows it) are decoded as
// in header texts.
std::string ParameterText(std::string_view header, std::string_view name);

}  // namespace qs
