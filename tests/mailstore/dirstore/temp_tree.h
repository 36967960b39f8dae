#pragma once
// A directory tree made for one test and removed after it.

#include <filesystem>
#include <string>

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

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
 public:
  ScopedEnvironment(std::string name, const std::string& value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  bool had_value_ = false;
  std::string old_value_;
};

}  // namespace qs::testing
