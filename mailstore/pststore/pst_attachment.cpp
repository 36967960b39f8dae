#include "mailstore/pststore/pst_attachment.h"

#include "mailstore/dirstore/saveas/message_file.h"
#include "mailstore/mail_store.h"
#include "mailstore/dirstore/saveas/whole_file.h"

namespace qs::pststore {

std::optional<FileStamp> PstAttachment::SaveAsFile(const std::string& path) {
  const dirstore::MessageAttachment& attachment = content_->attachments.at(index_);
  if (attachment.message) {
    if (!attachment.message->unreadable_parts.empty())
      throw MailStoreError("the attached message is not saved without its unreadable parts");
    dirstore::ItemFacts inner = facts_;
    inner.sent = true;
    inner.received = attachment.message->received;
    return dirstore::WriteMessageFile(*attachment.message, inner, path);
  }
  return dirstore::WriteFileFrom(path, *attachment.data);
}

}  // namespace qs::pststore
