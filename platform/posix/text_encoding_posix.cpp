#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/text_encoding.h"

#include "platform/posix/iconv_converter.h"
#include "platform/text.h"

namespace qs {

namespace {

// The character set the user's locale names, read without changing the
// program's own locale; empty where the locale names none.
std::string LocaleCharset() {
  locale_t user = ::newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
  if (user == static_cast<locale_t>(nullptr)) return {};
  const std::string_view charset = ::nl_langinfo_l(CODESET, user);
  // The C and POSIX locales report plain ASCII: they name no character set.
  const bool named = charset != "ANSI_X3.4-1968" && charset != "ASCII";
  std::string result;
  if (named) result.append(charset);
  ::freelocale(user);
  return result;
}

bool IsUtf8(const std::string& charset) {
  return charset.empty() || charset == "UTF-8" || charset == "utf8" || charset == "UTF8";
}

}  // namespace

std::string ToSystemCharset(std::string_view utf8) {
  const std::string charset = LocaleCharset();
  if (IsUtf8(charset)) return std::string(utf8);
  IconvConverter converter(charset.c_str(), "UTF-8");
  if (!converter.Valid()) return std::string(utf8);

  std::string result;
  const auto append = [&result](std::string_view piece) { result += piece; };
  while (converter.Convert(utf8, append) != IconvConverter::Stop::kDone) {
    // A character the target cannot hold, or a broken sequence.
    result += '?';
    utf8.remove_prefix(CodePointBytes(utf8));
  }
  return result;
}

}  // namespace qs
