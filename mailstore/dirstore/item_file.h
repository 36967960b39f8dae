#pragma once
// Opening an item's file. No link on the way is followed (the listing has
// already decided which links lead to mail), and a FIFO is opened without
// waiting, so reading never blocks.

#include <sys/stat.h>

#include <optional>
#include <string>

#include "platform/posix/file_descriptor.h"

namespace qs::dirstore {

class Directory;

// An item's file open for reading, and what the system said of it when it
// was checked.
struct ItemFile {
  FileDescriptor descriptor;
  struct stat status;
};

// name: below base, "/" between the names. Throws ItemGone when the file is
// no longer there, MailStoreError with the system's reason for any other
// failure.
ItemFile OpenItemFile(const Directory& base, const std::string& name);

// The same file opened and examined whatever it is (a directory, a FIFO);
// nothing, errno telling why, when it cannot be.
std::optional<ItemFile> OpenAnyItemFile(const Directory& base, const std::string& name);

// The same file opened but not examined, for a read that stops at the end
// of the header block: what stands in a file's place since the folder was
// listed gives at most the bytes it has at once (no read waits on a FIFO),
// and an item with no date of its own is examined when its time is asked.
FileDescriptor OpenItemUnexamined(const Directory& base, const std::string& name);

// The file's modification time in seconds since the epoch; fails as
// OpenItemFile does.
long long ItemFileModified(const Directory& base, const std::string& name);

}  // namespace qs::dirstore
