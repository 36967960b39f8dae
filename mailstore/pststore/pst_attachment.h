#pragma once
// One attachment of a message of a data file.

#include <memory>

#include "mailstore/dirstore/saveas/item_facts.h"
#include "mailstore/dirstore/saveas/message_content.h"
#include "mailstore/mail_store.h"

namespace qs::pststore {

class PstAttachment : public Attachment {
 public:
  PstAttachment(std::shared_ptr<const dirstore::MessageContent> content, std::size_t index,
                dirstore::ItemFacts facts)
      : content_(std::move(content)), index_(index), facts_(std::move(facts)) {}

  std::string FileName() override { return content_->attachments.at(index_).file_name; }
  // An attached message is written as a message file of its own.
  std::optional<FileStamp> SaveAsFile(const std::string& path) override;

 private:
  std::shared_ptr<const dirstore::MessageContent> content_;
  std::size_t index_;
  dirstore::ItemFacts facts_;
};

}  // namespace qs::pststore
