#include "mailstore/outlook/outlook_folder.h"

#include <algorithm>

#include "mailstore/outlook/outlook_error.h"
#include "mailstore/outlook/outlook_item.h"

namespace qs::outlook {

OutlookFolder::OutlookFolder(SessionPtr session, win32::ComPtr<IDispatch> folder)
    : session_(std::move(session)), folder_(std::move(folder), session_->kinds().folder) {}

const win32::Dispatch& OutlookFolder::Folders() {
  if (!folders_) folders_ = folder_.GetObject(session_->kinds().folders, "Folders");
  return *folders_;
}

const win32::Dispatch& OutlookFolder::Items() {
  if (!items_) items_ = folder_.GetObject(session_->kinds().items, "Items");
  return *items_;
}

std::unique_ptr<Folder> OutlookFolder::Subfolder(const std::string& name) {
  return Guarded([&] {
    return std::make_unique<OutlookFolder>(
        session_, Required(Folders().Get("Item", name).ToDispatch("Folders.Item"),
                           "Folders.Item(" + name + ")"));
  });
}

std::int32_t OutlookFolder::SubfolderCount() {
  return Guarded([&] {
    if (!folder_count_) folder_count_ = Folders().Get("Count").ToInt32("Folders.Count");
    return *folder_count_;
  });
}

std::unique_ptr<Folder> OutlookFolder::SubfolderAt(std::int32_t position) {
  return Guarded([&] {
    return std::make_unique<OutlookFolder>(
        session_, Required(Folders().Get("Item", position).ToDispatch("Folders.Item"),
                           "Folders.Item(" + std::to_string(position) + ")"));
  });
}

std::int32_t OutlookFolder::ItemCount() {
  return Guarded([&] {
    if (!item_count_) item_count_ = Items().Get("Count").ToInt32("Items.Count");
    return *item_count_;
  });
}

std::unique_ptr<MailItem> OutlookFolder::ItemAt(std::int32_t position) {
  return Guarded([&] {
    win32::ComPtr<IDispatch> item = cursor_.Take(Items(), position);
    if (!item)
      item = Required(Items().Get("Item", position).ToDispatch("Items.Item"),
                      "Items.Item(" + std::to_string(position) + ")");
    return std::make_unique<OutlookItem>(session_, std::move(item));
  });
}

std::string OutlookFolder::FolderPath() {
  return Guarded([&] {
    if (!path_) path_ = folder_.Get("FolderPath").ToUtf8("MAPIFolder.FolderPath");
    return *path_;
  });
}

std::string OutlookFolder::FullPath() {
  std::string path = FolderPath();
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace qs::outlook
