#include "mailstore/mime/address_list.h"

#include <algorithm>
#include <functional>

#include "mailstore/mime/header_text.h"
#include "platform/text.h"

namespace qs {

namespace {

// The characters that end a run of plain characters in an address list.
bool IsSpecial(char c) {
  switch (c) {
    case '"': case '(': case '<': case '>': case ',': case ':': case ';': return true;
    default: return false;
  }
}

bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsBlank(std::string_view text) { return std::all_of(text.begin(), text.end(), IsWhite); }

// A raw part of an entry. Most are one run of the list's own bytes and are
// kept as a view of them; a part pieced together from several is copied.
class RawPart {
 public:
  // piece: a view into the list, or a text of its own.
  void Append(std::string_view piece) {
    if (owned_) {
      copy_.append(piece);
    } else if (view_.empty() || view_.data() + view_.size() == piece.data()) {
      view_ = view_.empty() ? piece : std::string_view(view_.data(), view_.size() + piece.size());
    } else {
      copy_.assign(view_).append(piece);
      owned_ = true;
    }
  }
  std::string_view Text() const { return owned_ ? std::string_view(copy_) : view_; }

 private:
  std::string_view view_;
  std::string copy_;
  bool owned_ = false;
};

// One entry of the list split into its phrase, its address in angle
// brackets and its comments, all still raw.
struct RawEntry {
  RawPart phrase;
  RawPart angle;
  std::string comment;
  bool has_angle = false;
  bool angle_closed = false;
};

// Takes the blanks off both ends of the text and makes each run of blanks
// between its words one space, in place.
void CollapseBlanks(std::string& text) {
  std::size_t kept = 0;
  bool blank = false;
  for (const char c : text) {
    if (IsWhite(c)) {
      blank = kept > 0;
      continue;
    }
    if (blank) text[kept++] = ' ';
    blank = false;
    text[kept++] = c;
  }
  text.resize(kept);
}

// An address as written to be used: the blanks that the old syntax allows
// around its dots and its "@" taken out ("jdoe@test . example"), and an old
// source route dropped ("<@relay.example:mary@example.net>").
std::string CleanAddress(std::string_view raw) {
  std::string text(raw);
  CollapseBlanks(text);
  if (!text.empty() && text.front() == '@')
    if (const auto colon = text.find(':'); colon != std::string::npos) text.erase(0, colon + 1);
  if (text.find(' ') == std::string::npos) return text;
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool joins = i > 0 && i + 1 < text.size() &&
                       (text[i - 1] == '.' || text[i - 1] == '@' || text[i + 1] == '.' ||
                        text[i + 1] == '@');
    if (text[i] == ' ' && joins) continue;
    out += text[i];
  }
  return out;
}

// An entry's parts as a mailbox's, each made only when asked; an entry
// whose address and name are both empty is no mailbox.
std::string AddressOf(const RawEntry& entry) {
  return CleanAddress(entry.has_angle ? entry.angle.Text() : entry.phrase.Text());
}

std::string NameOf(const RawEntry& entry) {
  std::string name = DecodeHeaderText(entry.has_angle ? entry.phrase.Text() : entry.comment);
  CollapseBlanks(name);
  return name;
}

// Calls take for each entry of the list that is not blank, in order.
void ForEachEntry(std::string_view raw, const std::function<void(const RawEntry&)>& take) {
  RawEntry entry;
  auto finish = [&] {
    if (!IsBlank(entry.phrase.Text()) || !IsBlank(entry.angle.Text())) take(entry);
    entry = RawEntry{};
  };
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    const bool in_angle = entry.has_angle && !entry.angle_closed;
    RawPart& target = in_angle ? entry.angle : entry.phrase;
    if (c == '"') {
      // A quoted string: its content belongs to the phrase, unescaped.
      for (++i; i < raw.size() && raw[i] != '"'; ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size()) ++i;
        target.Append(raw.substr(i, 1));
      }
    } else if (c == '(') {
      int depth = 1;
      std::string comment;
      for (++i; i < raw.size() && depth > 0; ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size()) {
          comment += raw[++i];
          continue;
        }
        if (raw[i] == '(') ++depth;
        if (raw[i] == ')' && --depth == 0) break;
        comment += raw[i];
      }
      if (entry.comment.empty()) entry.comment = comment;
      target.Append(" ");
    } else if (c == '<' && !entry.has_angle) {
      entry.has_angle = true;
    } else if (c == '>' && in_angle) {
      entry.angle_closed = true;
    } else if (c == ',' && !in_angle) {
      finish();
    } else if (c == ':' && !entry.has_angle) {
      entry = RawEntry{};  // a group's name
    } else if (c == ';' && !in_angle) {
      finish();
    } else {
      // A run of plain characters at once.
      std::size_t end = i + 1;
      while (end < raw.size() && !IsSpecial(raw[end])) ++end;
      target.Append(raw.substr(i, end - i));
      i = end - 1;
    }
  }
  finish();
}

}  // namespace

std::vector<Mailbox> ParseAddressList(std::string_view raw) {
  std::vector<Mailbox> mailboxes;
  ForEachEntry(raw, [&mailboxes](const RawEntry& entry) {
    Mailbox mailbox{NameOf(entry), AddressOf(entry)};
    if (!mailbox.address.empty() || !mailbox.name.empty()) mailboxes.push_back(std::move(mailbox));
  });
  return mailboxes;
}

std::string FirstAddress(std::string_view raw) {
  std::string first;
  bool found = false;
  ForEachEntry(raw, [&](const RawEntry& entry) {
    if (found) return;
    first = AddressOf(entry);
    found = !first.empty() || !NameOf(entry).empty();
  });
  return first;
}

std::string RecipientNames(std::string_view raw) {
  std::string out;
  ForEachEntry(raw, [&out](const RawEntry& entry) {
    std::string shown = NameOf(entry);
    if (shown.empty()) shown = AddressOf(entry);
    if (shown.empty()) return;
    if (!out.empty()) out += "; ";
    out += shown;
  });
  return out;
}

}  // namespace qs
