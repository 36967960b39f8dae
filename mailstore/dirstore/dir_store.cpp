#include "mailstore/dirstore/dir_store.h"

#include "mailstore/dirstore/dir_folder.h"
#include "mailstore/dirstore/dir_item.h"
#include "mailstore/dirstore/entry_id.h"
#include "mailstore/dirstore/item_lookup.h"
#include "platform/application.h"

namespace qs::dirstore {

namespace {

void AddFolderPaths(Folder& folder, std::vector<std::unique_ptr<Folder>>& all) {
  const std::int32_t count = folder.SubfolderCount();
  for (std::int32_t position = 1; position <= count; ++position) {
    all.push_back(folder.SubfolderAt(position));
    AddFolderPaths(*all.back(), all);
  }
}

std::optional<std::size_t> ChosenNumber(const std::string& answer, std::size_t count) {
  const auto first = answer.find_first_not_of(" \t");
  if (first == std::string::npos) return std::nullopt;
  const auto last = answer.find_last_not_of(" \t");
  const std::string digits = answer.substr(first, last - first + 1);
  if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  const auto number = static_cast<std::size_t>(std::stoul(digits));
  if (number < 1 || number > count) return std::nullopt;
  return number;
}

}  // namespace

DirStore::DirStore(Application& app, std::filesystem::path mail_root)
    : app_(app),
      context_(std::make_shared<const StoreContext>(
          mail_root, [&app](std::string_view line) { app.Debug(line); })) {}

FolderListing DirStore::ListRoot() const {
  return ListFolder(*context_, context_->root, {context_->root->Identity()});
}

std::unique_ptr<Folder> DirStore::TopFolder(const std::string& name) {
  const FolderListing root = ListRoot();
  const auto found = FindName(root.subfolders, name);
  if (!found) throw MailStoreError("The folder \"" + name + "\" was not found in the mail store.");
  return std::make_unique<DirFolder>(context_, std::vector<std::string>{root.subfolders[*found]});
}

std::unique_ptr<Folder> DirStore::PickFolder() {
  std::vector<std::unique_ptr<Folder>> all;
  for (const std::string& store : ListRoot().subfolders) {
    all.push_back(std::make_unique<DirFolder>(context_, std::vector<std::string>{store}));
    AddFolderPaths(*all.back(), all);
  }
  std::string prompt;
  for (std::size_t i = 0; i < all.size(); ++i)
    prompt += std::to_string(i + 1) + " " + all[i]->FolderPath() + "\n";
  prompt += "Number of the folder:";
  const std::optional<std::string> answer = app_.InputBox(prompt, "Select Folder");
  if (!answer) return nullptr;
  const auto number = ChosenNumber(*answer, all.size());
  if (!number) return nullptr;
  return std::move(all[*number - 1]);
}

std::unique_ptr<MailItem> DirStore::GetItemFromID(const std::string& entry_id) {
  const std::optional<std::string> path = DecodeEntryId(entry_id);
  std::optional<FoundItem> found;
  if (path) found = FindItem(*context_, *path, last_folder_);
  if (!found) throw MailStoreError("The item with the entry identifier " + entry_id + " was not found.");
  // Fetched by its identifier to be saved: read whole at once.
  return std::make_unique<DirItem>(context_, found->relative_path, found->location.base,
                                   found->location.name, DirItem::Reading::Whole);
}

}  // namespace qs::dirstore
