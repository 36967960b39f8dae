#pragma once
// The registries a build has for the tests: a registry file of ours in a
// scratch directory everywhere, and on Windows the system registry, where the
// tests write below a key of their own that is removed afterwards.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace qs::test {

inline std::vector<std::string> AvailableRegistries() {
  std::vector<std::string> kinds{"file"};
  if (UserRegistry()->IsSystem()) kinds.emplace_back("system");
  return kinds;
}

class RegistryTest : public ::testing::TestWithParam<std::string> {
 protected:
  RegistryTest() {
    const auto stamp = std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    scratch_ = std::filesystem::temp_directory_path() / ("qs-registry-" + stamp);
    std::filesystem::create_directories(scratch_);
    base = "Software\\QuillstowTest\\" + stamp;
    if (GetParam() == "system") {
      registry = UserRegistry();
    } else {
      const auto file = (scratch_ / "registry.txt").u8string();
      registry = RegistryInFile(std::string(file.begin(), file.end()));
    }
  }
  ~RegistryTest() override {
    registry->DeleteTree(RegistryRoot::CurrentUser, base);
    registry->DeleteTree(RegistryRoot::LocalMachine, base);
    std::error_code ignored;
    std::filesystem::remove_all(scratch_, ignored);
  }

  std::filesystem::path scratch_;
  std::string base;  // a key path of this test's own
  std::unique_ptr<Registry> registry;
};

}  // namespace qs::test
