#include "mailstore/outlook/outlook_session.h"

#include <string>

namespace qs::outlook {

const std::shared_ptr<win32::DispIdCache>& Kinds::ItemOfClass(int item_class) {
  auto& cache = by_class[item_class];
  if (!cache) cache = Make(item_class == 43 ? "MailItem" : "Item");
  return cache;
}

std::shared_ptr<Session> Session::Attach() {
  std::shared_ptr<Session> session(new Session(win32::InitializeCom()));
  session->application_ = win32::Dispatch::Create("Outlook.Application");
  session->name_space_ =
      session->application_.GetObject(session->kinds_.name_space, "GetNamespace", "MAPI");
  return session;
}

}  // namespace qs::outlook
