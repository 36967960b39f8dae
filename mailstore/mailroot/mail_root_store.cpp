#include "mailstore/mailroot/mail_root_store.h"

#include <algorithm>

#include "mailstore/dirstore/folder_chooser.h"
#include "mailstore/folder_names.h"
#include "mailstore/pststore/pst_folder.h"
#include "mailstore/pststore/pst_item.h"
#include "platform/reporter.h"
#include "platform/text.h"

namespace qs::mailroot {

using pststore::DataFile;
using pststore::DecodeEntryId;
using pststore::ItemAddress;
using pststore::PstFolder;
using pststore::PstItem;

namespace {

namespace fs = std::filesystem;

// The data files directly in the mail root, in byte order of their names.
// A link is followed only to a file inside the mail root: reading a file
// elsewhere is asked for by naming it as the mail root.
std::vector<std::string> DataFilesIn(const fs::path& root, Reporter& report) {
  std::error_code error;
  const fs::path real_root = fs::canonical(root, error);
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(root, error)) {
    const std::string name = entry.path().filename().string();
    if (!IsDataFileName(name)) continue;
    std::error_code status_error;
    if (entry.is_symlink(status_error)) {
      const fs::path target = fs::canonical(entry.path(), status_error);
      const auto inside = std::mismatch(real_root.begin(), real_root.end(), target.begin(), target.end());
      if (status_error || inside.first != real_root.end() || !fs::is_regular_file(target, status_error)) {
        report.Debug("mail store: passed over " + entry.path().string() +
                  ": a link to a file outside the mail root");
        continue;
      }
    } else if (!entry.is_regular_file(status_error)) {
      continue;
    }
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  std::vector<std::string> paths;
  for (const std::string& name : names) paths.push_back((root / name).string());
  return paths;
}

std::string FileStem(const std::string& path) { return fs::path(path).stem().string(); }

}  // namespace

bool IsDataFileName(std::string_view name) {
  if (name.size() <= 4) return false;
  const std::string extension = AsciiLower(name.substr(name.size() - 4));
  return extension == ".pst" || extension == ".ost";
}

MailRootStore::MailRootStore(Reporter& report, const fs::path& mail_root, std::uint32_t code_page)
    : report_(report) {
  std::error_code error;
  if (fs::is_directory(mail_root, error)) {
    directories_ = std::make_unique<dirstore::DirStore>(report, mail_root);
    OpenDataFiles(DataFilesIn(mail_root, report), code_page);
    NameStores(directories_->TopFolderNames());
  } else {
    if (!IsDataFileName(mail_root.filename().string()))
      throw MailStoreError("the mail root " + mail_root.string() +
                           " is neither a directory nor an Outlook data file (.pst, .ost)");
    stores_.push_back({{}, std::make_shared<const DataFile>(mail_root.string(), code_page)});
    NameStores({});
  }
}

void MailRootStore::OpenDataFiles(const std::vector<std::string>& paths, std::uint32_t code_page) {
  for (const std::string& path : paths) {
    std::shared_ptr<const DataFile> file;
    try {
      file = std::make_shared<const DataFile>(path, code_page);
    } catch (const MailStoreError& failure) {
      report_.ReportFailure(std::string("The Outlook data file ") + path + " cannot be read (" +
                         failure.what() + ").");
      continue;
    }
    // A copy of a file has the same record key, and so would give the same
    // entry identifiers: only the first is read.
    const auto same = std::find_if(stores_.begin(), stores_.end(), [&](const Store& store) {
      return store.file->Key() == file->Key();
    });
    if (same != stores_.end()) {
      report_.Tell("The Outlook data files " + same->file->Path() + " and " + path +
                  " are copies of one store; only the first is read.");
      continue;
    }
    stores_.push_back({{}, std::move(file)});
  }
}

void MailRootStore::NameStores(const std::vector<std::string>& taken) {
  // A store is shown under its own name unless it has none or shares it
  // with another top-level folder; then under its file's name.
  std::vector<std::string> display;
  for (const Store& store : stores_) display.push_back(store.file->DisplayName());
  for (std::size_t i = 0; i < stores_.size(); ++i) {
    const std::string& name = display[i];
    std::vector<std::string> others = taken;
    for (std::size_t j = 0; j < display.size(); ++j)
      if (j != i) others.push_back(display[j]);
    const bool shared = FindName(others, name).has_value();
    stores_[i].name = name.empty() || shared ? FileStem(stores_[i].file->Path()) : name;
  }
}

std::vector<std::string> MailRootStore::DataFileStoreNames() const {
  std::vector<std::string> names;
  for (const Store& store : stores_) names.push_back(store.name);
  return names;
}

std::unique_ptr<Folder> MailRootStore::StoreFolder(const Store& store) const {
  return std::make_unique<PstFolder>(store.file, std::vector<std::string>{store.name},
                                     store.file->TopFolder());
}

std::unique_ptr<Folder> MailRootStore::TopFolder(const std::string& name) {
  if (directories_ && FindName(directories_->TopFolderNames(), name))
    return directories_->TopFolder(name);
  const auto found = FindName(DataFileStoreNames(), name);
  if (!found) throw MailStoreError("The folder \"" + name + "\" was not found in the mail store.");
  return StoreFolder(stores_[*found]);
}

std::vector<std::unique_ptr<Folder>> MailRootStore::TopLevelFolders() {
  std::vector<std::unique_ptr<Folder>> tops;
  if (directories_) tops = directories_->TopLevelFolders();
  for (const Store& store : stores_) tops.push_back(StoreFolder(store));
  return tops;
}

std::unique_ptr<Folder> MailRootStore::PickFolder() { return dirstore::ChooseFolder(report_, TopLevelFolders()); }

std::unique_ptr<MailItem> MailRootStore::GetItemFromID(const EntryId& entry_id) {
  return GetListedItem(entry_id, {});
}

std::unique_ptr<MailItem> MailRootStore::GetListedItem(const EntryId& entry_id, const std::string& listed_folder) {
  const std::optional<ItemAddress> address = DecodeEntryId(entry_id);
  if (!address) {
    if (directories_) return directories_->GetItemFromID(entry_id);
  } else {
    for (const Store& store : stores_) {
      if (store.file->Key() != address->record_key) continue;
      if (auto message = store.file->Item(address->identifier))
        return std::make_unique<PstItem>(store.file, store.name, std::move(message),
                                         address->identifier, std::nullopt, listed_folder);
    }
  }
  throw MailStoreError("The item with the entry identifier " + entry_id.Hex() + " was not found.");
}

// Mail files have marks; a data file's items are fetched.
std::optional<ItemMark> MailRootStore::MarkOf(const EntryId& entry_id) {
  if (!directories_ || DecodeEntryId(entry_id)) return std::nullopt;
  return directories_->MarkOf(entry_id);
}

}  // namespace qs::mailroot
