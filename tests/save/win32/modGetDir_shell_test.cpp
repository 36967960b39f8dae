#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "../list_fixture.h"
#include "save/modGetDir.h"

namespace qs {
namespace {

// Presses a button (IDOK, IDCANCEL) in the first dialog box that this
// process shows, as a user would; gives up after a while so that a test
// never hangs.
class PressInFirstDialog {
 public:
  explicit PressInFirstDialog(WPARAM button)
      : thread_([this, button] {
          const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
          while (!stop_ && std::chrono::steady_clock::now() < deadline) {
            if (HWND dialog = FindOwnDialog()) {
              PostMessageW(dialog, WM_COMMAND, button, 0);
              found_ = true;
              return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
          }
        }) {}
  ~PressInFirstDialog() { Found(); }
  PressInFirstDialog(const PressInFirstDialog&) = delete;
  PressInFirstDialog& operator=(const PressInFirstDialog&) = delete;
  bool Found() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return found_;
  }

 private:
  struct Search {
    DWORD process;
    HWND found;
  };

  static BOOL CALLBACK TakeOwnDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (owner == search->process && lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(window)) {
      search->found = window;
      return FALSE;
    }
    return TRUE;
  }

  static HWND FindOwnDialog() {
    Search search{GetCurrentProcessId(), nullptr};
    EnumWindows(TakeOwnDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  std::atomic<bool> stop_{false};
  std::atomic<bool> found_{false};
  std::thread thread_;
};

TEST(GetDirThroughTheShell, ACancelledDialogGivesNothing) {
  test::ListFixture fixture;
  PressInFirstDialog cancel(IDCANCEL);
  EXPECT_EQ(GetDir(fixture.app, "Choose Directory"), "");
  EXPECT_TRUE(cancel.Found()) << "the shell's folder dialog was not shown";
  EXPECT_TRUE(fixture.Messages().empty());
}

// OK at once takes the folder the dialog opens at, the shell's default root:
// its path comes back through the folder's item of itself.
TEST(GetDirThroughTheShell, TheChosenFolderComesBackAsADirectory) {
  test::ListFixture fixture;
  PressInFirstDialog ok(IDOK);
  const std::string dir = GetDir(fixture.app, "Choose Directory").value_or("");
  EXPECT_TRUE(ok.Found()) << "the shell's folder dialog was not shown";
  ASSERT_FALSE(dir.empty());
  EXPECT_TRUE(dir.front() == ':' || dir.back() == '\\') << dir;
  EXPECT_TRUE(fixture.Messages().empty());
}

}  // namespace
}  // namespace qs
