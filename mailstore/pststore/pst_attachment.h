#pragma once
// One attachment of a message of a data file.

#include <memory>

#include "mailstore/mail_store.h"
#include "mailstore/message/item_facts.h"
#include "mailstore/message/message_content.h"

namespace qs::pststore {

class PstAttachment : public Attachment {
 public:
  PstAttachment(std::shared_ptr<const MessageContent> content, std::size_t index,
                ItemFacts facts)
      : content_(std::move(content)), index_(index), facts_(std::move(facts)) {}

  std::string FileName() override { return content_->attachments.at(index_).file_name; }
  // An attached message is written as a message file of its own.
  std::optional<FileStamp> SaveAsFile(const std::string& path) override;

 private:
  std::shared_ptr<const MessageContent> content_;
  std::size_t index_;
  ItemFacts facts_;
};

}  // namespace qs::pststore
