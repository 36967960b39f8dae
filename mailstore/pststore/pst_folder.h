#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mailstore/mail_store.h"
#include "mailstore/pststore/data_file.h"

namespace qs::pststore {

// A folder of a data file. names: the store's name, then each folder name
// down from the top of its tree.
class PstFolder : public Folder {
 public:
  PstFolder(std::shared_ptr<const DataFile> file, std::vector<std::string> names,
            std::shared_ptr<SharedItem> folder);

  std::unique_ptr<Folder> Subfolder(const std::string& name) override;
  std::int32_t SubfolderCount() override;
  std::unique_ptr<Folder> SubfolderAt(std::int32_t position) override;
  std::int32_t ItemCount() override;
  std::unique_ptr<MailItem> ItemAt(std::int32_t position) override;
  std::string FolderPath() override;
  std::string FullPath() override;
  bool HoldsMail() override;

 private:
  const std::vector<std::shared_ptr<SharedItem>>& Subfolders();

  std::shared_ptr<const DataFile> file_;
  std::vector<std::string> names_;
  std::shared_ptr<SharedItem> folder_;
  std::optional<std::vector<std::shared_ptr<SharedItem>>> subfolders_;
  std::vector<std::string> subfolder_names_;
};

}  // namespace qs::pststore
