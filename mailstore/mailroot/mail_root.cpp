#include "mailstore/mailroot/mail_root.h"

#include <cstdlib>
#include <filesystem>

#include "mailstore/mail_store.h"
#include "platform/system.h"

namespace qs::mailroot {

std::string FindMailRoot() {
  namespace fs = std::filesystem;
  std::error_code error;
  if (const char* named = std::getenv("QUILLSTOW_MAILROOT"); named && *named) {
    // A single file is an Outlook data file, the only store.
    if (!fs::is_directory(named, error) && !fs::is_regular_file(named, error))
      throw MailStoreError(std::string("QUILLSTOW_MAILROOT is neither a directory nor a file: ") + named);
    return named;
  }
  const fs::path shipped = fs::path(ProgramDataDirectory()) / "sample-mailbox";
  if (fs::is_directory(shipped, error)) return shipped.string();
  throw MailStoreError("no mail store: set QUILLSTOW_MAILROOT to a directory of mail");
}

}  // namespace qs::mailroot
