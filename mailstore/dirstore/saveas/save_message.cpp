#include "mailstore/dirstore/saveas/save_message.h"

#include "mailstore/dirstore/saveas/message_file.h"
#include "mailstore/dirstore/saveas/text_forms.h"
#include "mailstore/dirstore/saveas/whole_file.h"

namespace qs::dirstore {

FileStamp SaveMessageAs(const MessageContent& content, const ItemFacts& facts, const std::string& path,
                        SaveType type) {
  switch (type) {
    case SaveType::Text: return WriteFileFrom(path, TextForm(content, facts));
    case SaveType::RichText: return WriteFileFrom(path, RichTextForm(content, facts));
    case SaveType::Html: return WriteFileFrom(path, HtmlForm(content, facts));
    // The store has no ANSI form to offer: both are Unicode message files.
    case SaveType::Message:
    case SaveType::MessageUnicode: return WriteMessageFile(content, facts, path);
  }
  throw MailStoreError("unknown save type " + std::to_string(static_cast<int>(type)));
}

}  // namespace qs::dirstore
