#pragma once
// Maildir++ folder names: a Maildir's subfolders are its directories
// ".Archive.2015", each holding cur/, new/ and tmp/, split at the dots into
// a tree (Archive, then 2015 below it), each part in IMAP's modified UTF-7.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mailstore/dirstore/directory.h"

namespace qs::dirstore {

// Whether the directory is a Maildir: it holds cur/, new/ and tmp/.
bool IsMaildir(const Directory& directory);

// The parts of a Maildir++ directory name (".Archive.2015": "Archive",
// "2015"); nothing for a name that is not one (no leading dot, an empty
// part).
std::optional<std::vector<std::string_view>> MaildirPlusParts(std::string_view name);

// The Maildir++ name of the folder that holds the parts up to count
// (".Archive" for the first part of ".Archive.2015").
std::string MaildirPlusPrefix(const std::vector<std::string_view>& parts, std::size_t count);

// A part as its folder shows it: "&AOQ-" is "ä", "&-" is "&". A part that is
// not valid modified UTF-7 shows as it is written.
std::string DecodeModifiedUtf7(std::string_view part);

}  // namespace qs::dirstore
