#include "mailstore/dirstore/mail_root.h"
#include "mailstore/open_mail_store.h"
#include "mailstore/pststore/code_page.h"
#include "mailstore/pststore/mail_root_store.h"

namespace qs {

std::unique_ptr<MailStore> OpenMailStore(Application& app) {
  return std::make_unique<pststore::MailRootStore>(app, dirstore::FindMailRoot(),
                                                   pststore::SystemAnsiCodePage());
}

}  // namespace qs
