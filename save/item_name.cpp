#include "save/item_name.h"

#include <stdexcept>

#include "save/placeholder_format.h"
#include "save/row_texts.h"
#include "save/utf16_text.h"

namespace qs {

namespace {

constexpr std::size_t kLongestBaseName = 256;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void Clip(std::vector<std::string>& texts, std::size_t position, std::size_t length) {
  if (texts.size() >= position) {
    std::string& text = texts[position - 1];
    text = std::string(Utf16Prefix(text, length));
  }
}

}  // namespace

std::size_t ParseClipLength(const std::string& setting) {
  std::size_t begin = 0, end = setting.size();
  while (begin < end && IsBlank(setting[begin])) ++begin;
  while (end > begin && IsBlank(setting[end - 1])) --end;
  if (begin == end) throw std::invalid_argument("the clip length is empty");
  std::size_t value = 0;
  for (std::size_t i = begin; i < end; ++i) {
    const char c = setting[i];
    if (c < '0' || c > '9')
      throw std::invalid_argument("the clip length \"" + setting + "\" is not a whole number");
    // A length beyond any text keeps every text whole.
    value = value > 100000 ? value : value * 10 + static_cast<std::size_t>(c - '0');
  }
  return value;
}

std::string FormatItemName(const std::string& format, std::vector<std::string> texts,
                           const std::string& clip_address, const std::string& clip_subject) {
  if (texts.size() > kMaxRowTexts)
    throw std::invalid_argument("a list row with " + std::to_string(texts.size()) + " texts");
  const std::size_t address = ParseClipLength(clip_address);
  const std::size_t subject = ParseClipLength(clip_subject);
  Clip(texts, 2, address);
  Clip(texts, 3, subject);
  Clip(texts, 4, address);
  return FillPlaceholders(format, texts);
}

std::string CleanFileName(const std::string& name) {
  std::string clean;
  clean.reserve(name.size());
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 32) continue;
    switch (c) {
      case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
        clean += ' ';
        break;
      default:
        clean += c;
    }
  }
  return std::string(Utf16Prefix(clean, kLongestBaseName));
}

}  // namespace qs
