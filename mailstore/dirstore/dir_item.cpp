#include "mailstore/dirstore/dir_item.h"

#include <new>

#include "mailstore/dirstore/address_list.h"
#include "mailstore/dirstore/dir_folder.h"
#include "mailstore/dirstore/entry_id.h"
#include "mailstore/dirstore/header_block.h"
#include "mailstore/dirstore/header_text.h"
#include "mailstore/dirstore/item_file.h"
#include "mailstore/dirstore/saveas/dir_attachment.h"
#include "mailstore/dirstore/saveas/mail_bytes.h"
#include "mailstore/dirstore/saveas/save_message.h"

namespace qs::dirstore {

DirItem::DirItem(SharedContext context, std::string relative_path,
                 std::shared_ptr<const Directory> base, std::string name, Reading reading)
    : context_(std::move(context)),
      relative_path_(std::move(relative_path)),
      base_(std::move(base)),
      name_(std::move(name)),
      reading_(reading) {}

const MessageSummary& DirItem::Summary() {
  if (summary_) return *summary_;
  // A file GMime cannot read as mail at all still has its header lines.
  const bool whole = reading_ == Reading::Whole && !Content()->headers.empty();
  RawHeaders headers = whole ? ScanHeaders(Content()->headers) : ReadHeaders(*base_, name_);
  const auto slash = relative_path_.rfind('/');
  const std::string_view file_name =
      std::string_view(relative_path_).substr(slash == std::string::npos ? 0 : slash + 1);
  summary_ = Summarize(headers, file_name, [this] { return ItemFileModified(*base_, name_); });
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

std::string DirItem::EntryID() { return EncodeEntryId(relative_path_); }

std::unique_ptr<Folder> DirItem::Parent() {
  std::vector<std::string> names;
  std::size_t start = 0;
  for (std::size_t slash; (slash = relative_path_.find('/', start)) != std::string::npos;
       start = slash + 1)
    names.push_back(relative_path_.substr(start, slash - start));
  // A Maildir's cur/ and new/ belong to the folder that holds them.
  if (names.size() > 1 && (names.back() == "cur" || names.back() == "new")) names.pop_back();
  if (names.empty()) throw MailStoreError("the item " + relative_path_ + " lies in no folder");
  return std::make_unique<DirFolder>(context_, std::move(names));
}

// A mail too large for the memory left is one mail not saved, not the end
// of the run.
template <typename Work>
auto DirItem::WithinMemory(Work work) -> decltype(work()) {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    throw MailStoreError("there is not enough memory to read " + base_->Path() + "/" + name_);
  }
}

const std::shared_ptr<const MessageContent>& DirItem::Content() {
  if (!content_)
    content_ = WithinMemory([this] {
      return std::make_shared<const MessageContent>(
          ReadMessageContent(MailBytes::MapFile(*base_, name_)));
    });
  return content_;
}

void DirItem::SaveAs(const std::string& path, SaveType type) {
  const ItemFacts facts{SentOn(), Sent(), context_->locale, Summary().received_seconds};
  WithinMemory([&] { SaveMessageAs(*Content(), facts, path, type); });
}

std::int32_t DirItem::AttachmentCount() {
  return static_cast<std::int32_t>(Content()->attachments.size());
}

std::unique_ptr<Attachment> DirItem::AttachmentAt(std::int32_t position) {
  if (position < 1 || position > AttachmentCount())
    throw MailStoreError("there is no attachment " + std::to_string(position) + " of " +
                         relative_path_);
  return std::make_unique<DirAttachment>(Content(), static_cast<std::size_t>(position - 1));
}

}  // namespace qs::dirstore
