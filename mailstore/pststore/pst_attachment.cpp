#include "mailstore/pststore/pst_attachment.h"

#include "mailstore/mail_store.h"
#include "mailstore/message/message_file.h"
#include "mailstore/message/whole_file.h"

namespace qs::pststore {

std::optional<FileStamp> PstAttachment::SaveAsFile(const std::string& path) {
  const MessageAttachment& attachment = content_->attachments.at(index_);
  if (attachment.message) {
    if (!attachment.message->unreadable_parts.empty())
      throw MailStoreError("the attached message is not saved without its unreadable parts");
    ItemFacts inner = facts_;
    inner.sent = true;
    inner.received_seconds = attachment.message->received;
    return WriteMessageFile(*attachment.message, inner, path);
  }
  return WriteFileFrom(path, *attachment.data);
}

}  // namespace qs::pststore
