#include "save/item_subfolder.h"

#include "platform/system.h"
#include "platform/text.h"

namespace qs {

std::string StripLeading(std::string text, char c) {
  const auto first = text.find_first_not_of(c);
  return first == std::string::npos ? std::string() : text.substr(first);
}

std::string StripTrailing(std::string text, char c) {
  const auto last = text.find_last_not_of(c);
  text.erase(last == std::string::npos ? 0 : last + 1);
  return text;
}

std::string ItemSubfolder(const std::string& mail_folder, const std::string& folder_path) {
  std::string rest(Utf16Suffix(folder_path, Utf16Length(mail_folder)));
  rest = StripTrailing(StripLeading(std::move(rest), '/'), '/');
  const char separator = PathSeparator();
  for (char& c : rest)
    if (c == '/') c = separator;
  return rest;
}

}  // namespace qs
