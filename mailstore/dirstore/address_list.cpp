#include "mailstore/dirstore/address_list.h"

#include <algorithm>

#include "mailstore/dirstore/header_text.h"
#include "platform/text.h"

namespace qs::dirstore {

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

// One entry of the list split into its phrase, its address in angle
// brackets and its comments, all still raw.
struct RawEntry {
  std::string phrase;
  std::string angle;
  std::string comment;
  bool has_angle = false;
  bool angle_closed = false;
};

std::string CollapseBlanks(std::string_view text) {
  // Most texts have single spaces between words once their ends are trimmed.
  text = TrimBlanks(text);
  const auto irregular = [](char c, char next) {
    return c == '\t' || c == '\r' || c == '\n' || (c == ' ' && next == ' ');
  };
  if (std::adjacent_find(text.begin(), text.end(), irregular) == text.end() &&
      (text.empty() || !IsWhite(text.back())))
    return std::string(text);
  std::string out;
  out.reserve(text.size());
  bool blank = false;
  for (char c : text) {
    if (IsWhite(c)) {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

// An address as written to be used: the blanks that the old syntax allows
// around its dots and its "@" taken out ("jdoe@test . example"), and an old
// source route dropped ("<@relay.example:mary@example.net>").
std::string CleanAddress(std::string_view raw) {
  std::string text = CollapseBlanks(raw);
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

Mailbox ToMailbox(const RawEntry& entry) {
  Mailbox mailbox;
  if (entry.has_angle) {
    mailbox.address = CleanAddress(entry.angle);
    mailbox.name = CollapseBlanks(DecodeHeaderText(entry.phrase));
  } else {
    mailbox.address = CleanAddress(entry.phrase);
    mailbox.name = CollapseBlanks(DecodeHeaderText(entry.comment));
  }
  return mailbox;
}

}  // namespace

std::vector<Mailbox> ParseAddressList(std::string_view raw) {
  std::vector<Mailbox> mailboxes;
  RawEntry entry;
  auto finish = [&] {
    if (!IsBlank(entry.phrase) || !IsBlank(entry.angle)) {
      Mailbox mailbox = ToMailbox(entry);
      if (!mailbox.address.empty() || !mailbox.name.empty()) mailboxes.push_back(std::move(mailbox));
    }
    entry = RawEntry{};
  };
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    const bool in_angle = entry.has_angle && !entry.angle_closed;
    std::string& target = in_angle ? entry.angle : entry.phrase;
    if (c == '"') {
      // A quoted string: its content belongs to the phrase, unescaped.
      for (++i; i < raw.size() && raw[i] != '"'; ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size()) ++i;
        target += raw[i];
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
      target += ' ';
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
      target.append(raw.substr(i, end - i));
      i = end - 1;
    }
  }
  finish();
  return mailboxes;
}

std::string RecipientNames(const std::vector<Mailbox>& mailboxes) {
  std::string out;
  for (const Mailbox& mailbox : mailboxes) {
    if (!out.empty()) out += "; ";
    out += mailbox.name.empty() ? mailbox.address : mailbox.name;
  }
  return out;
}

}  // namespace qs::dirstore
