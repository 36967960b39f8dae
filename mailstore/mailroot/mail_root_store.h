#pragma once
// The mail store where there is no Outlook: the directory store of the
// mail root beside the Outlook data files (.pst, .ost) directly in it, each
// file a top-level folder; or one data file alone.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "mailstore/dirstore/dir_store.h"
#include "mailstore/mail_store.h"
#include "mailstore/message/save_message.h"
#include "mailstore/pststore/data_file.h"

namespace qs {
class Reporter;
}

namespace qs::mailroot {

// Whether the name is that of a data file: it ends in ".pst" or ".ost", in
// any letter case.
bool IsDataFileName(std::string_view name);

class MailRootStore : public MailStore {
 public:
  // mail_root: a directory, or a data file to be the only store.
  // code_page: for the older files' texts that name none. A data file that
  // cannot be read is reported through report, and the other stores work; a
  // single data file that cannot be read throws MailStoreError.
  MailRootStore(Reporter& report, const std::filesystem::path& mail_root, std::uint32_t code_page);

  std::unique_ptr<Folder> TopFolder(const std::string& name) override;
  std::unique_ptr<Folder> PickFolder() override;
  // The mail root's directories, then its data files.
  std::vector<std::unique_ptr<Folder>> TopLevelFolders() override;
  std::unique_ptr<MailItem> GetItemFromID(const EntryId& entry_id) override;
  std::unique_ptr<MailItem> GetListedItem(const EntryId& entry_id, const std::string& listed_folder) override;
  std::optional<ItemMark> MarkOf(const EntryId& entry_id) override;
  // Mail files may be read on several threads; data files are read on one.
  bool ItemsInParallel() const override { return directories_ && stores_.empty(); }
  // With no data file, the directory store's alone.
  int WriterVersion(SaveType type) const override {
    return stores_.empty() && directories_ ? directories_->WriterVersion(type) : MessageWriterVersion(type);
  }
  bool Writes(SaveType) const override { return true; }
  bool LinksPictures() const override { return true; }

  // The top-level folders that are data files, in byte order of their files' names.
  std::vector<std::string> DataFileStoreNames() const;

 private:
  struct Store {
    std::string name;
    std::shared_ptr<const pststore::DataFile> file;
  };

  void OpenDataFiles(const std::vector<std::string>& paths, std::uint32_t code_page);
  void NameStores(const std::vector<std::string>& taken);
  std::unique_ptr<Folder> StoreFolder(const Store& store) const;

  Reporter& report_;
  std::unique_ptr<dirstore::DirStore> directories_;
  std::vector<Store> stores_;
};

}  // namespace qs::mailroot
