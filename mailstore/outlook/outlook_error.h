#pragma once
// Outlook's failures leave the binding as MailStoreError, with the
// operation's name and Outlook's own description.

#include <utility>

#include "mailstore/mail_store.h"
#include "platform/win32/com_error.h"

namespace qs::outlook {

template <class Body>
auto Guarded(Body&& body) -> decltype(body()) {
  try {
    return std::forward<Body>(body)();
  } catch (const win32::ComError& error) {
    throw MailStoreError(error.what());
  }
}

}  // namespace qs::outlook
