#pragma once

#include <windows.h>

#include "platform/window_system.h"

namespace qs::win32 {

// The MessageBoxW style bits for a box: its buttons, icon and default button.
UINT MessageBoxStyle(const MessageBoxSpec& box);
// The box's answer for what MessageBoxW returned.
Answer AnswerOf(int result, const MessageBoxSpec& box);

}  // namespace qs::win32
