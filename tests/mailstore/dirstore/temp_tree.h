#pragma once
// A directory tree made for one test and removed after it.

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/common/scoped_environment.h"
#include "tests/common/scratch_dir.h"

namespace qs::testing {

class TempTree : public test::ScratchDir {
 public:
  const std::filesystem::path& Root() const { return Path(); }
  // Writes a file below the root, making the directories it needs.
  void Write(const std::string& relative, const std::string& content) const {
    const std::filesystem::path path = Root() / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
  }
};

}  // namespace qs::testing
