#pragma once
// Where the directory mail store lives.

#include <string>

namespace qs::mailroot {

// The directory, or the single Outlook data file, named by
// QUILLSTOW_MAILROOT; without it, the sample mailbox that ships with the
// program: "sample-mailbox" in the program's data directory. Throws
// MailStoreError when none of them is there.
std::string FindMailRoot();

}  // namespace qs::mailroot
