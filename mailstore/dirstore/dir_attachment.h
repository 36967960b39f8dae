#pragma once
// One attachment of a mail file, read when the item was opened for saving.

#include <memory>

#include "mailstore/mail_store.h"
#include "mailstore/message/message_content.h"

namespace qs::dirstore {

class DirAttachment : public Attachment {
 public:
  DirAttachment(std::shared_ptr<const MessageContent> content, std::size_t index)
      : content_(std::move(content)), index_(index) {}

  // The name as the mail gives it; the save makes it safe for the file system.
  std::string FileName() override { return content_->attachments.at(index_).file_name; }
  std::optional<FileStamp> SaveAsFile(const std::string& path) override;

 private:
  std::shared_ptr<const MessageContent> content_;
  std::size_t index_;
};

}  // namespace qs::dirstore
