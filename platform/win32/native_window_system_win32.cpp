#include "platform/native_window_system.h"
#include "platform/win32/win32_window_system.h"

namespace qs {

std::unique_ptr<WindowSystem> CreateNativeWindowSystem() {
  return std::make_unique<win32::Win32WindowSystem>();
}

}  // namespace qs
