#pragma once
// A mail file in a temporary tree, opened as an item of the directory store,
// and the other small helpers of the saving tests.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "mailstore/dirstore/dir_item.h"
#include "tests/mailstore/dirstore/temp_tree.h"

namespace qs::testing {

inline std::unique_ptr<MailItem> ItemOf(const TempTree& tree, const std::string& mail,
                                        const std::string& name = "m.eml") {
  tree.Write("Box/" + name, mail);
  auto context = std::make_shared<const dirstore::StoreContext>(tree.Root());
  auto base = std::make_shared<const dirstore::Directory>((tree.Root() / "Box").string());
  return std::make_unique<dirstore::DirItem>(context, "Box/" + name, base, name);
}

// What a shell command writes to its standard output.
inline std::string OutputOf(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
  std::string out;
  char buffer[4096];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get())) out += buffer;
  return out;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace qs::testing
