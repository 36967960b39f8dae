#pragma once
// A small modal dialog asking for one line of text: a prompt, an edit box,
// OK (the default button) and Cancel.

#include <windows.h>

#include <optional>
#include <string>

namespace qs::win32 {

// The text when the user pressed OK; nothing after Cancel, Escape or a close.
std::optional<std::string> RunInputBox(HWND owner, const std::string& prompt,
                                       const std::string& title, const std::string& initial);

}  // namespace qs::win32
