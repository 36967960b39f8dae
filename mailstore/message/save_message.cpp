#include "mailstore/message/save_message.h"

#include "mailstore/message/eml_form.h"
#include "mailstore/message/message_file.h"
#include "mailstore/message/text_forms.h"
#include "mailstore/message/whole_file.h"

namespace qs {

namespace {

FileStamp WriteForm(const MessageContent& content, const ItemFacts& facts, const std::string& path,
                    SaveType type) {
  switch (type) {
    case SaveType::Text: return WriteFileFrom(path, TextForm(content, facts));
    case SaveType::RichText: return WriteFileFrom(path, RichTextForm(content, facts));
    case SaveType::Html: return WriteFileFrom(path, HtmlForm(content, facts));
    // The store has no ANSI form to offer: both are Unicode message files.
    case SaveType::Message:
    case SaveType::MessageUnicode: return WriteMessageFile(content, facts, path);
    case SaveType::Eml: return WriteFileFrom(path, EmlForm(content, BodyAsText, facts.received_seconds));
  }
  throw MailStoreError("unknown save type " + std::to_string(static_cast<int>(type)));
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : "; ") + part;
  return text;
}

}  // namespace

// A mail with a part that could not be read is never saved as a message
// file (Outlook's or MIME), which would stand for the whole mail; its text
// forms, which hold no parts, are written, and the missing part is still
// reported.
FileStamp SaveMessageAs(const MessageContent& content, const ItemFacts& facts, const std::string& path,
                        SaveType type) {
  if (content.unreadable_parts.empty()) return WriteForm(content, facts, path, type);
  const std::string unreadable =
      "the mail has parts that cannot be read: " + Joined(content.unreadable_parts);
  if (type == SaveType::Message || type == SaveType::MessageUnicode || type == SaveType::Eml)
    throw MailStoreError(unreadable);
  WriteForm(content, facts, path, type);
  throw MailStoreError(unreadable + "; the file holds the rest");
}

}  // namespace qs
