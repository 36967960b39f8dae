#pragma once
// The registries a build has for the tests: a registry file of ours in a
// scratch directory everywhere, and on Windows the system registry, where the
// tests write below a key of their own that is removed afterwards.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "tests/common/scratch_dir.h"

namespace qs::test {

inline std::vector<std::string> AvailableRegistries() {
  std::vector<std::string> kinds{"file"};
  if (UserRegistry()->IsSystem()) kinds.emplace_back("system");
  return kinds;
}

class RegistryTest : public ::testing::TestWithParam<std::string> {
 protected:
  ~RegistryTest() override {
    registry->DeleteTree(RegistryRoot::CurrentUser, base);
    registry->DeleteTree(RegistryRoot::LocalMachine, base);
  }

  ScratchDir scratch;
  std::string base = "Software\\QuillstowTest\\" + Utf8(scratch.Path().filename());  // the test's own
  std::unique_ptr<Registry> registry =
      GetParam() == "system" ? UserRegistry() : RegistryInFile(scratch.File("registry.txt"));
};

}  // namespace qs::test
