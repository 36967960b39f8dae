#pragma once
// Outlook's failures leave the binding as MailStoreError, with the
// operation's name and Outlook's own description.

#include <string>
#include <utility>

#include "mailstore/mail_store.h"
#include "platform/win32/com_error.h"

namespace qs::outlook {

// An object Outlook returned, where Nothing would be a failure.
template <class Pointer>
Pointer Required(Pointer object, const std::string& what) {
  if (!object) throw MailStoreError(what + ": Outlook returned no object");
  return object;
}

template <class Body>
auto Guarded(Body&& body) -> decltype(body()) {
  try {
    return std::forward<Body>(body)();
  } catch (const win32::ComError& error) {
    throw MailStoreError(error.what());
  }
}

}  // namespace qs::outlook
