#pragma once
// Attaching to the mail store for one command.

#include <functional>
#include <memory>

#include "mailstore/mail_store.h"

namespace qs {

class Application;

// Outlook on Windows; the directory mail store elsewhere. Throws
// MailStoreError when the store cannot be reached.
std::unique_ptr<MailStore> OpenMailStore(Application& app);

// How a command gets its store: OpenMailStore in the program, a fake in tests.
using MailStoreOpener = std::function<std::unique_ptr<MailStore>(Application&)>;

}  // namespace qs
