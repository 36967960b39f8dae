#pragma once
// The save record's file at the top of a save directory.

#include <optional>
#include <string>

#include "platform/file_lock.h"

#include "save/save_record.h"

namespace qs {

class Reporter;

// The record the directory holds; an empty one when it holds none. A record
// that cannot be read (damaged, of a later version, a link or anything but
// a regular file in its place, another user's) is set aside, renamed with the time and
// never deleted, and the run goes on as with none; the diagnostic output
// says so. save_dir ends in the separator.
SaveRecord ReadSaveRecord(const Reporter& report, const std::string& save_dir);

// Takes the lock that keeps a second run out of the save directory while
// this one saves, waiting for a run that holds it (the diagnostic output
// says so). A link or anything but a file in its place is set aside as an
// unreadable record is. Throws std::system_error when it cannot be taken.
void LockSaveDirectory(const Reporter& report, const std::string& save_dir, std::optional<FileLock>& lock);

// Writes the record whole, in place of the one there: the mails a run
// added laid over those it found. Throws std::system_error naming the file
// when it cannot.
void WriteSaveRecord(const std::string& save_dir, const SaveRecord& found, const SaveRecord& added);

}  // namespace qs
