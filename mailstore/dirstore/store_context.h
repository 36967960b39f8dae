#pragma once
// What every folder and item of one opened directory store shares.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "mailstore/dirstore/directory.h"
#include "mailstore/dirstore/shown_names.h"
#include "platform/locale.h"

namespace qs::dirstore {

// Writes one diagnostic line.
using DebugOutput = std::function<void(std::string_view)>;

struct StoreContext {
  // debug: where links passed over are named; without it, nowhere. Throws
  // MailStoreError when the mail root cannot be opened.
  explicit StoreContext(const std::filesystem::path& mail_root, DebugOutput debug = {});

  // Names a link that the store does not follow in the diagnostic output.
  void PassedOver(const std::string& path, std::string_view why) const;

  DebugOutput debug;
  // The names and patterns that saved forms write dates with, read once:
  // they stay the same for a whole save run.
  std::shared_ptr<const LocaleFacts> locale;
  // The mail root opened by its path without links, which is also the test
  // of whether a file link leads inside it. A mail root that is a Maildir
  // is one store named after it: then root is the directory that holds it,
  // and only_top its name, the one folder of root that is part of the store.
  std::shared_ptr<const Directory> root;
  std::string only_top;
  // What the folders of items fetched by their paths are named.
  std::shared_ptr<ShownNames> shown_names = std::make_shared<ShownNames>();
};

using SharedContext = std::shared_ptr<const StoreContext>;

}  // namespace qs::dirstore
