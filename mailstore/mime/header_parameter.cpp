#include "mailstore/mime/header_parameter.h"

#include <charconv>
#include <map>
#include <optional>

#include "mailstore/mime/header_text.h"
#include "platform/text.h"

namespace qs {

namespace {

// Calls take(name, value) for each parameter in order, until it returns true.
template <typename Take>
void ForEachParameter(std::string_view header, Take take) {
  std::size_t at = header.find(';');
  while (at != std::string_view::npos) {
    const std::size_t key_begin = at + 1;
    const std::size_t key_end = header.find_first_of(";=", key_begin);
    if (key_end == std::string_view::npos) return;
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
    if (take(key, std::move(value))) return;
  }
}

// One piece of an RFC 2231 value: name*N or name*N* (encoded), or name*
// (encoded, the only piece).
struct Piece {
  std::string value;
  bool encoded = false;
};

// The piece number of a key of the named parameter's RFC 2231 form, -1 for
// the unnumbered name*; nothing for another key.
std::optional<int> PieceNumber(std::string_view key, std::string_view name, bool& encoded) {
  if (key.size() <= name.size() || !EqualsIgnoringAsciiCase(key.substr(0, name.size()), name) ||
      key[name.size()] != '*')
    return std::nullopt;
  std::string_view rest = key.substr(name.size() + 1);
  encoded = rest.empty() || rest.back() == '*';
  if (rest.empty()) return -1;
  if (encoded) rest.remove_suffix(1);
  int number = 0;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), number);
  if (error != std::errc() || end != rest.data() + rest.size() || number < 0) return std::nullopt;
  return number;
}

}  // namespace

std::string_view HeaderValue(std::string_view header) {
  return TrimBlanks(header.substr(0, header.find(';')));
}

std::string HeaderParameter(std::string_view header, std::string_view name) {
  std::string found;
  ForEachParameter(header, [&](std::string_view key, std::string value) {
    if (!EqualsIgnoringAsciiCase(key, name)) return false;
    found = std::move(value);
    return true;
  });
  return found;
}

std::string ParameterText(std::string_view header, std::string_view name) {
  std::optional<std::string> plain;
  std::map<int, Piece> pieces;
  ForEachParameter(header, [&](std::string_view key, std::string value) {
    bool encoded = false;
    if (EqualsIgnoringAsciiCase(key, name)) {
      if (!plain) plain = std::move(value);
    } else if (const auto number = PieceNumber(key, name, encoded)) {
      pieces.try_emplace(*number, Piece{std::move(value), encoded});
    }
    return false;
  });
  if (pieces.empty()) {
    return plain ? DecodeHeaderText(*plain) : std::string();
  }
  // The charset and language lead the first piece, when it is encoded.
  std::string charset = "UTF-8";
  std::string bytes;
  for (auto& [number, piece] : pieces) {
    std::string_view value = piece.value;
    if (piece.encoded && number == pieces.begin()->first) {
      const std::size_t quote = value.find('\'');
      const std::size_t second =
          quote == std::string_view::npos ? quote : value.find('\'', quote + 1);
      if (second != std::string_view::npos) {
        if (quote > 0) charset = value.substr(0, quote);
        value.remove_prefix(second + 1);
      }
    }
    bytes += piece.encoded ? PercentDecoded(value) : std::string(value);
  }
  return CharsetToUtf8(std::move(bytes), charset);
}

}  // namespace qs
