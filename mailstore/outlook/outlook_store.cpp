#include "mailstore/outlook/outlook_store.h"

#include "mailstore/outlook/outlook_error.h"
#include "mailstore/outlook/outlook_folder.h"
#include "mailstore/outlook/outlook_item.h"

namespace qs::outlook {

const win32::Dispatch& OutlookStore::TopFolders() {
  if (!top_folders_)
    top_folders_ = session_->Namespace().GetObject(session_->kinds().folders, "Folders");
  return *top_folders_;
}

std::unique_ptr<Folder> OutlookStore::TopFolder(const std::string& name) {
  return Guarded([&] {
    return std::make_unique<OutlookFolder>(
        session_, Required(TopFolders().Get("Item", name).ToDispatch("Folders.Item"),
                           "Folders.Item(" + name + ")"));
  });
}

std::unique_ptr<Folder> OutlookStore::PickFolder() {
  return Guarded([&]() -> std::unique_ptr<Folder> {
    win32::ComPtr<IDispatch> folder =
        session_->Namespace().Get("PickFolder").ToDispatch("NameSpace.PickFolder");
    if (!folder) return nullptr;
    return std::make_unique<OutlookFolder>(session_, std::move(folder));
  });
}

std::unique_ptr<MailItem> OutlookStore::GetItemFromID(const EntryId& entry_id) {
  return Guarded([&] {
    const std::string hex = entry_id.Hex();
    const win32::Dispatch& name_space = session_->Namespace();
    win32::ComPtr<IDispatch> item;
    try {
      item = name_space.Get("GetItemFromID", hex).ToDispatch("NameSpace.GetItemFromID");
    } catch (const win32::ComError& first) {
      const std::int32_t stores = TopFolders().Get("Count").ToInt32("Folders.Count");
      for (std::int32_t position = 1; position <= stores && !item; ++position) {
        try {
          const win32::Dispatch store =
              TopFolders().GetObject(session_->kinds().folder, "Item", position);
          const win32::Variant store_id = store.Get("StoreID");
          item = name_space.Get("GetItemFromID", hex, store_id)
                     .ToDispatch("NameSpace.GetItemFromID");
        } catch (const win32::ComError&) {
          // Not in this store: the next one may hold it.
        }
      }
      if (!item) throw;
    }
    return std::make_unique<OutlookItem>(
        session_, Required(std::move(item), "NameSpace.GetItemFromID(" + hex + ")"),
        entry_id);
  });
}

}  // namespace qs::outlook
