#include "platform/application.h"
#include "platform/folder_dialog.h"

namespace qs {

// The terminal has no folder dialog: the user types the path at the prompt.
std::optional<std::string> BrowseForFolderPath(Application& app, const std::string& title) {
  return app.InputBox(title, title);
}

}  // namespace qs
