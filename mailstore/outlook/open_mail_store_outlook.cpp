// Each command attaches to Outlook anew and lets go of it at its end: the
// store, and every folder and item taken from it, share one session that
// ends with the last of them.

#include "mailstore/open_mail_store.h"
#include "mailstore/outlook/outlook_error.h"
#include "mailstore/outlook/outlook_store.h"

namespace qs {

// Outlook decodes its own texts: the store options have nothing for it.
std::unique_ptr<MailStore> OpenMailStoreWith(Reporter&, const StoreOptions&) {
  return outlook::Guarded([]() -> std::unique_ptr<MailStore> {
    return std::make_unique<outlook::OutlookStore>(outlook::Session::Attach());
  });
}

}  // namespace qs
