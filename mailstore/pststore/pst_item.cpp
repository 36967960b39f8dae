#include "mailstore/pststore/pst_item.h"

#include <memory>
#include <new>

#include "mailstore/message/property_ids.h"
#include "mailstore/message/save_message.h"
#include "mailstore/mime/message_summary.h"
#include "mailstore/properties/message_reader.h"
#include "mailstore/pststore/pff_bags.h"
#include "mailstore/properties/property_values.h"
#include "mailstore/pststore/pst_attachment.h"
#include "mailstore/pststore/pst_folder.h"

namespace qs::pststore {

PstItem::PstItem(std::shared_ptr<const DataFile> file, std::string store_name,
                 std::shared_ptr<SharedItem> message, std::uint32_t identifier,
                 std::optional<FolderPlace> parent, std::string listed_folder)
    : file_(std::move(file)),
      store_name_(std::move(store_name)),
      message_(std::move(message)),
      identifier_(identifier),
      parent_(std::move(parent)),
      listed_folder_(std::move(listed_folder)) {}

const SharedItem& PstItem::Message() const {
  if (!message_) throw ItemUnreadable("the item cannot be opened in " + file_->Path());
  return *message_;
}

const ItemSummary& PstItem::Summary() {
  if (!summary_) summary_ = Summarize(PffItemBag(Message()), file_->Decoding());
  return *summary_;
}

const PstItem::ItemStamp& PstItem::Stamp() {
  if (!stamp_) {
    const PffItemBag bag(Message());
    const std::optional<long long> modified = TimeOf(bag, kLastModificationTime);
    stamp_ = ItemStamp{modified ? LocalTimeOf(*modified) : NoDate(),
                       Int32Of(bag, kMessageSize).value_or(0)};
  }
  return *stamp_;
}

EntryId PstItem::EntryID() {
  Message();
  return EncodeEntryId({file_->Key(), identifier_});
}

std::unique_ptr<Folder> PstItem::Parent() {
  if (!parent_) parent_ = file_->FolderOf(identifier_, store_name_, listed_folder_);
  if (!parent_) throw MailStoreError("no folder of " + file_->Path() + " holds the item");
  auto folder = file_->Item(parent_->identifier);
  if (!folder) throw MailStoreError("the folder of the item is gone from " + file_->Path());
  return std::make_unique<PstFolder>(file_, parent_->names, std::move(folder));
}

const std::shared_ptr<const MessageContent>& PstItem::Content() {
  if (!content_) {
    try {
      Message();
      content_ = std::make_shared<const MessageContent>(
          ReadMessage(*PffMessageBag(message_), file_->Decoding()));
    } catch (const std::bad_alloc&) {
      throw MailStoreError("there is not enough memory to read an item of " + file_->Path());
    }
  }
  return content_;
}

std::optional<FileStamp> PstItem::SaveAs(const std::string& path, SaveType type) {
  return SaveWithLinks(path, type, nullptr);
}

std::optional<FileStamp> PstItem::SaveLinkedPageAs(const std::string& path, const std::vector<PageLink>& saved) {
  const PictureLinks links = PictureLinksOf(*Content(), saved);
  return SaveWithLinks(path, SaveType::Html, &links);
}

std::optional<FileStamp> PstItem::SaveWithLinks(const std::string& path, SaveType type, const PictureLinks* links) {
  const ItemFacts facts{.sent_on = SentOn(),
                        .sent = Sent(),
                        .received_seconds = Summary().received_seconds,
                        .locale = file_->Locale(),
                        .picture_links = links};
  try {
    return SaveMessageAs(*Content(), facts, path, type);
  } catch (const std::bad_alloc&) {
    throw MailStoreError("there is not enough memory to save an item of " + file_->Path());
  }
}

std::int32_t PstItem::AttachmentCount() {
  return static_cast<std::int32_t>(Content()->attachments.size());
}

std::unique_ptr<Attachment> PstItem::AttachmentAt(std::int32_t position) {
  if (position < 1 || position > AttachmentCount())
    throw MailStoreError("there is no attachment " + std::to_string(position));
  const ItemFacts facts{.sent_on = SentOn(),
                        .sent = Sent(),
                        .received_seconds = Summary().received_seconds,
                        .locale = file_->Locale()};
  return std::make_unique<PstAttachment>(Content(), static_cast<std::size_t>(position - 1), facts);
}

}  // namespace qs::pststore
