#include "mailstore/message/eml_header.h"

#include <array>
#include <cstdio>

#include "mailstore/date_time.h"
#include "mailstore/encodings/base64_encoder.h"
#include "platform/text.h"

namespace qs::eml {

namespace {

constexpr std::size_t kFoldAt = 78;
// Longer words are encoded, so that no line comes near 998 octets.
constexpr std::size_t kLongestWord = 76;
constexpr std::size_t kLongestQuoted = 900;
// Base64 of 45 bytes is 60 characters: with "=?UTF-8?B?" and "?=", 72.
constexpr std::size_t kEncodedWordBytes = 45;
constexpr std::size_t kParameterSection = 60;

// A header field made word by word, folded before a blank where the line
// would grow past 78 characters.
class FieldLine {
 public:
  explicit FieldLine(std::string_view name) : text_(std::string(name) + ":"), column_(text_.size()) {}

  // A word after a blank, where the line may fold.
  void Word(std::string_view word) {
    if (!word.empty() && words_on_line_ > 0 && column_ + 1 + word.size() > kFoldAt) {
      text_ += "\r\n ";
      column_ = 1;
      words_on_line_ = 0;
    } else {
      text_ += ' ';
      ++column_;
    }
    Glue(word);
  }
  // A word right after the last one.
  void Glue(std::string_view word) {
    text_ += word;
    column_ += word.size();
    ++words_on_line_;
  }
  std::string Done() { return text_ + "\r\n"; }

 private:
  std::string text_;
  std::size_t column_;
  std::size_t words_on_line_ = 0;
};

bool Printable(unsigned char c) { return c >= 0x21 && c <= 0x7E; }

bool AllBytes(std::string_view text, bool (*allowed)(unsigned char)) {
  for (const char c : text)
    if (!allowed(static_cast<unsigned char>(c))) return false;
  return true;
}

bool AtomOrBlank(unsigned char c) {
  constexpr std::string_view kAtomSpecials = "!#$%&'*+-/=?^_`{|}~";
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == ' ' ||
         kAtomSpecials.find(static_cast<char>(c)) != std::string_view::npos;
}

bool PrintableOrBlank(unsigned char c) { return c == ' ' || Printable(c); }

// The text with every control character (line breaks among them) a blank.
std::string OnOneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return line;
}

std::string Base64Of(std::string_view bytes) {
  std::string out;
  const ByteSink sink = [&out](std::string_view piece) { out += piece; };
  Base64Lines lines(sink);
  lines.Write(bytes);
  lines.Finish();
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

// The text as encoded words, cut between code points.
std::vector<std::string> EncodedWords(std::string_view text) {
  std::vector<std::string> words;
  while (!text.empty()) {
    std::size_t take = 0;
    while (take < text.size()) {
      const std::size_t next = CodePointBytes(text.substr(take));
      if (take > 0 && take + next > kEncodedWordBytes) break;
      take += next;
    }
    words.push_back("=?UTF-8?B?" + Base64Of(text.substr(0, take)) + "?=");
    text.remove_prefix(take);
  }
  return words;
}

std::vector<std::string_view> SplitAtBlanks(std::string_view text) {
  std::vector<std::string_view> words;
  for (std::size_t start = 0;;) {
    const std::size_t blank = text.find(' ', start);
    words.push_back(text.substr(start, blank == std::string_view::npos ? std::string_view::npos : blank - start));
    if (blank == std::string_view::npos) return words;
    start = blank + 1;
  }
}

// A word a reader takes as it stands: it could not be read as an encoded word.
bool PlainWord(std::string_view word) {
  return word.size() <= kLongestWord && AllBytes(word, Printable) && word.find("=?") == std::string_view::npos;
}

// A display name: atoms, else one quoted string, else encoded words. True
// for encoded words, which readers want a blank after.
bool AddPhrase(FieldLine& line, std::string_view name) {
  const std::string text = OnOneLine(name);
  if (AllBytes(text, AtomOrBlank) && text.find("=?") == std::string::npos) {
    bool plain = true;
    for (std::string_view word : SplitAtBlanks(text)) plain = plain && word.size() <= kLongestWord;
    if (plain) {
      for (std::string_view word : SplitAtBlanks(text))
        if (!word.empty()) line.Word(word);
      return false;
    }
  }
  if (AllBytes(text, PrintableOrBlank) && text.size() <= kLongestQuoted &&
      text.find("=?") == std::string::npos) {
    std::string quoted = "\"";
    for (const char c : text) {
      if (c == '"' || c == '\\') quoted += '\\';
      quoted += c;
    }
    line.Word(quoted + "\"");
    return false;
  }
  for (const std::string& word : EncodedWords(text)) line.Word(word);
  return true;
}

bool AddressByte(unsigned char c) {
  return Printable(c) && std::string_view("<>(),;:\"[]\\").find(static_cast<char>(c)) == std::string_view::npos;
}

// An address other programs can send to: local part, "@", domain.
bool IsInternetAddress(std::string_view address) {
  const std::size_t at = address.rfind('@');
  return at != std::string_view::npos && at > 0 && at + 1 < address.size() &&
         address.size() <= kLongestWord * 3 && AllBytes(address, AddressByte);
}

bool AttributeByte(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         std::string_view("!#$&+-.^_`|~").find(static_cast<char>(c)) != std::string_view::npos;
}

void AddParameter(FieldLine& line, const std::string& attribute, std::string_view value) {
  line.Glue(";");
  if (AllBytes(value, PrintableOrBlank) && value.size() <= kParameterSection) {
    std::string quoted = attribute + "=\"";
    for (const char c : value) {
      if (c == '"' || c == '\\') quoted += '\\';
      quoted += c;
    }
    line.Word(quoted + "\"");
    return;
  }
  // Percent-encoded UTF-8, in sections that never cut an escape.
  std::vector<std::string> sections(1, "UTF-8''");
  for (const char c : value) {
    std::string piece;
    if (AttributeByte(static_cast<unsigned char>(c))) piece = c;
    else AppendPercentEscape(piece, c);
    if (sections.back().size() + piece.size() > kParameterSection) sections.emplace_back();
    sections.back() += piece;
  }
  if (sections.size() == 1) return line.Word(attribute + "*=" + sections[0]);
  for (std::size_t i = 0; i < sections.size(); ++i) {
    if (i > 0) line.Glue(";");
    line.Word(attribute + "*" + std::to_string(i) + "*=" + sections[i]);
  }
}

}  // namespace

std::string UnstructuredField(std::string_view name, std::string_view text) {
  FieldLine line(name);
  std::string run;  // words to be encoded together, blanks and all
  bool in_run = false;
  const auto end_run = [&] {
    if (in_run)
      for (const std::string& word : EncodedWords(run)) line.Word(word);
    run.clear();
    in_run = false;
  };
  // Blanks between two encoded words are dropped by readers: words that
  // need encoding are encoded with the blanks between them.
  const std::string one_line = OnOneLine(text);
  for (std::string_view word : SplitAtBlanks(one_line)) {
    if (PlainWord(word) && !(in_run && word.empty())) {
      end_run();
      line.Word(word);
    } else {
      if (in_run) run += ' ';
      run += word;
      in_run = true;
    }
  }
  end_run();
  return line.Done();
}

std::string AddressField(std::string_view name, const std::vector<Mailbox>& mailboxes) {
  FieldLine line(name);
  bool any = false;
  for (const Mailbox& mailbox : mailboxes) {
    const bool addressed = IsInternetAddress(mailbox.address);
    const std::string shown = mailbox.name.empty() ? mailbox.address : mailbox.name;
    if (!addressed && TrimBlanks(OnOneLine(shown)).empty()) continue;
    if (any) line.Glue(",");
    any = true;
    if (!addressed) {
      if (AddPhrase(line, shown))
        line.Word(":;");
      else
        line.Glue(":;");
    } else if (TrimBlanks(OnOneLine(mailbox.name)).empty()) {
      line.Word(mailbox.address);
    } else {
      AddPhrase(line, mailbox.name);
      line.Word("<" + mailbox.address + ">");
    }
  }
  return any ? line.Done() : std::string();
}

bool IsPlainId(std::string_view id) {
  return !id.empty() && id.size() <= kLongestQuoted &&
         AllBytes(id, [](unsigned char c) { return Printable(c) && c != '<' && c != '>' && c != '"'; });
}

std::string MessageIdField(std::string_view name, std::string_view id) {
  if (!IsPlainId(id)) return {};
  FieldLine line(name);
  line.Word("<" + std::string(id) + ">");
  return line.Done();
}

std::string DateText(long long seconds) {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const CivilTime civil = ToCivil(DateTime(std::chrono::seconds(seconds)));
  std::array<char, 64> text{};
  std::snprintf(text.data(), text.size(), "%s, %u %s %d %02d:%02d:%02d +0000", kDays[civil.weekday % 7],
                civil.day, kMonths[(civil.month + 11) % 12], civil.year, civil.hour, civil.minute,
                civil.second);
  return text.data();
}

std::string ParameterField(std::string_view name, std::string_view value, const Parameters& parameters) {
  FieldLine line(name);
  line.Word(value);
  for (const auto& [attribute, text] : parameters) AddParameter(line, attribute, text);
  return line.Done();
}

}  // namespace qs::eml
