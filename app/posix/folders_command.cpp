#include "app/posix/folders_command.h"

#include <exception>

#include "app/frmMain.h"
#include "app/posix/command_output.h"
#include "mailstore/dirstore/folder_chooser.h"
#include "mailstore/open_mail_store.h"
#include "platform/application.h"
#include "settings/frmOptions.h"

namespace qs {

void RunFoldersCommand(Application& app, frmMain& main, std::ostream& out) {
  std::string text;
  try {
    const std::unique_ptr<MailStore> store = OpenMailStoreWith(app, main.Options().CurrentStoreOptions());
    for (const std::unique_ptr<Folder>& folder : dirstore::AllFolders(store->TopLevelFolders()))
      text += folder->FolderPath() + '\n';
  } catch (const std::exception& error) {
    app.ReportFailure(std::string("The mail folders could not be listed: ") + error.what());
    return;
  }
  WriteCommandOutput(app, kStandardOutput, text, out);
}

}  // namespace qs
