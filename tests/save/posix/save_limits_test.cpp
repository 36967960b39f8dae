#include <gtest/gtest.h>
#include <sys/resource.h>

#include <string>

#include "tests/save/save_run_fixture.h"

namespace qs {
namespace {

using SaveRun = test::SaveRunFixture;

// Lowers this process's limit of open files while it lives.
class OpenFileLimit {
 public:
  explicit OpenFileLimit(rlim_t limit) {
    getrlimit(RLIMIT_NOFILE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = limit;
    setrlimit(RLIMIT_NOFILE, &lowered);
  }
  ~OpenFileLimit() { setrlimit(RLIMIT_NOFILE, &saved_); }

 private:
  rlimit saved_{};
};

// Saving a list again looks at every item directory of the last run: far
// more of them than a process may hold open at once.
TEST_F(SaveRun, MoreItemDirectoriesThanOpenFilesAreFoundUnchanged) {
  const int mails = 300;
  settings = {.fn_format = "%3", .fn_output = "dir", .clip_address = "50", .clip_subject = "50"};
  for (int i = 0; i < mails; ++i) List("id" + std::to_string(i), "Mail " + std::to_string(i));
  fixture.app.SetDebugLevel(1);
  const OpenFileLimit limit(200);
  Save(scratch.Text());
  fixture.err.str({});
  Save(scratch.Text());
  EXPECT_NE(fixture.err.str().find("300 listed: 0 saved, 300 unchanged, 0 not saved"), std::string::npos)
      << fixture.err.str();
}

}  // namespace
}  // namespace qs
