#pragma once
// Outlook's "MAPI" namespace as one command holds it.

#include <optional>

#include "mailstore/mail_store.h"
#include "mailstore/message/save_message.h"
#include "mailstore/outlook/outlook_session.h"

namespace qs::outlook {

class OutlookStore : public MailStore {
 public:
  explicit OutlookStore(SessionPtr session) : session_(std::move(session)) {}

  std::unique_ptr<Folder> TopFolder(const std::string& name) override;
  std::unique_ptr<Folder> PickFolder() override;
  // Asks without a store first; where Outlook does not find the item so,
  // asks again with the identifier of each store in turn.
  std::unique_ptr<MailItem> GetItemFromID(const EntryId& entry_id) override;
  // Its MIME message files are made of its own message files, by the
  // program's writer.
  bool Writes(SaveType) const override { return true; }
  int WriterVersion(SaveType type) const override { return type == SaveType::Eml ? kEmlWriterVersion : 1; }

 private:
  const win32::Dispatch& TopFolders();

  SessionPtr session_;
  std::optional<win32::Dispatch> top_folders_;
};

}  // namespace qs::outlook
