#pragma once
// The stores' folder chooser where there is no Outlook: every folder path
// numbered from 1, one per line, and a number read through the window
// system's input box.

#include <memory>
#include <vector>

#include "mailstore/mail_store.h"

namespace qs {
class Reporter;
}

namespace qs::dirstore {

// Every folder as the chooser lists them: each of the top-level folders
// followed by all below it, depth first.
std::vector<std::unique_ptr<Folder>> AllFolders(std::vector<std::unique_ptr<Folder>> tops);

// tops: the top-level folders; the chooser lists them and all below them.
// Nothing for end of input, an empty answer or a number not in the list.
std::unique_ptr<Folder> ChooseFolder(Reporter& report, std::vector<std::unique_ptr<Folder>> tops);

}  // namespace qs::dirstore
