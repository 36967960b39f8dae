// The system's opener is started and not waited for, yet it must not stay
// behind as a zombie for as long as the program runs.
#ifndef _WIN32
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/system.h"
#include "tests/common/scoped_environment.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

TEST(OpenWithShell, TheOpenerIsReapedWhenItEnds) {
  test::ScratchDir scratch;
  scratch.Write("xdg-open", "#!/bin/sh\ntouch \"$1\"\n");
  std::filesystem::permissions(scratch.Path() / "xdg-open", std::filesystem::perms::owner_all);
  {
    testing::ScopedEnvironment path("PATH", scratch.Text() + ":" + std::getenv("PATH")), display("DISPLAY", ":99");
    OpenWithShell(scratch.File("opened"));
  }
  siginfo_t info{};
  const auto children = [&] { return waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == 0; };
  for (int wait = 0; wait < 1000 && (children() || !std::filesystem::exists(scratch.Path() / "opened")); ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(std::filesystem::exists(scratch.Path() / "opened")) << "the opener ran";
  EXPECT_FALSE(children()) << "the ended opener is still a zombie";
}

}  // namespace
}  // namespace qs
#endif
