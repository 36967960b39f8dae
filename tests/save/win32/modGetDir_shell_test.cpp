#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "../list_fixture.h"
#include "save/modGetDir.h"

namespace qs {
namespace {

// Presses Cancel in the first dialog box that this process shows, as a
// user would; gives up after a while so that a test never hangs.
class CancelFirstDialog {
 public:
  CancelFirstDialog()
      : thread_([this] {
          const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
          while (!stop_ && std::chrono::steady_clock::now() < deadline) {
            if (HWND dialog = FindOwnDialog()) {
              PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
              found_ = true;
              return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
          }
        }) {}
  ~CancelFirstDialog() { Found(); }
  CancelFirstDialog(const CancelFirstDialog&) = delete;
  CancelFirstDialog& operator=(const CancelFirstDialog&) = delete;
  bool Found() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return found_;
  }

 private:
  static HWND FindOwnDialog() {
    struct Search {
      DWORD process;
      HWND found;
    } search{GetCurrentProcessId(), nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          auto* s = reinterpret_cast<Search*>(data);
          DWORD owner = 0;
          GetWindowThreadProcessId(window, &owner);
          wchar_t name[16] = {};
          GetClassNameW(window, name, 16);
          if (owner == s->process && lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(window)) {
            s->found = window;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  std::atomic<bool> stop_{false};
  std::atomic<bool> found_{false};
  std::thread thread_;
};

TEST(GetDirThroughTheShell, ACancelledDialogGivesNothing) {
  test::ListFixture fixture;
  CancelFirstDialog cancel;
  EXPECT_EQ(GetDir(fixture.app, "Choose Directory"), "");
  EXPECT_TRUE(cancel.Found()) << "the shell's folder dialog was not shown";
  EXPECT_TRUE(fixture.Messages().empty());
}

}  // namespace
}  // namespace qs
