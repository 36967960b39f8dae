#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>

#include "platform/text_encoding.h"

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

class Converter {
 public:
  explicit Converter(const std::string& charset)
      : handle_(::iconv_open(charset.c_str(), "UTF-8")) {}
  ~Converter() {
    if (Valid()) ::iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t Get() const { return handle_; }

 private:
  iconv_t handle_;
};

}  // namespace

std::string ToSystemCharset(std::string_view utf8) {
  const std::string charset = LocaleCharset();
  if (IsUtf8(charset)) return std::string(utf8);
  Converter converter(charset);
  if (!converter.Valid()) return std::string(utf8);

  std::string result;
  char buffer[4096];
  char* in = const_cast<char*>(utf8.data());
  std::size_t in_left = utf8.size();
  while (in_left > 0) {
    char* out = buffer;
    std::size_t out_left = sizeof buffer;
    const std::size_t done = ::iconv(converter.Get(), &in, &in_left, &out, &out_left);
    result.append(buffer, static_cast<std::size_t>(out - buffer));
    if (done != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // A character the target cannot hold, or a broken sequence.
    result += '?';
    const std::size_t skip = CodePointBytes(std::string_view(in, in_left));
    in += skip;
    in_left -= skip;
  }
  return result;
}

}  // namespace qs
