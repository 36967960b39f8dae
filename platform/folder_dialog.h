#pragma once
// Letting the user choose a directory: the shell's folder dialog on Windows,
// a prompt on the terminal elsewhere.

#include <optional>
#include <string>

namespace qs {

class Application;

// The path of the folder the user chose, as the system gives it (no trailing
// separator added), or nothing when the user cancelled. The dialog has no
// owner window and opens at the system's own default place.
std::optional<std::string> BrowseForFolderPath(Application& app, const std::string& title);

}  // namespace qs
