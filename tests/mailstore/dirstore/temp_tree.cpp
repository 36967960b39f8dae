#include "tests/mailstore/dirstore/temp_tree.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>

namespace qs::testing {

namespace fs = std::filesystem;

TempTree::TempTree() {
  std::string pattern = (fs::temp_directory_path() / "quillstow-mail-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary directory");
  root_ = pattern;
}

TempTree::~TempTree() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

void TempTree::Write(const std::string& relative, const std::string& content) const {
  const fs::path path = root_ / relative;
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

void TempTree::Copy(const fs::path& from, const std::string& relative) const {
  const fs::path path = root_ / relative;
  fs::create_directories(path.parent_path());
  fs::copy_file(from, path, fs::copy_options::overwrite_existing);
}

void TempTree::MakeDirectory(const std::string& relative) const {
  fs::create_directories(root_ / relative);
}

}  // namespace qs::testing
