#include "mailstore/dirstore/folder_chooser.h"

#include <optional>
#include <string>

#include "platform/reporter.h"
#include "platform/text.h"

namespace qs::dirstore {

namespace {

void AddFolderPaths(Folder& folder, std::vector<std::unique_ptr<Folder>>& all) {
  const std::int32_t count = folder.SubfolderCount();
  for (std::int32_t position = 1; position <= count; ++position) {
    all.push_back(folder.SubfolderAt(position));
    AddFolderPaths(*all.back(), all);
  }
}

std::optional<std::size_t> ChosenNumber(const std::string& answer, std::size_t count) {
  const std::string_view digits = TrimBlanks(answer);
  if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  const auto number = static_cast<std::size_t>(std::stoul(std::string(digits)));
  if (number < 1 || number > count) return std::nullopt;
  return number;
}

}  // namespace

std::vector<std::unique_ptr<Folder>> AllFolders(std::vector<std::unique_ptr<Folder>> tops) {
  std::vector<std::unique_ptr<Folder>> all;
  for (std::unique_ptr<Folder>& top : tops) {
    all.push_back(std::move(top));
    AddFolderPaths(*all.back(), all);
  }
  return all;
}

std::unique_ptr<Folder> ChooseFolder(Reporter& report, std::vector<std::unique_ptr<Folder>> tops) {
  std::vector<std::unique_ptr<Folder>> all = AllFolders(std::move(tops));
  if (all.empty()) throw MailStoreError("the mail root holds no folders");
  std::string prompt;
  for (std::size_t i = 0; i < all.size(); ++i)
    prompt += std::to_string(i + 1) + " " + all[i]->FolderPath() + "\n";
  prompt += "Number of the folder:";
  const std::optional<std::string> answer = report.Ask(prompt, "Select Folder");
  if (!answer) return nullptr;
  const auto number = ChosenNumber(*answer, all.size());
  if (!number) return nullptr;
  return std::move(all[*number - 1]);
}

}  // namespace qs::dirstore
