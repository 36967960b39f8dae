#pragma once
// Showing a text file to the user in the system's editor.

#include <string>

namespace qs {

// Windows starts Notepad on the file without waiting for it; elsewhere the
// desktop's own program opens it when there is a display, and without one
// the path is printed. Throws std::system_error when no editor can be started.
void OpenInTextEditor(const std::string& path);

}  // namespace qs
