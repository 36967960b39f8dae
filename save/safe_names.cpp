#include "save/safe_names.h"

#include <array>

#include "platform/file_system.h"
#include "platform/system.h"
#include "platform/text.h"
#include "save/item_name.h"

namespace qs {

namespace {

// A leading "_" takes a device name out of the way.
std::string WithUnderscore(std::string_view name) {
  std::string safe = "_";
  safe.append(name);
  return safe;
}

bool DotsOnly(std::string_view name) { return name.find_first_not_of('.') == std::string::npos; }

// Where a leading dot hides an entry, a saved mail must not be hidden.
bool HiddenByItsName(std::string_view name) {
  return LeadingDotHides() && !name.empty() && name.front() == '.';
}

}  // namespace

bool IsDeviceName(std::string_view name) {
  // Windows looks at the part before the first dot, trailing blanks ignored.
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  static constexpr std::array<std::string_view, 6> kFixed = {"CON", "PRN",   "AUX",
                                                              "NUL", "CONIN$", "CONOUT$"};
  for (const auto device : kFixed)
    if (EqualsIgnoringAsciiCase(stem, device)) return true;
  if (stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9')
    return EqualsIgnoringAsciiCase(stem.substr(0, 3), "COM") ||
           EqualsIgnoringAsciiCase(stem.substr(0, 3), "LPT");
  return false;
}

std::string SafeEntryName(std::string_view name) {
  if (DotsOnly(name)) return std::string(name.empty() ? 1 : name.size(), '_');
  std::string safe(name);
  safe.erase(safe.find_last_not_of(". ") + 1);
  if (safe.empty()) return "_";
  return IsDeviceName(safe) || HiddenByItsName(safe) ? WithUnderscore(safe) : safe;
}

std::string SafeSubfolder(const std::string& subfolder) {
  const char separator = PathSeparator();
  std::string safe;
  std::size_t from = 0;
  while (from <= subfolder.size()) {
    std::size_t end = subfolder.find(separator, from);
    if (end == std::string::npos) end = subfolder.size();
    if (end > from) {
      if (!safe.empty()) safe += separator;
      // Folder names may hold characters Windows cannot keep in a file name;
      // they are cleaned like a base name, so the tree can be written anywhere.
      safe += SafeEntryName(CleanFileName(subfolder.substr(from, end - from)));
    }
    from = end + 1;
  }
  return safe;
}

std::string SafeFileBaseName(const std::string& base, std::string_view extension) {
  std::string name = base;
  name.append(extension);
  return IsDeviceName(name) || HiddenByItsName(name) ? WithUnderscore(base) : base;
}

}  // namespace qs
