#pragma once
// An Outlook folder (MAPIFolder). Its collections, counts and path are read
// once and kept for the rest of the command.

#include <optional>

#include "mailstore/mail_store.h"
#include "mailstore/outlook/item_cursor.h"
#include "mailstore/outlook/outlook_session.h"

namespace qs::outlook {

class OutlookFolder : public Folder {
 public:
  OutlookFolder(SessionPtr session, win32::ComPtr<IDispatch> folder);

  std::unique_ptr<Folder> Subfolder(const std::string& name) override;
  std::int32_t SubfolderCount() override;
  std::unique_ptr<Folder> SubfolderAt(std::int32_t position) override;
  std::int32_t ItemCount() override;
  std::unique_ptr<MailItem> ItemAt(std::int32_t position) override;
  std::string FolderPath() override;
  std::string FullPath() override;

 private:
  const win32::Dispatch& Folders();
  const win32::Dispatch& Items();

  SessionPtr session_;
  win32::Dispatch folder_;
  std::optional<win32::Dispatch> folders_;
  std::optional<win32::Dispatch> items_;
  std::optional<std::int32_t> folder_count_;
  std::optional<std::int32_t> item_count_;
  std::optional<std::string> path_;
  ItemCursor cursor_;
};

}  // namespace qs::outlook
