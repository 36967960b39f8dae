#include "mailstore/dirstore/dir_store.h"
#include "mailstore/dirstore/mail_root.h"
#include "mailstore/open_mail_store.h"

namespace qs {

std::unique_ptr<MailStore> OpenMailStore(Application& app) {
  return std::make_unique<dirstore::DirStore>(app, dirstore::FindMailRoot());
}

}  // namespace qs
