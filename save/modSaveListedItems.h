#pragma once
// The Save command: every row of the list written into the save directory.

#include <string>

#include "mailstore/open_mail_store.h"
#include "settings/option_values.h"

namespace qs {

class Application;
class FoundItems;

// Checks the boxes and the list, opens the mail store, shows the progress
// window and saves the rows in list order. Every outcome is reported inside
// by a message box: a blank box or an empty list; "Error saving email." when
// the run had to stop; "N of M emails could not be saved." when some item
// was not written whole. A stop asked for from outside (InterruptionWatch)
// or by the progress window's Cancel ends the run after the item at hand,
// with "Stopped after N of M." (a failure) and the rows left counted as not
// reached; the record keeps the rows done. save_dir is the "Save to:" text
// as the user typed it; a separator is appended here when it lacks one.
void SaveListedItems(Application& app, const MailStoreOpener& open_store,
                     const std::string& mail_folder, const FoundItems& list, std::string save_dir,
                     const SaveOptions& settings);

}  // namespace qs
