#include "mailstore/mime/header_text.h"

#include "mailstore/mime/gmime_library.h"

#include <gmime/gmime.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <utility>

#include "mailstore/encodings/byte_scan.h"
#include "mailstore/encodings/transfer_encoding.h"
#include "platform/posix/iconv_converter.h"
#include "platform/text.h"

namespace qs {

namespace {

struct EncodedWord {
  std::size_t end = 0;  // one past the closing "?="
  std::string charset;
  std::string bytes;
};

std::string DecodeQ(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '_') {
      out += ' ';
    } else if (const auto byte = text[i] == '=' ? HexByte(text.substr(i + 1)) : std::nullopt) {
      out += *byte;
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// Base64 up to the first "=": the padding ends an encoded word's text.
std::string DecodeB(std::string_view text) {
  std::string out;
  WriteDecoded(text.substr(0, text.find('=')), TransferEncoding::kBase64,
               [&out](std::string_view piece) { out += piece; });
  return out;
}

// Reads "=?charset?B?text?=" at position at, if one is there.
std::optional<EncodedWord> ReadEncodedWord(std::string_view raw, std::size_t at) {
  if (raw.compare(at, 2, "=?") != 0) return std::nullopt;
  const auto charset_end = raw.find('?', at + 2);
  if (charset_end == std::string_view::npos || charset_end + 2 >= raw.size() ||
      raw[charset_end + 2] != '?')
    return std::nullopt;
  const char encoding = AsciiUpper(raw[charset_end + 1]);
  if (encoding != 'B' && encoding != 'Q') return std::nullopt;
  const auto text_start = charset_end + 3;
  // The text holds no "?", so the first one ends it, whatever "=" it ends with.
  const auto text_end = raw.find('?', text_start);
  if (text_end == std::string_view::npos || text_end + 1 >= raw.size() || raw[text_end + 1] != '=')
    return std::nullopt;
  std::string_view charset = raw.substr(at + 2, charset_end - at - 2);
  if (charset.empty() || charset.find_first_of(" \t") != std::string_view::npos) return std::nullopt;
  charset = charset.substr(0, charset.find('*'));  // RFC 2231 language
  const std::string_view text = raw.substr(text_start, text_end - text_start);
  if (text.find_first_of(" \t") != std::string_view::npos) return std::nullopt;
  return EncodedWord{text_end + 2, std::string(charset),
                     encoding == 'B' ? DecodeB(text) : DecodeQ(text)};
}

// Invalid bytes become U+FFFD one by one; a NUL is text like any other
// (GLib's validation stops at one).
std::string MakeValidUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    const gchar* end = bytes.data();
    g_utf8_validate_len(bytes.data(), bytes.size(), &end);
    const auto valid = static_cast<std::size_t>(end - bytes.data());
    out.append(bytes.data(), valid);
    bytes.remove_prefix(valid);
    if (bytes.empty()) break;
    out += bytes.front() == '\0' ? std::string_view("\0", 1) : std::string_view("\xEF\xBF\xBD");
    bytes.remove_prefix(1);
  }
  return out;
}

bool IsUtf8(std::string_view bytes) {
  // Most texts are ASCII.
  if (IsAscii(bytes)) return true;
  for (std::size_t start = 0; start <= bytes.size();) {
    const std::size_t nul = std::min(bytes.find('\0', start), bytes.size());
    if (!g_utf8_validate_len(bytes.data() + start, nul - start, nullptr)) return false;
    start = nul + 1;
  }
  return true;
}

using TextSink = std::function<void(std::string_view)>;

// By length, into memory that throws std::bad_alloc when it runs out:
// GLib's converters stop at a NUL and end the program instead. A sequence
// that one piece cuts is kept back for the next; one cut off at the end is
// left out. Gives the size of the UTF-8, handed to out unless it is empty,
// or nothing when the text is not in that charset.
std::optional<std::size_t> ConvertPieces(const TextPieces& make, const char* from,
                                         const TextSink& out) {
  // GMime keeps the converters it opens, so asking for one per header is cheap.
  IconvConverter converter(g_mime_iconv_open("UTF-8", from), g_mime_iconv_close);
  if (!converter.Valid()) return std::nullopt;
  converter.Reset();
  std::size_t size = 0;
  bool failed = false;
  std::string cut;
  const auto sink = [&](std::string_view made) {
    size += made.size();
    if (out) out(made);
  };
  make([&](std::string_view piece) {
    if (failed || piece.empty()) return;
    std::string joined;
    if (!cut.empty()) {
      joined = std::move(cut);
      joined += piece;
      piece = joined;
    }
    cut.clear();
    switch (converter.Convert(piece, sink)) {
      case IconvConverter::Stop::kDone: break;
      case IconvConverter::Stop::kCut: cut.assign(piece); break;
      case IconvConverter::Stop::kInvalid: failed = true; break;
    }
  });
  if (failed) return std::nullopt;
  converter.Finish(sink);
  return size;
}

// MakeValidUtf8 in pieces: a sequence that a piece may cut (the last three
// bytes at most) waits for the next piece before it is judged.
class Utf8Repair {
 public:
  explicit Utf8Repair(const TextSink& out) : out_(out) {}

  void Take(std::string_view piece) { Repair(piece, false); }
  void Finish() { Repair({}, true); }
  bool Replaced() const { return replaced_; }

 private:
  void Repair(std::string_view piece, bool last) {
    std::string joined;
    if (!held_.empty()) {
      joined = std::move(held_) + std::string(piece);
      held_.clear();
      piece = joined;
    }
    while (!piece.empty()) {
      const gchar* end = piece.data();
      g_utf8_validate_len(piece.data(), piece.size(), &end);
      const auto valid = static_cast<std::size_t>(end - piece.data());
      if (out_ && valid) out_(piece.substr(0, valid));
      piece.remove_prefix(valid);
      if (piece.empty()) break;
      if (!last && piece.size() < 4 && piece.front() != '\0') {
        held_ = piece;
        return;
      }
      const bool nul = piece.front() == '\0';
      replaced_ |= !nul;
      if (out_) out_(nul ? std::string_view("\0", 1) : std::string_view("\xEF\xBF\xBD"));
      piece.remove_prefix(1);
    }
  }

  const TextSink& out_;
  std::string held_;
  bool replaced_ = false;
};

bool MadeUtf8(const TextPieces& make) {
  const TextSink none;
  Utf8Repair check(none);
  make([&check](std::string_view piece) { check.Take(piece); });
  check.Finish();
  return !check.Replaced();
}

TextPieces RepairedAsMade(TextPieces make) {
  return [make = std::move(make)](const TextSink& out) {
    Utf8Repair repair(out);
    make([&repair](std::string_view piece) { repair.Take(piece); });
    repair.Finish();
  };
}

TextPieces ConvertedFrom(TextPieces make, std::string from) {
  return [make = std::move(make), from = std::move(from)](const TextSink& out) {
    ConvertPieces(make, from.c_str(), out);
  };
}

// The name most mail gives its charset, known without asking GMime's table
// (whose lock every thread shares) for it.
bool NamesUtf8(std::string_view charset) { return EqualsIgnoringAsciiCase(charset, "utf-8"); }

std::optional<std::string> Convert(std::string_view bytes, const char* from) {
  std::string out;
  if (!ConvertPieces([bytes](const auto& take) { take(bytes); }, from,
                     [&out](std::string_view piece) { out += piece; }))
    return std::nullopt;
  return out;
}

}  // namespace

std::string PlainToUtf8(std::string bytes) {
  EnsureGMimeInitialised();
  if (IsUtf8(bytes)) return bytes;
  if (auto converted = Convert(bytes, "WINDOWS-1252")) return std::move(*converted);
  return MakeValidUtf8(bytes);
}

std::string CharsetToUtf8(std::string bytes, std::string_view charset) {
  if (NamesUtf8(charset)) return IsUtf8(bytes) ? std::move(bytes) : MakeValidUtf8(bytes);
  EnsureGMimeInitialised();
  const std::string name(charset);
  const char* iconv_name = g_mime_charset_iconv_name(name.c_str());
  if (iconv_name && EqualsIgnoringAsciiCase(iconv_name, "UTF-8"))
    return IsUtf8(bytes) ? std::move(bytes) : MakeValidUtf8(bytes);
  if (iconv_name)
    if (auto converted = Convert(bytes, iconv_name)) return std::move(*converted);
  return PlainToUtf8(std::move(bytes));
}

std::optional<std::string> ConvertedAsMade(const TextPieces& make, std::string_view charset) {
  if (NamesUtf8(charset)) return std::nullopt;
  EnsureGMimeInitialised();
  const std::string name(charset);
  const char* iconv_name = g_mime_charset_iconv_name(name.c_str());
  if (!iconv_name || EqualsIgnoringAsciiCase(iconv_name, "UTF-8")) return std::nullopt;
  // Converted twice, the first time to count, so that the text is allocated
  // once at its size instead of growing into a copy of up to twice that.
  const auto size = ConvertPieces(make, iconv_name, {});
  if (!size) return std::nullopt;
  std::string out;
  out.reserve(*size);
  ConvertPieces(make, iconv_name, [&out](std::string_view piece) { out += piece; });
  return out;
}

TextPieces Utf8AsMade(TextPieces make, std::string_view charset) {
  EnsureGMimeInitialised();
  const std::string name(charset);
  const char* iconv_name = name.empty() ? nullptr : g_mime_charset_iconv_name(name.c_str());
  if (iconv_name && !EqualsIgnoringAsciiCase(iconv_name, "UTF-8") && ConvertPieces(make, iconv_name, {}))
    return ConvertedFrom(std::move(make), iconv_name);
  if (MadeUtf8(make)) return make;
  if ((!iconv_name || !EqualsIgnoringAsciiCase(iconv_name, "UTF-8")) && ConvertPieces(make, "WINDOWS-1252", {}))
    return ConvertedFrom(std::move(make), "WINDOWS-1252");
  return RepairedAsMade(std::move(make));
}

std::string DecodeHeaderText(std::string_view raw) {
  // Every encoded word starts with "=?"; most texts have none.
  if (raw.find("=?") == std::string_view::npos) return PlainToUtf8(std::string(raw));
  std::string out;
  std::string pending;          // bytes of adjacent encoded words, not yet converted
  std::string pending_charset;
  auto flush = [&] {
    if (!pending.empty()) out += CharsetToUtf8(pending, pending_charset);
    pending.clear();
  };
  std::size_t plain_start = 0;
  bool after_word = false;
  for (std::size_t i = 0; i < raw.size();) {
    auto word = raw[i] == '=' ? ReadEncodedWord(raw, i) : std::nullopt;
    if (!word) {
      ++i;
      continue;
    }
    std::string_view between = raw.substr(plain_start, i - plain_start);
    const bool blank = between.find_first_not_of(" \t\r\n") == std::string_view::npos;
    if (!(after_word && blank)) {
      flush();
      out += PlainToUtf8(std::string(between));
    }
    // Bytes of one charset are joined before converting: a character may be
    // split between two words.
    if (!pending.empty() && !EqualsIgnoringAsciiCase(pending_charset, word->charset)) flush();
    pending_charset = word->charset;
    pending += word->bytes;
    i = plain_start = word->end;
    after_word = true;
  }
  flush();
  out += PlainToUtf8(std::string(raw.substr(plain_start)));
  return out;
}

}  // namespace qs
