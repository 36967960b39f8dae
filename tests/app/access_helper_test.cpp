#include "app/access_helper.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "platform/system.h"
#include "tests/common/console_session.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

// The lines the helpers wrote once they are the ones wanted, or after 20 s:
// the helper is not waited for.
std::string LinesWhen(const test::ScratchDir& scratch, const std::string& wanted) {
  std::string text;
  for (int wait = 0; wait < 200 && text != wanted; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::istringstream lines(scratch.Read("calls.txt"));
    text.clear();
    for (std::string line; std::getline(lines, line);)
      text += line.substr(0, line.find_last_not_of("\r ") + 1) + "\n";
  }
  return text;
}

// A helper that appends its argument to a file: the shell here, the command
// processor on Windows. One that cannot start is reported only in the debug
// output; no helper starts nothing.
TEST(AccessHelperRun, StartsTheHelperWithTheAllowAndTheDisallowText) {
  test::ScratchDir scratch;
  testing::ConsoleSession session;
  session.app.SetDebugLevel(1);
  const std::string file = scratch.File("calls.txt");
  const AccessHelper helper =
      PathSeparator() == '/'
          ? AccessHelper("/bin/sh", "-c \"echo allow >> '" + file + "'\"",
                         "-c \"echo disallow >> '" + file + "'\"")
          : AccessHelper("C:\\windows\\system32\\cmd.exe", "/c echo allow>>\"" + file + "\"",
                         "/c echo disallow>>\"" + file + "\"");
  helper.RunAccessAllow(session.app);
  EXPECT_EQ(LinesWhen(scratch, "allow\n"), "allow\n");
  helper.RunAccessDisallow(session.app);
  EXPECT_EQ(LinesWhen(scratch, "allow\ndisallow\n"), "allow\ndisallow\n");
  AccessHelper(scratch.File("no-such-helper.exe"), "/allow", "/disallow").RunAccessAllow(session.app);
  AccessHelper().RunAccessAllow(session.app);
  EXPECT_TRUE(session.Messages().empty());
  EXPECT_NE(session.err.str().find("access helper not started"), std::string::npos) << session.err.str();
}

}  // namespace
}  // namespace qs
