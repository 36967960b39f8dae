#pragma once
// A mail store held in memory: a tree of folders for the search, and items by
// entry identifier for the save. A saved item or attachment is a small file
// saying what was saved, and the store's log records each save.

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "mailstore/mail_store.h"
#include "platform/file_system.h"

namespace qs::testing {

struct FakeMail {
  int item_class = kMailItemClass;
  DateTime sent_on = NoDate(), received = NoDate(), created = NoDate();
  bool sent = true;
  std::string sender{}, to{}, subject{}, entry_id{};
  std::string folder = "\\\\Mailbox\\Inbox";  // its parent's FolderPath
  std::vector<std::string> attachments{};     // their file names
  DateTime modified = NoDate();               // LastModificationTime
  std::int64_t size = 0;
  std::string body{};      // written into every saved file
  std::string identity{};  // empty: the entry identifier
  // Every property throws: MailStoreError, ItemGone, ItemUnreadable.
  bool unreadable = false, gone = false, damaged = false;
  bool refuse_unicode_msg = false;
};

struct FakeFolderData {
  std::string name;
  std::vector<FakeMail> items;
  std::vector<std::shared_ptr<FakeFolderData>> subfolders;
  bool unreadable = false;  // listing its items throws

  FakeFolderData& Add(std::string child_name) {
    subfolders.push_back(std::make_shared<FakeFolderData>());
    subfolders.back()->name = std::move(child_name);
    return *subfolders.back();
  }
};

// What was done with a store's items, shared by its copies and their threads.
struct FakeStoreLog {
  std::mutex mutex;                                // held while either list grows
  std::vector<std::string> fetched;                // the identifiers asked for
  std::vector<std::pair<std::string, int>> saves;  // path and SaveAs type
  std::function<void()> on_save;                   // called before each SaveAs
};

struct FakeAttachment : Attachment {
  explicit FakeAttachment(std::string file_name) : name(std::move(file_name)) {}
  std::string FileName() override { return name; }
  std::optional<FileStamp> SaveAsFile(const std::string& path) override { return WriteWholeFile(path, name); }
  std::string name;
};

class FakeItem : public MailItem {
 public:
  explicit FakeItem(FakeMail mail, std::shared_ptr<FakeStoreLog> log = std::make_shared<FakeStoreLog>())
      : mail_(std::move(mail)), log_(std::move(log)) {}
  int Class() override { return Check().item_class; }
  DateTime SentOn() override { return Check().sent_on; }
  DateTime ReceivedTime() override { return Check().received; }
  DateTime CreationTime() override { return Check().created; }
  bool Sent() override { return Check().sent; }
  std::string SenderEmailAddress() override { return Check().sender; }
  std::string To() override { return Check().to; }
  std::string Subject() override { return Check().subject; }
  EntryId EntryID() override { return EntryId(Check().entry_id); }
  DateTime LastModificationTime() override { return Check().modified; }
  std::int64_t Size() override { return Check().size; }
  std::string Identity() override { return Check().identity.empty() ? mail_.entry_id : mail_.identity; }
  std::unique_ptr<Folder> Parent() override;
  std::optional<FileStamp> SaveAs(const std::string& path, SaveType type) override {
    if (log_->on_save) log_->on_save();
    if (type == SaveType::MessageUnicode && Check().refuse_unicode_msg)
      throw MailStoreError("Unicode messages are not supported");
    const FileStamp stamp =
        WriteWholeFile(path, mail_.entry_id + " " + std::to_string(static_cast<int>(type)) + mail_.body);
    const std::lock_guard lock(log_->mutex);
    log_->saves.emplace_back(path, static_cast<int>(type));
    return stamp;
  }
  std::int32_t AttachmentCount() override { return static_cast<std::int32_t>(Check().attachments.size()); }
  std::unique_ptr<Attachment> AttachmentAt(std::int32_t position) override {
    return std::make_unique<FakeAttachment>(
        Check().attachments.at(static_cast<std::size_t>(position - 1)));
  }

 private:
  const FakeMail& Check() const {
    if (mail_.unreadable) throw MailStoreError("The item cannot be read.");
    if (mail_.gone) throw ItemGone("The item was moved or deleted.");
    if (mail_.damaged) throw ItemUnreadable("The item is damaged.");
    return mail_;
  }
  FakeMail mail_;
  std::shared_ptr<FakeStoreLog> log_;
};

class FakeFolder : public Folder {
 public:
  FakeFolder(std::shared_ptr<FakeFolderData> data, std::string path)
      : data_(std::move(data)), path_(std::move(path)) {}
  std::unique_ptr<Folder> Subfolder(const std::string& name) override {
    for (const auto& child : data_->subfolders)
      if (child->name == name) return std::make_unique<FakeFolder>(child, path_ + "\\" + name);
    throw MailStoreError("The operation failed. An object could not be found.");
  }
  std::int32_t SubfolderCount() override { return static_cast<std::int32_t>(data_->subfolders.size()); }
  std::unique_ptr<Folder> SubfolderAt(std::int32_t position) override {
    const auto& child = data_->subfolders.at(static_cast<std::size_t>(position - 1));
    return std::make_unique<FakeFolder>(child, path_ + "\\" + child->name);
  }
  std::int32_t ItemCount() override {
    if (data_->unreadable) throw MailStoreError("The folder cannot be read.");
    return static_cast<std::int32_t>(data_->items.size());
  }
  std::unique_ptr<MailItem> ItemAt(std::int32_t position) override {
    FakeMail mail = data_->items.at(static_cast<std::size_t>(position - 1));
    mail.folder = path_;
    return std::make_unique<FakeItem>(std::move(mail));
  }
  std::string FolderPath() override { return path_; }
  std::string FullPath() override {
    std::string path = path_;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
  }

 private:
  std::shared_ptr<FakeFolderData> data_;
  std::string path_;
};

inline std::unique_ptr<Folder> FakeItem::Parent() {
  return std::make_unique<FakeFolder>(std::make_shared<FakeFolderData>(), Check().folder);
}

// Top-level folders by name, looked up by exact name.
class FakeMailStore : public MailStore {
 public:
  FakeFolderData& AddStore(const std::string& name) { return root_->Add(name); }
  std::unique_ptr<Folder> TopFolder(const std::string& name) override {
    ++lookups;
    return FakeFolder(root_, "\\").Subfolder(name);
  }
  bool ItemsInParallel() const override { return parallel; }
  int WriterVersion(SaveType) const override { return writer; }
  std::unique_ptr<Folder> PickFolder() override {
    if (picked.empty()) return nullptr;
    return std::make_unique<FakeFolder>(std::make_shared<FakeFolderData>(), picked);
  }
  std::unique_ptr<MailItem> GetItemFromID(const EntryId& entry_id) override {
    {
      const std::lock_guard lock(log->mutex);
      log->fetched.push_back(entry_id.Bytes());
    }
    const auto found = mails.find(entry_id.Bytes());
    if (found == mails.end()) throw MailStoreError("The operation failed. An object could not be found.");
    FakeMail mail = found->second;
    mail.entry_id = entry_id.Bytes();
    return std::make_unique<FakeItem>(std::move(mail), log);
  }

  std::string picked;  // the chosen folder's path; empty = none chosen
  bool parallel = false;
  int writer = 1;
  int lookups = 0;
  std::map<std::string, FakeMail> mails;  // what GetItemFromID finds, by its entry identifier's bytes
  std::shared_ptr<FakeStoreLog> log = std::make_shared<FakeStoreLog>();

 private:
  std::shared_ptr<FakeFolderData> root_ = std::make_shared<FakeFolderData>();
};

}  // namespace qs::testing
