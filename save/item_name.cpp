#include "save/item_name.h"

#include <limits>
#include <stdexcept>

#include "platform/text.h"
#include "save/placeholder_format.h"

namespace qs {

namespace {

constexpr std::size_t kLongestBaseName = 256;

}  // namespace

std::size_t ParseClipLength(const std::string& setting) {
  const std::string_view text = TrimBlanks(setting);
  const RoundedNumber read = ReadRoundedNumber(text);
  if (read.length == 0 || read.length != text.size())
    throw std::invalid_argument("the clip length \"" + setting + "\" is not a number");
  if (read.whole < 0)
    throw std::invalid_argument("the clip length \"" + setting + "\" is negative");
  // A length beyond any text keeps every text whole.
  constexpr std::size_t kWhole = std::numeric_limits<std::size_t>::max();
  return read.whole >= static_cast<double>(kWhole) ? kWhole : static_cast<std::size_t>(read.whole);
}

ClipLengths ReadClipLengths(const std::string& clip_address, const std::string& clip_subject) {
  ClipLengths clips;
  try {
    clips.address = ParseClipLength(clip_address);
    clips.subject = ParseClipLength(clip_subject);
  } catch (const std::invalid_argument& error) {
    clips.invalid = error.what();
  }
  return clips;
}

std::string FormatItemName(const std::string& format, const ColumnTextOf& text, const ClipLengths& clips) {
  if (!clips.invalid.empty()) throw std::invalid_argument(clips.invalid);
  const std::size_t address = clips.address;
  const std::size_t subject = clips.subject;
  return FillPlaceholders(format, kFoundColumns.size(), [&](std::size_t placeholder) {
    std::size_t k = 0;
    while (static_cast<std::size_t>(kFoundColumns[k].placeholder) != placeholder) ++k;
    std::string column = text(k);
    switch (kFoundColumns[k].clip) {
      case NameClip::Address: column.resize(Utf16Prefix(column, address).size()); break;
      case NameClip::Subject: column.resize(Utf16Prefix(column, subject).size()); break;
      case NameClip::Whole: break;
    }
    return column;
  });
}

std::string CleanFileName(const std::string& name) {
  std::string clean(name.size(), '\0');
  std::size_t kept = 0;
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 32) continue;
    switch (c) {
      case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
        clean[kept++] = ' ';
        break;
      default:
        clean[kept++] = c;
    }
  }
  clean.resize(Utf16Prefix(std::string_view(clean.data(), kept), kLongestBaseName).size());
  return clean;
}

}  // namespace qs
