#include "mailstore/mailroot/mail_root.h"
#include "mailstore/mailroot/mail_root_store.h"
#include "mailstore/open_mail_store.h"
#include "mailstore/properties/code_page.h"
#include "platform/reporter.h"

namespace qs {

std::unique_ptr<MailStore> OpenMailStoreWith(Reporter& report, const StoreOptions& options) {
  std::uint32_t code_page = SystemAnsiCodePage();
  if (!options.ansi_code_page.empty()) {
    if (const auto chosen = CodePageSetting(options.ansi_code_page))
      code_page = *chosen;
    else
      report.ReportFailure("The settings file's AnsiCodePage=" + options.ansi_code_page +
                        " names no code page known here; texts of older Outlook data files are read in code page " +
                        std::to_string(code_page) + ".");
  }
  return std::make_unique<mailroot::MailRootStore>(report, mailroot::FindMailRoot(), code_page);
}

}  // namespace qs
