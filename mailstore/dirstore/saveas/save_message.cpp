#include "mailstore/dirstore/saveas/save_message.h"

#include "mailstore/dirstore/saveas/text_forms.h"
#include "mailstore/dirstore/saveas/whole_file.h"

namespace qs::dirstore {

void SaveMessageAs(const MessageContent& content, const ItemFacts& facts, const std::string& path,
                   SaveType type) {
  switch (type) {
    case SaveType::Text: return WriteWholeFile(path, TextForm(content, facts));
    case SaveType::RichText: return WriteWholeFile(path, RichTextForm(content, facts));
    case SaveType::Html: return WriteWholeFile(path, HtmlForm(content, facts));
    case SaveType::Message:
    case SaveType::MessageUnicode: break;
  }
  throw MailStoreError("Outlook message files are not available in the directory mail store yet.");
}

}  // namespace qs::dirstore
