#pragma once
// An item of an Outlook folder. Each property is asked of Outlook once and
// kept: the search reads the dates more than once, and every read is a
// call into another process.

#include <optional>

#include "mailstore/mail_store.h"
#include "mailstore/outlook/outlook_session.h"

namespace qs::outlook {

class OutlookItem : public MailItem {
 public:
  // An item fetched by its entry identifier is not asked for it again.
  OutlookItem(SessionPtr session, win32::ComPtr<IDispatch> item,
              std::optional<EntryId> entry_id = std::nullopt);

  int Class() override;
  DateTime SentOn() override;
  DateTime ReceivedTime() override;
  DateTime CreationTime() override;
  bool Sent() override;
  std::string SenderEmailAddress() override;
  std::string To() override;
  std::string Subject() override;
  EntryId EntryID() override;
  DateTime LastModificationTime() override;
  std::int64_t Size() override;
  std::unique_ptr<Folder> Parent() override;
  std::optional<FileStamp> SaveAs(const std::string& path, SaveType type) override;
  std::int32_t AttachmentCount() override;
  std::unique_ptr<Attachment> AttachmentAt(std::int32_t position) override;

 private:
  FileStamp SaveAsEml(const std::string& path);
  // The item with the member names of its class.
  const win32::Dispatch& Typed();
  DateTime ReadDate(std::optional<DateTime>& slot, const char* name);
  std::string ReadText(std::optional<std::string>& slot, const char* name);
  const win32::Dispatch& Attachments();

  SessionPtr session_;
  win32::Dispatch item_;
  std::optional<win32::Dispatch> typed_;
  std::optional<int> class_;
  std::optional<DateTime> sent_on_, received_, created_, modified_;
  std::optional<bool> sent_;
  std::optional<std::string> sender_, to_, subject_;
  std::optional<EntryId> entry_id_;
  std::optional<win32::Dispatch> attachments_;
  std::optional<std::int32_t> attachment_count_;
  std::optional<std::int64_t> size_;
};

}  // namespace qs::outlook
