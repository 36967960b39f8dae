#pragma once
// A form's menu entries as a Win32 menu bar, and the accelerator table that
// makes their shortcut keys work.

#include <functional>

#include "platform/form.h"
#include "platform/win32/handles.h"

namespace qs::win32 {

struct MenuBar {
  HMENU bar = nullptr;  // null when the form has no visible entries; not owned
  UniqueAccelerators accelerators;
};

// Each entry's command identifier comes from id_of.
MenuBar BuildMenuBar(const Form& form, const std::function<WORD(const Control&)>& id_of);

// The virtual key and modifier flags of a shortcut text such as "F1" or
// "Ctrl+Shift+E"; false when the text names no key we know.
bool ParseShortcut(const std::string& text, ACCEL& accel);

}  // namespace qs::win32
