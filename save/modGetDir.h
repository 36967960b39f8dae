#pragma once
// The browse button of the "Save to:" box.

#include <optional>
#include <string>

namespace qs {

class Application;

// The directory the user chose, ending in the file system's separator (a
// drive root already does); a virtual folder of the Windows shell, whose
// path starts with ":", comes back as it is. "" when the user cancelled;
// nothing when the dialog could not be shown (after a message saying so), so
// that the caller keeps the path the user typed.
std::optional<std::string> GetDir(Application& app, const std::string& title);

// The path of a chosen folder as a directory for the "Save to:" box.
std::string DirectoryOfFolderPath(std::string path);

}  // namespace qs
