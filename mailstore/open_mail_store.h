#pragma once
// Attaching to the mail store for one command.

#include <functional>
#include <memory>

#include "mailstore/mail_store.h"
#include "settings/option_values.h"

namespace qs {

class Reporter;

// Outlook on Windows; the directory mail store and the data files in it
// elsewhere. Throws MailStoreError when the store cannot be reached.
std::unique_ptr<MailStore> OpenMailStoreWith(Reporter& report, const StoreOptions& options);
inline std::unique_ptr<MailStore> OpenMailStore(Reporter& report) { return OpenMailStoreWith(report, {}); }

// How a command gets its store: OpenMailStore in the program, a fake in tests.
using MailStoreOpener = std::function<std::unique_ptr<MailStore>(Reporter&)>;

}  // namespace qs
