#include "mailstore/properties/code_page.h"

#include <langinfo.h>

#include <string>

#include "platform/posix/iconv_converter.h"
#include "platform/text.h"

namespace qs {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The system's name for a Windows code page.
std::string CharsetName(std::uint32_t code_page) {
  switch (code_page) {
    case 65001: return "UTF-8";
    case 20127: return "US-ASCII";
    case 1200: return "UTF-16LE";
    case 1201: return "UTF-16BE";
    case 50220:
    case 50221:
    case 50222: return "ISO-2022-JP";
    case 51932: return "EUC-JP";
    case 51949: return "EUC-KR";
    case 52936: return "HZ";
    case 54936: return "GB18030";
    case 20866: return "KOI8-R";
    case 21866: return "KOI8-U";
    case 10000: return "MACINTOSH";
    default: break;
  }
  if (code_page >= 28591 && code_page <= 28606)
    return "ISO-8859-" + std::to_string(code_page - 28590);
  return "CP" + std::to_string(code_page);
}

// The bytes in UTF-8: a byte the code page does not define, or a sequence
// cut short at the end, gives one replacement character, and the reading
// goes on after it.
std::string Convert(IconvConverter& converter, std::string_view bytes) {
  std::string out;
  const auto append = [&out](std::string_view piece) { out += piece; };
  while (converter.Convert(bytes, append) != IconvConverter::Stop::kDone) {
    AppendUtf8(out, kReplacement);
    bytes.remove_prefix(1);
    converter.Reset();
  }
  converter.Finish(append);
  return out;
}

}  // namespace

bool KnownCodePage(std::uint32_t code_page) {
  return code_page != 0 && IconvConverter("UTF-8", CharsetName(code_page).c_str()).Valid();
}

std::string CodePageToUtf8(std::string_view bytes, std::uint32_t code_page) {
  if (code_page == 1200) return Utf8OfUtf16Le(bytes);
  IconvConverter converter("UTF-8", CharsetName(code_page).c_str());
  if (converter.Valid()) return Convert(converter, bytes);
  IconvConverter windows_1252("UTF-8", CharsetName(kWindows1252).c_str());
  return Convert(windows_1252, bytes);
}

std::uint32_t SystemAnsiCodePage() {
  // nl_langinfo answers for the locale the program set up; "CP1251" and
  // "ISO-8859-5" name the Windows code pages the program knows.
  const std::string charset = ::nl_langinfo(CODESET);
  if (charset.starts_with("CP") && charset.size() > 2 &&
      charset.find_first_not_of("0123456789", 2) == std::string::npos && charset.size() < 8)
    return static_cast<std::uint32_t>(std::stoul(charset.substr(2)));
  if (charset.starts_with("ISO-8859-") && charset.size() < 12 &&
      charset.find_first_not_of("0123456789", 9) == std::string::npos) {
    // Windows-1252 is Latin-1 with more letters where Latin-1 has controls.
    if (charset == "ISO-8859-1") return kWindows1252;
    return 28590 + static_cast<std::uint32_t>(std::stoul(charset.substr(9)));
  }
  return kWindows1252;
}
}  // namespace qs
