#include "mailstore/dirstore/header_parameter.h"

#include "platform/text.h"

namespace qs::dirstore {

std::string HeaderParameter(std::string_view header, std::string_view name) {
  std::size_t at = header.find(';');
  while (at != std::string_view::npos) {
    const std::size_t key_begin = at + 1;
    const std::size_t key_end = header.find_first_of(";=", key_begin);
    if (key_end == std::string_view::npos) return {};
    if (header[key_end] == ';') {  // a parameter without a value
      at = key_end;
      continue;
    }
    const std::string_view key = TrimBlanks(header.substr(key_begin, key_end - key_begin));
    std::size_t pos = header.find_first_not_of(" \t", key_end + 1);
    std::string value;
    if (pos != std::string_view::npos && header[pos] == '"') {
      for (++pos; pos < header.size() && header[pos] != '"'; ++pos) {
        if (header[pos] == '\\' && pos + 1 < header.size()) ++pos;
        value += header[pos];
      }
      at = header.find(';', pos);
    } else {
      at = pos == std::string_view::npos ? pos : header.find(';', pos);
      if (pos != std::string_view::npos)
        value = TrimBlanks(header.substr(pos, at == std::string_view::npos ? at : at - pos));
    }
    if (EqualsIgnoringAsciiCase(key, name)) return value;
  }
  return {};
}

}  // namespace qs::dirstore
