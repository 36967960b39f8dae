#pragma once
// The 8.3 form of an attachment's name, which message files keep beside the
// long one for programs that know only short names.

#include <string>
#include <string_view>

namespace qs {

// "report.pdf" → "REPORT.PDF"; "Preisliste 2019.pdf" → "PREISL~1.PDF".
std::string ShortFileName(std::string_view name);

}  // namespace qs
