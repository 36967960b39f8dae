#pragma once
// Mail-folder paths: "\\Store\Folder\Subfolder" to a folder of the store,
// and the store's folder chooser back to such a path.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "mailstore/mail_store.h"
#include "mailstore/open_mail_store.h"

namespace qs {

class Reporter;

// The folder the path names, or nothing. A path that does not start with two
// backslashes is told to the user; a name that the store does not know is
// not (the caller reports the missing folder).
std::unique_ptr<Folder> GetFolderFromPath(Reporter& report, MailStore& store,
                                          std::string_view path);

// The path of the folder the user picks in the store's chooser, or nothing
// when no folder was chosen or the store could not be reached.
std::optional<std::string> GetMailFolder(Reporter& report, const MailStoreOpener& open);

}  // namespace qs
