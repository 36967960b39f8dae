#include "save/modGetDir.h"

#include <exception>
#include <optional>

#include "platform/application.h"
#include "platform/folder_dialog.h"
#include "platform/system.h"

namespace qs {

std::optional<std::string> GetDir(Application& app, const std::string& title) {
  std::optional<std::string> chosen;
  try {
    chosen = BrowseForFolderPath(app, title);
  } catch (const std::exception& error) {
    app.Debug(error.what());
    app.MsgBox("The folder dialog could not be opened.");
    return std::nullopt;
  }
  return chosen ? DirectoryOfFolderPath(std::move(*chosen)) : std::string();
}

std::string DirectoryOfFolderPath(std::string path) {
  // An empty path would become the root of the drive: the user chose nothing
  // that a file can be saved in.
  if (path.empty()) return path;
  if (path.front() != ':' && path.back() != PathSeparator()) path += PathSeparator();
  return path;
}

}  // namespace qs
