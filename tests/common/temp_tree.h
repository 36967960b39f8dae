#pragma once
// A directory tree made for one test and removed after it, and the other
// small helpers of the tests that read and write files.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
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

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What a shell command writes to its standard output. A command that cannot
// run or ends with a status other than 0 fails the test: a checker that is
// missing or breaks must not pass for one that found nothing wrong.
inline std::string OutputOf(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  char buffer[4096];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
  const int status = pipe ? pclose(pipe) : -1;
  if (status != 0) ADD_FAILURE() << "`" << command << "` ended with status " << status << ": " << out;
  return out;
}

}  // namespace qs::testing
