#pragma once
// A directory tree made for one test and removed after it.

#include <filesystem>
#include <string>

#include "tests/common/scoped_environment.h"

namespace qs::testing {

class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  // Writes a file below the root, making the directories it needs.
  void Write(const std::string& relative, const std::string& content) const;
  void Copy(const std::filesystem::path& from, const std::string& relative) const;
  void MakeDirectory(const std::string& relative) const;

 private:
  std::filesystem::path root_;
};

}  // namespace qs::testing
