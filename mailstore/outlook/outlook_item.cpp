#include "mailstore/outlook/outlook_item.h"

#include <windows.h>

#include "mailstore/properties/code_page.h"
#include "mailstore/properties/message_file_eml.h"

#include "mailstore/outlook/ole_date.h"
#include "mailstore/outlook/outlook_attachment.h"
#include "mailstore/outlook/outlook_error.h"
#include "mailstore/outlook/outlook_folder.h"
#include "platform/file_system.h"
#include "platform/temporary_name.h"

namespace qs::outlook {

namespace {

std::string Operation(const win32::Dispatch& object, const char* name) {
  return object.Cache()->Kind() + "." + name;
}

// A file Outlook writes for the program to read, gone when it is read.
struct ScratchFile {
  explicit ScratchFile(std::string file) : path(std::move(file)) {}
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  ~ScratchFile() { RemoveEntry(path); }
  std::string path;
};

}  // namespace

OutlookItem::OutlookItem(SessionPtr session, win32::ComPtr<IDispatch> item,
                         std::optional<EntryId> entry_id)
    : session_(std::move(session)),
      item_(std::move(item), session_->kinds().item),
      entry_id_(std::move(entry_id)) {}

int OutlookItem::Class() {
  return Guarded([&] {
    if (!class_) class_ = item_.Get("Class").ToInt32("Item.Class");
    return *class_;
  });
}

const win32::Dispatch& OutlookItem::Typed() {
  if (!typed_) typed_ = item_.WithCache(session_->kinds().ItemOfClass(Class()));
  return *typed_;
}

DateTime OutlookItem::ReadDate(std::optional<DateTime>& slot, const char* name) {
  return Guarded([&] {
    if (!slot) slot = FromOleDate(Typed().Get(name).ToDate(Operation(Typed(), name)));
    return *slot;
  });
}

std::string OutlookItem::ReadText(std::optional<std::string>& slot, const char* name) {
  return Guarded([&] {
    if (!slot) slot = Typed().Get(name).ToUtf8(Operation(Typed(), name));
    return *slot;
  });
}

DateTime OutlookItem::SentOn() { return ReadDate(sent_on_, "SentOn"); }
DateTime OutlookItem::ReceivedTime() { return ReadDate(received_, "ReceivedTime"); }
DateTime OutlookItem::CreationTime() { return ReadDate(created_, "CreationTime"); }
DateTime OutlookItem::LastModificationTime() { return ReadDate(modified_, "LastModificationTime"); }

std::int64_t OutlookItem::Size() {
  return Guarded([&] {
    if (!size_) size_ = Typed().Get("Size").ToInt32(Operation(Typed(), "Size"));
    return *size_;
  });
}

bool OutlookItem::Sent() {
  return Guarded([&] {
    if (!sent_) sent_ = Typed().Get("Sent").ToBool(Operation(Typed(), "Sent"));
    return *sent_;
  });
}

std::string OutlookItem::SenderEmailAddress() { return ReadText(sender_, "SenderEmailAddress"); }
std::string OutlookItem::To() { return ReadText(to_, "To"); }
std::string OutlookItem::Subject() { return ReadText(subject_, "Subject"); }
// Outlook gives its identifiers as hexadecimal text.
EntryId OutlookItem::EntryID() {
  return Guarded([&] {
    if (!entry_id_) {
      const std::string text = Typed().Get("EntryID").ToUtf8(Operation(Typed(), "EntryID"));
      entry_id_ = EntryId::FromHex(text);
      if (!entry_id_) throw MailStoreError(Operation(Typed(), "EntryID") + ": not hexadecimal: " + text);
    }
    return *entry_id_;
  });
}

std::unique_ptr<Folder> OutlookItem::Parent() {
  return Guarded([&] {
    return std::make_unique<OutlookFolder>(
        session_, Required(Typed().Get("Parent").ToDispatch("Item.Parent"), "Item.Parent"));
  });
}

std::optional<FileStamp> OutlookItem::SaveAs(const std::string& path, SaveType type) {
  if (type == SaveType::Eml) return SaveAsEml(path);
  Guarded([&] { Typed().Call("SaveAs", path, static_cast<std::int32_t>(type)); });
  return std::nullopt;
}

// Outlook writes no MIME message files: its own message file, written
// beside the final name under a temporary one (a killed run's leftover is
// cleared as any other), is read and written again as one.
FileStamp OutlookItem::SaveAsEml(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  const ScratchFile scratch(path.substr(0, slash == std::string::npos ? 0 : slash + 1) +
                            TemporaryName(static_cast<long>(GetCurrentProcessId()), UnguessableNumber()));
  Guarded([&] {
    Typed().Call("SaveAs", scratch.path, static_cast<std::int32_t>(SaveType::MessageUnicode));
  });
  std::optional<std::string> message_file = ReadRegularFile(scratch.path);
  if (!message_file) throw MailStoreError("Outlook wrote no message file of the item to make " + path + " of");
  return SaveMessageFileAsEml(std::move(*message_file), TextDecoding{SystemAnsiCodePage()}, path);
}

const win32::Dispatch& OutlookItem::Attachments() {
  if (!attachments_)
    attachments_ = Typed().GetObject(session_->kinds().attachments, "Attachments");
  return *attachments_;
}

std::int32_t OutlookItem::AttachmentCount() {
  return Guarded([&] {
    if (!attachment_count_)
      attachment_count_ = Attachments().Get("Count").ToInt32("Attachments.Count");
    return *attachment_count_;
  });
}

std::unique_ptr<Attachment> OutlookItem::AttachmentAt(std::int32_t position) {
  return Guarded([&]() -> std::unique_ptr<Attachment> {
    win32::ComPtr<IDispatch> attachment =
        Required(Attachments().Get("Item", position).ToDispatch("Attachments.Item"),
                 "Attachments.Item(" + std::to_string(position) + ")");
    return std::make_unique<OutlookAttachment>(
        win32::Dispatch(std::move(attachment), session_->kinds().attachment), session_);
  });
}

}  // namespace qs::outlook
