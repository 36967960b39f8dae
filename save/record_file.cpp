#include "save/record_file.h"

#include <chrono>
#include <cstdio>
#include <system_error>

#include "platform/file_system.h"
#include "platform/reporter.h"

namespace qs {

namespace {

// ".quillstow-saved.unreadable-20261207T173000Z", in universal time.
std::string SetAsideName(const std::string& path) {
  using namespace std::chrono;
  const auto now = floor<seconds>(system_clock::now());
  const auto day = floor<days>(now);
  const year_month_day date{day};
  const hh_mm_ss time{now - day};
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02u%02uT%02d%02d%02dZ", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()));
  return path + ".unreadable-" + stamp;
}

// Gives the entry at path a set-aside name; false when it cannot.
bool SetAside(const Reporter& report, const std::string& path, const std::string& why) {
  const std::string aside = SetAsideName(path);
  for (int number = 1; number < 100; ++number) {
    const std::string name = number == 1 ? aside : aside + " (" + std::to_string(number) + ")";
    try {
      RenameEntry(path, name);
      report.Debug(path + " " + why + "; set aside as " + name);
      return true;
    } catch (const std::system_error&) {
      if (!PathExists(name)) break;
    }
  }
  return false;
}

}  // namespace

SaveRecord ReadSaveRecord(const Reporter& report, const std::string& save_dir) {
  const std::string path = save_dir + std::string(kSaveRecordName);
  try {
    // Another user's record could name files for this one to take as its own.
    if (PathExists(path) && !OwnedByUser(path))
      throw UnreadableRecord("it belongs to another user");
    const std::optional<std::string> text = ReadRegularFile(path);
    if (!text) return {};
    return SaveRecord::Parse(*text);
  } catch (const std::exception& error) {
    const std::string why = std::string("cannot be read (") + error.what() + ")";
    if (SetAside(report, path, why)) return {};
    // A record that can be neither read nor moved is not written over:
    // the run stops before it saves anything.
    throw std::system_error(std::make_error_code(std::errc::file_exists),
                            "the save record " + path + " " + why + " nor set aside");
  }
}

void LockSaveDirectory(const Reporter& report, const std::string& save_dir, std::optional<FileLock>& lock) {
  const std::string path = save_dir + std::string(kSaveLockName);
  try {
    lock.emplace(path);
  } catch (const std::system_error&) {
    // A link or anything but a file in the lock's place is moved away once.
    if (!PathExists(path) || RegularFileStamp(path) || !SetAside(report, path, "is no lock file")) throw;
    lock.emplace(path);
  }
  if (lock->Waited()) report.Debug("waited for another save into " + save_dir);
}

void WriteSaveRecord(const std::string& save_dir, const SaveRecord& found, const SaveRecord& added) {
  const std::string path = save_dir + std::string(kSaveRecordName);
  ReplacingFile file(path);
  added.WriteOver(found, [&file](std::string_view piece) { file.Write(piece); });
  file.Commit();
  HideFile(path);
}

}  // namespace qs
