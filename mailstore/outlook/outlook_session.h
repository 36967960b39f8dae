#pragma once
// What one command holds of Outlook: COM for the thread, the application,
// its "MAPI" namespace, and the names already looked up for each kind of
// object. Every folder and item of the command shares it, so it goes away
// only after the last of them, whatever order the caller drops them in.

#include <map>
#include <memory>

#include "platform/win32/com_dispatch.h"
#include "platform/win32/com_init.h"

namespace qs::outlook {

struct Kinds {
  std::shared_ptr<win32::DispIdCache> name_space = Make("NameSpace");
  std::shared_ptr<win32::DispIdCache> folders = Make("Folders");
  std::shared_ptr<win32::DispIdCache> folder = Make("MAPIFolder");
  std::shared_ptr<win32::DispIdCache> items = Make("Items");
  // Any item, for Class alone: other members are looked up per class, since
  // a report and a mail item need not number their members alike.
  std::shared_ptr<win32::DispIdCache> item = Make("Item");
  std::shared_ptr<win32::DispIdCache> attachments = Make("Attachments");
  std::shared_ptr<win32::DispIdCache> attachment = Make("Attachment");
  std::map<int, std::shared_ptr<win32::DispIdCache>> by_class;

  const std::shared_ptr<win32::DispIdCache>& ItemOfClass(int item_class);

 private:
  static std::shared_ptr<win32::DispIdCache> Make(const char* kind) {
    return std::make_shared<win32::DispIdCache>(kind);
  }
};

class Session {
 public:
  // Attaches to Outlook; throws win32::ComError when it cannot.
  static std::shared_ptr<Session> Attach();

  Kinds& kinds() { return kinds_; }
  const win32::Dispatch& Namespace() const { return name_space_; }

 private:
  explicit Session(win32::ComApartment apartment) : apartment_(std::move(apartment)) {}

  // Declared first, so COM outlives every object below.
  win32::ComApartment apartment_;
  Kinds kinds_;
  win32::Dispatch application_;
  win32::Dispatch name_space_;
};

using SessionPtr = std::shared_ptr<Session>;

}  // namespace qs::outlook
