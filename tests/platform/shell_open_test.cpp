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

bool HasChildren() {
  siginfo_t info{};
  return waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == 0;
}

TEST(OpenWithShell, TheOpenerIsReapedWhenItEnds) {
  test::ScratchDir scratch;
  const auto opener = scratch.Path() / "xdg-open";
  scratch.Write("xdg-open", "#!/bin/sh\ntouch \"$1\"\n");
  std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
  {
    testing::ScopedEnvironment path("PATH", scratch.Text() + ":" + std::getenv("PATH"));
    testing::ScopedEnvironment display("DISPLAY", ":99");
    OpenWithShell(scratch.File("opened"));
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while ((HasChildren() || !std::filesystem::exists(scratch.Path() / "opened")) &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(std::filesystem::exists(scratch.Path() / "opened")) << "the opener ran";
  EXPECT_FALSE(HasChildren()) << "the ended opener is still a zombie";
}

}  // namespace
}  // namespace qs
#endif
