#pragma once
// Header texts as the mail holds them, turned into UTF-8.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qs {

// Decodes the encoded words of an unstructured header text (RFC 2047) one by
// one: GMime 3.2 drops every encoded word after one that ends in "="
// padding, so its decoder is not used for these texts. Adjacent encoded words
// lose the blanks between them; bytes outside encoded words that are not
// UTF-8 are read as Windows-1252.
std::string DecodeHeaderText(std::string_view raw);

// Converts text in a MIME charset to UTF-8; unknown charsets and invalid
// bytes never fail, they give a best reading. Bytes that are UTF-8 already
// are given back, not copied: a body may be most of a large mail.
std::string CharsetToUtf8(std::string bytes, std::string_view charset);

// A text made in pieces: make hands them to its argument in order, and can
// make them again.
using TextPieces = std::function<void(const std::function<void(std::string_view)>&)>;

// The same as CharsetToUtf8 for a text too large to hold in its charset
// beside its UTF-8: converted as its pieces are made. Nothing when the text
// is not one to convert this way (UTF-8 already, an unknown charset, bytes
// that are not in it), which CharsetToUtf8 then reads whole.
std::optional<std::string> ConvertedAsMade(const TextPieces& make, std::string_view charset);

// Bytes in no named charset: UTF-8 where they are that, else Windows-1252.
std::string PlainToUtf8(std::string bytes);

// CharsetToUtf8 (PlainToUtf8 for an empty charset) for a text too large to
// hold at all: it is made once here to learn how it reads, and converted in
// pieces each time the maker given back is called.
TextPieces Utf8AsMade(TextPieces make, std::string_view charset);

}  // namespace qs
