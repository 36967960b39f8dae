#include "mailstore/properties/rtf_text.h"

#include <array>
#include <utility>
#include <vector>

#include "mailstore/properties/code_page.h"
#include "platform/text.h"

namespace qs {

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Destinations whose text is not part of the body.
constexpr std::array<std::string_view, 22> kSkippedDestinations{
    "fonttbl",  "colortbl",   "stylesheet", "info",      "pict",        "object",
    "header",   "footer",     "headerl",    "headerr",   "footerl",     "footerr",
    "fldinst",  "listtable",  "listoverridetable",       "rsidtbl",     "generator",
    "xmlnstbl", "themedata",  "datastore",  "latentstyles",             "filetbl"};

struct Group {
  bool skip = false;       // text of a destination that is not the body
  bool html_tag = false;   // inside \*\htmltag: HTML, even where RTF is suppressed
  bool suppressed = false;  // \htmlrtf: RTF added for the look only
  int unicode_skip = 1;    // \uc: fallback characters after each \u
  bool ignorable = false;  // after \*: an unknown destination is skipped
};

struct Word {
  std::string_view name;
  bool has_parameter = false;
  long parameter = 0;
};

class Reader {
 public:
  Reader(std::string_view rtf, std::uint32_t code_page) : rtf_(rtf), code_page_(code_page) {}

  RtfText Read() {
    groups_.emplace_back();
    while (at_ < rtf_.size()) {
      const char c = rtf_[at_++];
      if (c == '{') {
        groups_.push_back(groups_.back());
        groups_.back().ignorable = false;
      } else if (c == '}') {
        if (groups_.size() > 1) groups_.pop_back();
      } else if (c == '\\') {
        Control();
      } else if (c != '\r' && c != '\n') {
        Byte(c);
      }
    }
    Flush();
    return RtfText{html_ ? RtfText::Kind::Html : RtfText::Kind::Text, std::move(out_)};
  }

 private:
  Group& Current() { return groups_.back(); }

  bool Shown() {
    const Group& group = Current();
    if (group.skip) return false;
    return group.html_tag || !group.suppressed;
  }

  // A character of the body: \u's fallback characters are passed over.
  bool TakesCharacter() {
    if (pending_skip_ > 0) {
      --pending_skip_;
      return false;
    }
    return Shown();
  }

  void Byte(char c) {
    if (TakesCharacter()) bytes_ += c;
  }

  void Flush() {
    if (bytes_.empty()) return;
    out_ += CodePageToUtf8(bytes_, code_page_ ? code_page_ : kWindows1252);
    bytes_.clear();
  }

  void Text(std::string_view text) {
    if (!Shown()) return;
    Flush();
    out_ += text;
  }

  void CodePoint(char32_t c) {
    if (!Shown()) return;
    Flush();
    if (c >= 0xD800 && c < 0xDC00) {
      high_surrogate_ = c;
      return;
    }
    if (c >= 0xDC00 && c < 0xE000 && high_surrogate_) {
      c = 0x10000 + ((high_surrogate_ - 0xD800) << 10) + (c - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    high_surrogate_ = 0;
    AppendUtf8(out_, c);
  }

  Word ReadWord() {
    Word word;
    const std::size_t start = at_;
    while (at_ < rtf_.size() && IsLetter(rtf_[at_]) && at_ - start < 32) ++at_;
    word.name = rtf_.substr(start, at_ - start);
    const bool negative = at_ < rtf_.size() && rtf_[at_] == '-';
    const std::size_t digits = at_ + (negative ? 1 : 0);
    std::size_t end = digits;
    while (end < rtf_.size() && IsDigit(rtf_[end])) {
      if (end - digits < 10) word.parameter = word.parameter * 10 + (rtf_[end] - '0');
      ++end;
    }
    if (end > digits) {
      word.has_parameter = true;
      if (negative) word.parameter = -word.parameter;
      at_ = end;
    }
    if (at_ < rtf_.size() && rtf_[at_] == ' ') ++at_;
    return word;
  }

  void Control() {
    if (at_ >= rtf_.size()) return;
    const char c = rtf_[at_];
    if (!IsLetter(c)) {
      ++at_;
      Symbol(c);
      return;
    }
    const bool first_in_group = AtGroupStart();
    const Word word = ReadWord();
    WordControl(word, first_in_group);
  }

  // Whether the control word just read began its group (after "{" or "{\*").
  bool AtGroupStart() const {
    std::size_t before = at_ - 1;  // the backslash
    if (before >= 2 && rtf_.substr(before - 2, 2) == "\\*") before -= 2;
    while (before > 0 && (rtf_[before - 1] == '\r' || rtf_[before - 1] == '\n')) --before;
    return before > 0 && rtf_[before - 1] == '{';
  }

  void Symbol(char c) {
    switch (c) {
      case '\'': {
        const std::optional<char> byte = HexByte(rtf_.substr(at_));
        if (!byte) return;
        at_ += 2;
        Byte(*byte);
        return;
      }
      case '*': Current().ignorable = true; return;
      case '~': return Emit(0xA0);
      case '_': return Emit(0x2011);
      case '\r':
      case '\n': return Emit(U'\n');
      case '\\':
      case '{':
      case '}': return Byte(c);
      default: return;
    }
  }

  void WordControl(const Word& word, bool first_in_group) {
    const std::string_view name = word.name;
    Group& group = Current();
    if (name == "fromhtml") {
      html_ = word.parameter == 1 || !word.has_parameter;
    } else if (name == "ansicpg" && word.has_parameter && word.parameter > 0) {
      Flush();
      code_page_ = static_cast<std::uint32_t>(word.parameter);
    } else if (name == "htmlrtf") {
      group.suppressed = !word.has_parameter || word.parameter != 0;
    } else if (name == "htmltag" && first_in_group) {
      group.html_tag = true;
      group.skip = group.skip || !html_;
    } else if (name == "uc" && word.has_parameter) {
      group.unicode_skip = word.parameter < 0 || word.parameter > 8 ? 1 : static_cast<int>(word.parameter);
    } else if (name == "u" && word.has_parameter) {
      if (pending_skip_ > 0) {
        --pending_skip_;
        return;
      }
      CodePoint(static_cast<char32_t>(static_cast<std::uint16_t>(word.parameter)));
      pending_skip_ = group.unicode_skip;
    } else if (name == "bin" && word.has_parameter) {
      const auto skipped = static_cast<std::size_t>(word.parameter < 0 ? 0 : word.parameter);
      at_ = skipped > rtf_.size() - at_ ? rtf_.size() : at_ + skipped;
    } else if (first_in_group && IsSkipped(name, group.ignorable)) {
      group.skip = true;
    } else {
      Character(name);
    }
  }

  // A word that stands for a character; any other neither is nor replaces one.
  void Character(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, char32_t>, 12> kCharacters{{
        {"par", U'\n'}, {"line", U'\n'}, {"row", U'\n'}, {"tab", U'\t'}, {"cell", U'\t'},
        {"emdash", 0x2014}, {"endash", 0x2013}, {"bullet", 0x2022}, {"lquote", 0x2018},
        {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D}}};
    for (const auto& [word, character] : kCharacters)
      if (name == word) return Emit(character);
  }

  void Emit(char32_t character) {
    if (!TakesCharacter()) return;
    if (character == U'\n')
      Text("\r\n");
    else
      CodePoint(character);
  }

  static bool IsSkipped(std::string_view name, bool ignorable) {
    for (const std::string_view skipped : kSkippedDestinations)
      if (name == skipped) return true;
    // An unknown destination marked ignorable; the HTML of a wrapped body
    // is read from \htmltag, its rewritten twin \mhtmltag is not.
    return ignorable && name != "htmltag";
  }

  std::string_view rtf_;
  std::size_t at_ = 0;
  std::uint32_t code_page_;
  bool html_ = false;
  std::vector<Group> groups_;
  std::string bytes_;
  std::string out_;
  int pending_skip_ = 0;
  char32_t high_surrogate_ = 0;
};

}  // namespace

RtfText ReadRtfText(std::string_view rtf, std::uint32_t fallback_code_page) {
  return Reader(rtf, fallback_code_page).Read();
}

}  // namespace qs
