#pragma once
// Writing the mail item of one list row in the chosen output format.

#include <cstdint>
#include <string>
#include <unordered_set>

#include "save/name_claims.h"
#include "settings/option_values.h"

namespace qs {

class Application;
class FoundItems;
class MailStore;

// What stays the same for every item of one save run.
struct SaveRun {
  Application& app;
  MailStore& store;
  const SaveOptions& settings;
  NameClaims names;
  std::unordered_set<std::string> swept;  // directories cleared of stale temporary files
};

// Saves the found item of the list's row into save_dir (which ends in the separator), in
// two stages. Stage 1 builds the name, fetches the item by its entry
// identifier and makes its subdirectory; an item that can no longer be
// fetched is not saved, other errors leave as exceptions and end the run.
// Stage 2 writes the files; a step that fails there is passed over and the
// next one runs. Every failure's reason goes to the diagnostic output. True
// when every file of the item was written; false too for an unknown output
// format, after its message.
bool SaveItem(SaveRun& run, const std::string& mail_folder, const FoundItems& list,
              std::int32_t row, const std::string& save_dir);

}  // namespace qs
