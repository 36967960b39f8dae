#pragma once

#include <string>

#include "mailstore/dirstore/entry_id.h"
#include "mailstore/dirstore/folder_listing.h"
#include "mailstore/dirstore/item_lookup.h"
#include "mailstore/dirstore/mbox_index.h"
#include "mailstore/dirstore/store_context.h"
#include "mailstore/mail_store.h"
#include "mailstore/message/save_message.h"

namespace qs {
class Reporter;
}

namespace qs::dirstore {

// A tree of mail files: the mail root's subdirectories are the top-level
// folders, each folder a directory of ".eml" files, Maildir folders and mbox
// files.
class DirStore : public MailStore {
 public:
  // report: for the folder chooser, which asks on the console, and the
  // diagnostic output. Throws MailStoreError when the mail root cannot be
  // opened.
  DirStore(Reporter& report, std::filesystem::path mail_root);

  std::unique_ptr<Folder> TopFolder(const std::string& name) override;
  std::unique_ptr<Folder> PickFolder() override;
  std::vector<std::unique_ptr<Folder>> TopLevelFolders() override;
  std::unique_ptr<MailItem> GetItemFromID(const EntryId& entry_id) override;
  // From a look at the file alone, where it is a regular file under its
  // listed name.
  std::optional<ItemMark> MarkOf(const EntryId& entry_id) override;
  bool ItemsInParallel() const override { return true; }
  // A mail saved as a MIME message file is its file's bytes, copied.
  int WriterVersion(SaveType type) const override {
    return type == SaveType::Eml ? 1 : MessageWriterVersion(type);
  }
  bool Writes(SaveType) const override { return true; }
  bool LinksPictures() const override { return true; }

  // The mail root's subdirectories, as the folder names show them.
  std::vector<std::string> TopFolderNames() const;

 private:
  // The top-level folders, as the mail root lists them.
  FolderListing ListRoot() const;
  // The message of an mbox file that entry names; nothing when it is not there.
  std::unique_ptr<MailItem> MboxItem(const MboxEntry& entry);

  Reporter& report_;
  SharedContext context_;
  LastFolder last_folder_;
  MboxIndex mbox_index_;
};

}  // namespace qs::dirstore
