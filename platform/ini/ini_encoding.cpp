#include "platform/ini/ini_encoding.h"

#include "platform/text.h"

namespace qs::ini {

namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";

}  // namespace

FileText DecodeFileText(std::string_view bytes) {
  if (!bytes.starts_with(kUtf16LeMark)) return {FileEncoding::kAsIs, std::string(bytes)};
  return {FileEncoding::kUtf16Le, Utf8OfUtf16Le(bytes.substr(kUtf16LeMark.size()))};
}

std::string EncodeFileText(std::string_view text, FileEncoding encoding) {
  if (encoding == FileEncoding::kAsIs) return std::string(text);
  return std::string(kUtf16LeMark) + Utf16LeOf(text);
}

}  // namespace qs::ini
