#include "mailstore/pststore/pst_folder.h"

#include "mailstore/folder_names.h"
#include "mailstore/message/property_ids.h"
#include "mailstore/pststore/pff_bags.h"
#include "mailstore/properties/property_values.h"
#include "mailstore/pststore/pst_item.h"
#include "platform/text.h"

namespace qs::pststore {

namespace {

void CheckPosition(std::int32_t position, std::size_t count, const char* what) {
  if (position < 1 || static_cast<std::size_t>(position) > count)
    throw MailStoreError(std::string("no ") + what + " at position " + std::to_string(position));
}

}  // namespace

PstFolder::PstFolder(std::shared_ptr<const DataFile> file, std::vector<std::string> names,
                     std::shared_ptr<SharedItem> folder)
    : file_(std::move(file)), names_(std::move(names)), folder_(std::move(folder)) {}

const std::vector<std::shared_ptr<SharedItem>>& PstFolder::Subfolders() {
  if (subfolders_) return *subfolders_;
  pststore::Subfolders subfolders = SubfoldersOf(*folder_, file_->Decoding());
  subfolder_names_ = std::move(subfolders.names);
  subfolders_ = std::move(subfolders.folders);
  return *subfolders_;
}

std::unique_ptr<Folder> PstFolder::Subfolder(const std::string& name) {
  Subfolders();
  const auto found = FindName(subfolder_names_, name);
  if (!found) throw MailStoreError("The folder \"" + name + "\" was not found in " + FolderPath() + ".");
  return SubfolderAt(static_cast<std::int32_t>(*found + 1));
}

std::int32_t PstFolder::SubfolderCount() { return static_cast<std::int32_t>(Subfolders().size()); }

std::unique_ptr<Folder> PstFolder::SubfolderAt(std::int32_t position) {
  CheckPosition(position, Subfolders().size(), "subfolder");
  const auto index = static_cast<std::size_t>(position - 1);
  std::vector<std::string> names = names_;
  names.push_back(subfolder_names_[index]);
  return std::make_unique<PstFolder>(file_, std::move(names), (*subfolders_)[index]);
}

std::int32_t PstFolder::ItemCount() { return pststore::MessageCount(*folder_); }

std::unique_ptr<MailItem> PstFolder::ItemAt(std::int32_t position) {
  CheckPosition(position, static_cast<std::size_t>(ItemCount()), "item");
  auto message = MessageAt(*folder_, position - 1);
  const std::uint32_t identifier = message ? PffIdentifier(message->item.Get()) : 0;
  return std::make_unique<PstItem>(file_, names_.front(), std::move(message), identifier,
                                   FolderPlace{names_, PffIdentifier(folder_->item.Get())});
}

std::string PstFolder::FolderPath() { return FolderPathOf(names_); }

std::string PstFolder::FullPath() { return FullPathOf(FolderPath()); }

// A folder's container class names what it holds: "IPF.Note" for mail,
// "IPF.Contact", "IPF.Appointment", "IPF.Task", "IPF.StickyNote" and the
// like for the rest. A folder without one, or one that cannot be read,
// holds mail.
bool PstFolder::HoldsMail() {
  try {
    const std::string kind = TextOr(PffItemBag(*folder_), kContainerClass, file_->Decoding());
    return kind.empty() || EqualsIgnoringAsciiCase(kind.substr(0, 8), "IPF.Note");
  } catch (const MailStoreError&) {
    return true;
  }
}

}  // namespace qs::pststore
