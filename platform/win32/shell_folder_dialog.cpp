// The shell's folder dialog through its automation object "Shell.Application",
// bound by name at run time.
#include <cstdint>

#include "platform/folder_dialog.h"
#include "platform/win32/com_dispatch.h"
#include "platform/win32/com_error.h"
#include "platform/win32/com_init.h"

namespace qs {

namespace {

// The folder as an item of itself: Items.Item called without an index. Some
// servers want the absent index spelled out as a missing argument.
win32::Dispatch FolderSelf(const win32::Dispatch& items) {
  try {
    return items.GetObject("Item");
  } catch (const win32::ComError&) {
    return items.GetObject("Item", win32::Variant::Missing());
  }
}

}  // namespace

std::optional<std::string> BrowseForFolderPath(Application&, const std::string& title) {
  const win32::ComApartment com = win32::InitializeCom();
  const win32::Dispatch shell = win32::Dispatch::Create("Shell.Application");
  // No owner window, no options, the desktop as the root.
  const win32::Dispatch folder =
      shell.GetObject("BrowseForFolder", std::int32_t{0}, title, std::int32_t{0});
  if (!folder) return std::nullopt;
  const win32::Dispatch items = folder.GetObject("Items");
  if (!items) return std::nullopt;
  const win32::Dispatch self = FolderSelf(items);
  if (!self) return std::nullopt;
  const win32::Variant path = self.Get("Path");
  if (path.IsEmpty()) return std::string();
  return path.ToUtf8("FolderItem.Path");
}

}  // namespace qs
