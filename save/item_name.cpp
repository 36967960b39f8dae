#include "save/item_name.h"

#include <stdexcept>

#include "platform/text.h"
#include "save/placeholder_format.h"

namespace qs {

namespace {

constexpr std::size_t kLongestBaseName = 256;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::size_t ParseClipLength(const std::string& setting) {
  std::size_t begin = 0, end = setting.size();
  while (begin < end && IsBlank(setting[begin])) ++begin;
  while (end > begin && IsBlank(setting[end - 1])) --end;
  std::string_view text(setting.data() + begin, end - begin);
  const auto refuse = [&setting] {
    throw std::invalid_argument("the clip length \"" + setting + "\" is not a number");
  };
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  const auto point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (whole.empty() && fraction.empty()) refuse();
  std::size_t value = 0;
  for (const std::string_view digits : {whole, fraction})
    for (char c : digits)
      if (c < '0' || c > '9') refuse();
  // A length beyond any text keeps every text whole.
  for (char c : whole)
    value = value > 100000 ? value : value * 10 + static_cast<std::size_t>(c - '0');
  // A number becomes a whole one as the runtime converts it: half to even.
  const bool above_half = fraction.find_first_not_of('0', 1) != std::string_view::npos;
  if (!fraction.empty() &&
      (fraction[0] > '5' || (fraction[0] == '5' && (above_half || value % 2 == 1))))
    ++value;
  if (negative && value > 0)
    throw std::invalid_argument("the clip length \"" + setting + "\" is negative");
  return value;
}

std::string FormatItemName(const std::string& format, const ColumnTextOf& text,
                           const std::string& clip_address, const std::string& clip_subject) {
  const std::size_t address = ParseClipLength(clip_address);
  const std::size_t subject = ParseClipLength(clip_subject);
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
