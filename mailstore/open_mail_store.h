#pragma once
// Attaching to the mail store for one command.

#include <functional>
#include <memory>

#include "mailstore/mail_store.h"
#include "settings/option_values.h"

namespace qs {

class Application;

// Outlook on Windows; the directory mail store and the data files in it
// elsewhere. Throws MailStoreError when the store cannot be reached.
std::unique_ptr<MailStore> OpenMailStoreWith(Application& app, const StoreOptions& options);
inline std::unique_ptr<MailStore> OpenMailStore(Application& app) { return OpenMailStoreWith(app, {}); }

// How a command gets its store: OpenMailStore in the program, a fake in tests.
using MailStoreOpener = std::function<std::unique_ptr<MailStore>(Application&)>;

}  // namespace qs
