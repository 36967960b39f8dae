#include "mailstore/dirstore/dir_item.h"

#include <new>
#include <utility>

#include "mailstore/dirstore/dir_attachment.h"
#include "mailstore/dirstore/dir_folder.h"
#include "mailstore/dirstore/entry_id.h"
#include "mailstore/dirstore/folder_place.h"
#include "mailstore/dirstore/item_file.h"
#include "mailstore/message/save_message.h"
#include "mailstore/message/whole_file.h"
#include "mailstore/mime/address_list.h"
#include "mailstore/mime/header_block.h"
#include "mailstore/mime/header_text.h"
#include "mailstore/mime/mail_bytes.h"

namespace qs::dirstore {

DirItem::DirItem(std::shared_ptr<const ListedFolder> folder, std::size_t index, Reading reading,
                 std::optional<ItemFile> file)
    : folder_(std::move(folder)), index_(index), reading_(reading), file_(std::move(file)) {
  if (file_) status_ = file_->status;
}

std::string DirItem::RelativePath() const { return folder_->relative_path + "/" + Listed().name; }

const ItemFacts& DirItem::Summary() {
  if (summary_) return *summary_;
  // A file GMime cannot read as mail at all still has its header lines.
  const bool whole = reading_ == Reading::Whole && !Content()->headers.empty();
  std::shared_ptr<const RawHeaders> headers;
  if (whole) headers = Content()->searched_headers;
  else if (InMbox())
    headers = std::make_shared<const RawHeaders>(ScanHeaders(
        ReadMboxHeaderBlock(folder_->listing.mbox->descriptor.Get(), folder_->listing.mbox->path, *Listed().message)));
  else
    headers = std::make_shared<const RawHeaders>(ReadHeaders(OpenItemUnexamined(Base(), Name()), Base().Path(), Name()));
  const std::string& listed_name = Listed().name;
  const auto slash = listed_name.rfind('/');
  const std::string_view file_name =
      std::string_view(listed_name).substr(slash == std::string::npos ? 0 : slash + 1);
  // A mail without any date takes its file's time: for a message of an mbox
  // file, that file's.
  summary_ = Summarize(*headers, file_name, [this] { return ItemFileModified(Base(), Name()); });
  headers_ = std::move(headers);
  return *summary_;
}

std::string DirItem::SenderEmailAddress() {
  Summary();
  return FirstAddress(headers_->from);
}

std::string DirItem::To() {
  Summary();
  return RecipientNames(headers_->to);
}

std::string DirItem::Subject() {
  Summary();
  return DecodeHeaderText(headers_->subject);
}

EntryId DirItem::EntryID() {
  if (InMbox()) return EncodeMboxEntryId(folder_->relative_path, *Listed().message);
  return EncodeEntryId(folder_->relative_path, Listed().name);
}

const struct stat& DirItem::Status() {
  if (!status_) status_ = OpenItemFile(Base(), Name()).status;
  return *status_;
}

// A message of an mbox file has no time of its own: what it holds is in its
// identity, so appending to or compacting its file leaves it unchanged.
DateTime DirItem::LastModificationTime() { return InMbox() ? NoDate() : LocalTimeOf(Status().st_mtime); }

std::int64_t DirItem::Size() {
  return InMbox() ? static_cast<std::int64_t>(Listed().message->size) : static_cast<std::int64_t>(Status().st_size);
}

std::string DirItem::Identity() {
  if (InMbox()) return MboxIdentity(folder_->relative_path, Listed().message->hash, Listed().message->number);
  return ItemIdentity(RelativePath());
}

std::unique_ptr<Folder> DirItem::Parent() {
  std::vector<std::string> names = InMbox() ? NamesOf(folder_->relative_path) : ItemFolderNames(RelativePath());
  if (names.empty()) throw MailStoreError("the item " + RelativePath() + " lies in no folder");
  const StoreContext& context = *folder_->context;
  std::vector<std::string> shown = context.shown_names->Of(context, names);
  return std::make_unique<DirFolder>(folder_->context, std::move(names), std::move(shown));
}

// A mail too large for the memory left is one mail not saved, not the end
// of the run.
template <typename Work>
auto DirItem::WithinMemory(Work work) -> decltype(work()) {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    throw MailStoreError("there is not enough memory to read " + Base().Path() + "/" + Name());
  }
}

std::string DirItem::MboxMessageBytes() const {
  return ReadMboxMessage(folder_->listing.mbox->descriptor.Get(), folder_->listing.mbox->path, *Listed().message);
}

const std::shared_ptr<const MailContent>& DirItem::Content() {
  if (!content_ && InMbox())
    content_ = WithinMemory([this] {
      return std::make_shared<const MailContent>(ReadMessageContent(MailBytes::Hold(MboxMessageBytes())));
    });
  if (!content_)
    content_ = WithinMemory([this] {
      std::optional<ItemFile> file = std::exchange(file_, std::nullopt);
      if (!file) file = OpenItemFile(Base(), Name());
      return std::make_shared<const MailContent>(
          ReadMessageContent(MailBytes::MapFile(file->descriptor, file->status, Base().Path() + "/" + Name())));
    });
  return content_;
}

// As a MIME message file, the mail is the file the store read, byte for
// byte; it is neither parsed nor made again.
FileStamp DirItem::CopyMailFile(const std::string& path) {
  if (InMbox())
    return WithinMemory([&] {
      const std::string bytes = MboxMessageBytes();
      return WriteFileInPieces(path, [&](const ByteSink& sink) { sink(bytes); });
    });
  return WithinMemory([&] {
    std::optional<ItemFile> file = std::exchange(file_, std::nullopt);
    if (!file) file = OpenItemFile(Base(), Name());
    const std::shared_ptr<const MailBytes> mail =
        MailBytes::MapFile(file->descriptor, file->status, Base().Path() + "/" + Name());
    return WriteFileInPieces(path, [&](const ByteSink& sink) { sink(mail->View()); });
  });
}

std::optional<FileStamp> DirItem::SaveAs(const std::string& path, SaveType type) {
  if (type == SaveType::Eml) return CopyMailFile(path);
  return SaveWithLinks(path, type, nullptr);
}

std::optional<FileStamp> DirItem::SaveLinkedPageAs(const std::string& path, const std::vector<PageLink>& saved) {
  PictureLinks links;
  WithinMemory([&] { links = PictureLinksOf(*Content(), saved); });
  return SaveWithLinks(path, SaveType::Html, &links);
}

std::optional<FileStamp> DirItem::SaveWithLinks(const std::string& path, SaveType type, const PictureLinks* links) {
  const ItemFacts facts{.sent_on = SentOn(),
                        .sent = Sent(),
                        .received_seconds = Summary().received_seconds,
                        .locale = folder_->context->locale,
                        .picture_links = links};
  FileStamp stamp;
  WithinMemory([&] { stamp = SaveMessageAs(*Content(), facts, path, type); });
  return stamp;
}

std::int32_t DirItem::AttachmentCount() {
  return static_cast<std::int32_t>(Content()->attachments.size());
}

std::unique_ptr<Attachment> DirItem::AttachmentAt(std::int32_t position) {
  if (position < 1 || position > AttachmentCount())
    throw MailStoreError("there is no attachment " + std::to_string(position) + " of " +
                         RelativePath());
  return std::make_unique<DirAttachment>(Content(), static_cast<std::size_t>(position - 1));
}

}  // namespace qs::dirstore
