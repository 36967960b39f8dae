#pragma once
// An attachment of an Outlook item.

#include "mailstore/mail_store.h"
#include "mailstore/outlook/outlook_session.h"

namespace qs::outlook {

class OutlookAttachment : public Attachment {
 public:
  OutlookAttachment(win32::Dispatch attachment, SessionPtr session)
      : session_(std::move(session)), attachment_(std::move(attachment)) {}

  std::string FileName() override;
  std::optional<FileStamp> SaveAsFile(const std::string& path) override;

 private:
  SessionPtr session_;
  win32::Dispatch attachment_;
};

}  // namespace qs::outlook
