#pragma once
// An mbox file of the store: a regular file whose first line is a "From "
// line, read up to the size it had when it was opened.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "mailstore/dirstore/directory.h"
#include "mailstore/dirstore/mbox_scan.h"
#include "platform/posix/file_descriptor.h"

namespace qs::dirstore {

struct MboxFile {
  FileDescriptor descriptor;
  std::string path;
  std::uint64_t size = 0;  // when it was opened: what is read of it
  // Which file, as it was when it was opened: another file, or the same
  // one written since, has messages elsewhere.
  FileIdentity identity{};
  std::int64_t modified_ns = 0;
};

// Whether the regular file name of directory starts with a "From " line.
bool StartsWithFromLine(const Directory& directory, const std::string& name);

// Opens name below directory without following a link. Throws ItemGone when
// it is no longer there, MailStoreError for any other failure.
std::shared_ptr<const MboxFile> OpenMboxFile(const Directory& directory, const std::string& name);

// Calls found for each message in the file's order, numbered among those
// with the same hash.
void ListMbox(const MboxFile& file, const std::function<void(const MboxMessage&)>& found);

// The message with that hash and number if it is at hint, where its
// "From " line was; nothing when it is not there.
std::optional<MboxMessage> MboxMessageAt(const MboxFile& file, std::uint64_t hash, std::uint32_t number,
                                         std::uint64_t hint);

}  // namespace qs::dirstore
