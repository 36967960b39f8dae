#pragma once

#include <memory>
#include <optional>
#include <string>

#include "mailstore/mail_store.h"
#include "mailstore/message/message_content.h"
#include "mailstore/message/picture_links.h"
#include "mailstore/pststore/data_file.h"
#include "mailstore/pststore/item_summary.h"

namespace qs::pststore {

// A message of a data file. Its properties are read when the first is
// asked; its content when something of it is first saved.
class PstItem : public MailItem {
 public:
  // message: null for one libpff could not open, which throws
  // ItemUnreadable when asked anything. parent: the folder that holds it,
  // when the walk that found it knows; else listed_folder, the path of the
  // folder a search listed it in, if any, is where Parent looks first.
  PstItem(std::shared_ptr<const DataFile> file, std::string store_name,
          std::shared_ptr<SharedItem> message, std::uint32_t identifier,
          std::optional<FolderPlace> parent, std::string listed_folder = {});

  int Class() override { return Summary().item_class; }
  DateTime SentOn() override { return Summary().sent_on; }
  DateTime ReceivedTime() override { return Summary().received; }
  DateTime CreationTime() override { return Summary().created; }
  bool Sent() override { return Summary().sent; }
  std::string SenderEmailAddress() override { return Summary().sender_address; }
  std::string To() override { return Summary().to; }
  std::string Subject() override { return Summary().subject; }
  EntryId EntryID() override;
  DateTime LastModificationTime() override { return Stamp().modified; }
  std::int64_t Size() override { return Stamp().size; }
  std::unique_ptr<Folder> Parent() override;
  std::optional<FileStamp> SaveAs(const std::string& path, SaveType type) override;
  std::optional<FileStamp> SaveLinkedPageAs(const std::string& path, const std::vector<PageLink>& saved) override;
  std::int32_t AttachmentCount() override;
  std::unique_ptr<Attachment> AttachmentAt(std::int32_t position) override;

 private:
  std::optional<FileStamp> SaveWithLinks(const std::string& path, SaveType type, const PictureLinks* links);
  const ItemSummary& Summary();
  // Read apart from the summary: only a save asks them.
  struct ItemStamp {
    DateTime modified;
    std::int64_t size;
  };
  const ItemStamp& Stamp();
  const std::shared_ptr<const MessageContent>& Content();
  const SharedItem& Message() const;

  std::shared_ptr<const DataFile> file_;
  std::string store_name_;
  std::shared_ptr<SharedItem> message_;
  std::uint32_t identifier_;
  std::optional<FolderPlace> parent_;
  std::string listed_folder_;
  std::optional<ItemSummary> summary_;
  std::optional<ItemStamp> stamp_;
  std::shared_ptr<const MessageContent> content_;
};

}  // namespace qs::pststore
