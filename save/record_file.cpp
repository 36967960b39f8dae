#include "save/record_file.h"

#include <chrono>
#include <cstdio>
#include <system_error>

#include "platform/application.h"
#include "platform/file_system.h"

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

}  // namespace

SaveRecord ReadSaveRecord(const Application& app, const std::string& save_dir) {
  const std::string path = save_dir + std::string(kSaveRecordName);
  try {
    const std::optional<std::string> text = ReadRegularFile(path);
    if (!text) return {};
    return SaveRecord::Parse(*text);
  } catch (const std::exception& error) {
    const std::string aside = SetAsideName(path);
    for (int number = 1; number < 100; ++number) {
      const std::string name = number == 1 ? aside : aside + " (" + std::to_string(number) + ")";
      try {
        RenameEntry(path, name);
        app.Debug("the save record " + path + " cannot be read (" + error.what() + "); set aside as " + name);
        return {};
      } catch (const std::system_error&) {
        if (!PathExists(name)) break;
      }
    }
    // A record that can be neither read nor moved is not written over:
    // the run stops before it saves anything.
    throw std::system_error(std::make_error_code(std::errc::file_exists),
                            "the save record " + path + " cannot be read (" + error.what() +
                                ") nor set aside");
  }
}

void WriteSaveRecord(const std::string& save_dir, const SaveRecord& found, const SaveRecord& added) {
  const std::string path = save_dir + std::string(kSaveRecordName);
  WriteWholeFile(path, added.TextOver(found));
  HideFile(path);
}

}  // namespace qs
