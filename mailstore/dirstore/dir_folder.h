#pragma once

#include <optional>
#include <string>
#include <vector>

#include "mailstore/dirstore/directory.h"
#include "mailstore/dirstore/folder_listing.h"
#include "mailstore/dirstore/store_context.h"
#include "mailstore/mail_store.h"

namespace qs::dirstore {

// A directory of the store. names: the directories' names from the mail
// root down to it; shown: the names their folders show (shown_names.h).
class DirFolder : public Folder {
 public:
  DirFolder(SharedContext context, std::vector<std::string> names, std::vector<std::string> shown);

  std::unique_ptr<Folder> Subfolder(const std::string& name) override;
  std::int32_t SubfolderCount() override;
  std::unique_ptr<Folder> SubfolderAt(std::int32_t position) override;
  std::int32_t ItemCount() override;
  std::unique_ptr<MailItem> ItemAt(std::int32_t position) override;
  std::string FolderPath() override;
  std::string FullPath() override;

  // The folder's path below the mail root, "/" between the names.
  const std::string& RelativePath() const { return relative_path_; }

 private:
  FolderPlace Place() const;
  const FolderListing& Listing();
  const FolderListing& ListWhole(const FolderPlace& place);
  // Its subfolders alone, read without its mbox file's messages: a path
  // through a folder or the chooser need not read them.
  const FolderListing& Subfolders();
  std::unique_ptr<Folder> Child(std::size_t index);

  SharedContext context_;
  std::vector<std::string> names_;
  std::vector<std::string> shown_;
  std::string relative_path_;
  std::shared_ptr<const ListedFolder> listed_;  // once listed
  std::optional<FolderListing> subfolders_;      // once its subfolders alone were listed
};

}  // namespace qs::dirstore
