#include "mailstore/folder_path.h"

#include "platform/reporter.h"

namespace qs {

namespace {

// Splits off the name before the first backslash of rest.
std::string NextName(std::string_view& rest) {
  const auto end = rest.find('\\');
  std::string name(rest.substr(0, end));
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return name;
}

}  // namespace

std::unique_ptr<Folder> GetFolderFromPath(Reporter& report, MailStore& store,
                                          std::string_view path) {
  if (path.substr(0, 2) != "\\\\") {
    report.Tell("Error: folder path should start with \\\\");
    return nullptr;
  }
  std::string_view rest = path.substr(2);
  try {
    std::unique_ptr<Folder> folder = store.TopFolder(NextName(rest));
    while (!rest.empty()) folder = folder->Subfolder(NextName(rest));
    return folder;
  } catch (const std::exception& error) {
    report.Debug(std::string("folder path ") + std::string(path) + ": " + error.what());
    return nullptr;
  }
}

std::optional<std::string> GetMailFolder(Reporter& report, const MailStoreOpener& open) {
  try {
    std::unique_ptr<MailStore> store = open(report);
    std::unique_ptr<Folder> folder = store->PickFolder();
    if (!folder) return std::nullopt;
    return folder->FolderPath();
  } catch (const std::exception& error) {
    report.Debug(std::string("folder picker: ") + error.what());
    // Where the user looks (a terminal), why no folder could be chosen.
    report.Summary(std::string("no folder to choose: ") + error.what(), true);
    return std::nullopt;
  }
}

}  // namespace qs
