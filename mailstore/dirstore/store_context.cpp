#include "mailstore/dirstore/store_context.h"

#include <cstdlib>
#include <memory>
#include <string>

#include "mailstore/dirstore/maildir_plus.h"

namespace qs::dirstore {

namespace {

std::string Resolved(const std::filesystem::path& path) {
  const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
  // An unresolvable root is left for opening it to report.
  return resolved ? std::string(resolved.get()) : path.string();
}

}  // namespace

StoreContext::StoreContext(const std::filesystem::path& mail_root, DebugOutput debug_output)
    : debug(std::move(debug_output)),
      locale(std::make_shared<const LocaleFacts>(CurrentLocaleFacts())),
      root(std::make_shared<const Directory>(Resolved(mail_root))) {
  const std::string& path = root->Path();
  const auto slash = path.rfind('/');
  if (!IsMaildir(*root) || slash == std::string::npos || slash + 1 == path.size()) return;
  only_top = path.substr(slash + 1);
  root = std::make_shared<const Directory>(slash == 0 ? "/" : path.substr(0, slash));
}

void StoreContext::PassedOver(const std::string& path, std::string_view why) const {
  if (debug) debug("mail store: passed over " + path + ": " + std::string(why));
}

}  // namespace qs::dirstore
