#pragma once
// What every folder and item of one opened directory store shares.

#include <filesystem>
#include <memory>

namespace qs::dirstore {

struct StoreContext {
  explicit StoreContext(std::filesystem::path mail_root) : root(std::move(mail_root)) {}
  std::filesystem::path root;
};

using SharedContext = std::shared_ptr<const StoreContext>;

}  // namespace qs::dirstore
