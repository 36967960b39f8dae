#pragma once
// A mail store of the interface, kept in memory. Its items write small
// files that say what was saved, so the tests can check names and types on
// disk; each save is also logged.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "mailstore/mail_store.h"
#include "platform/file_system.h"

namespace qs::test {

struct FakeMail {
  std::string full_path = "//Mailbox/Inbox";  // of the folder it lies in
  int item_class = kMailItemClass;
  std::vector<std::string> attachments;        // their FileName texts
  bool refuse_unicode_msg = false;
};

struct SaveRecord {
  std::string path;
  int type;  // SaveAs type, or -1 for an attachment
};

class FakeStore : public MailStore {
 public:
  std::map<std::string, FakeMail> mails;  // by entry identifier
  std::vector<SaveRecord> saves;
  std::vector<std::string> fetched;
  // Called before each SaveAs, e.g. to look at the progress window.
  std::function<void()> on_save;

  std::unique_ptr<Folder> TopFolder(const std::string&) override {
    throw MailStoreError("no folders in the fake");
  }
  std::unique_ptr<Folder> PickFolder() override { return nullptr; }
  std::unique_ptr<MailItem> GetItemFromID(const std::string& entry_id) override;
};

class FakeFolder : public Folder {
 public:
  explicit FakeFolder(std::string full_path) : full_path_(std::move(full_path)) {}
  std::unique_ptr<Folder> Subfolder(const std::string&) override {
    throw MailStoreError("no subfolder");
  }
  std::int32_t SubfolderCount() override { return 0; }
  std::unique_ptr<Folder> SubfolderAt(std::int32_t) override { return nullptr; }
  std::int32_t ItemCount() override { return 0; }
  std::unique_ptr<MailItem> ItemAt(std::int32_t) override { return nullptr; }
  std::string FolderPath() override { return full_path_; }
  std::string FullPath() override {
    if (full_path_ == "!") throw MailStoreError("folder gone");
    return full_path_;
  }

 private:
  std::string full_path_;
};

class FakeAttachment : public Attachment {
 public:
  FakeAttachment(FakeStore& store, std::string name) : store_(store), name_(std::move(name)) {}
  std::string FileName() override { return name_; }
  void SaveAsFile(const std::string& path) override {
    WriteWholeFile(path, name_);
    store_.saves.push_back({path, -1});
  }

 private:
  FakeStore& store_;
  std::string name_;
};

class FakeItem : public MailItem {
 public:
  FakeItem(FakeStore& store, std::string id, FakeMail mail)
      : store_(store), id_(std::move(id)), mail_(std::move(mail)) {}
  int Class() override { return mail_.item_class; }
  DateTime SentOn() override { return {}; }
  DateTime ReceivedTime() override { return {}; }
  DateTime CreationTime() override { return {}; }
  bool Sent() override { return true; }
  std::string SenderEmailAddress() override { return {}; }
  std::string To() override { return {}; }
  std::string Subject() override { return {}; }
  std::string EntryID() override { return id_; }
  std::unique_ptr<Folder> Parent() override { return std::make_unique<FakeFolder>(mail_.full_path); }
  void SaveAs(const std::string& path, SaveType type) override {
    if (store_.on_save) store_.on_save();
    if (type == SaveType::MessageUnicode && mail_.refuse_unicode_msg)
      throw MailStoreError("Unicode messages are not supported");
    WriteWholeFile(path, id_ + " " + std::to_string(static_cast<int>(type)));
    store_.saves.push_back({path, static_cast<int>(type)});
  }
  std::int32_t AttachmentCount() override {
    return static_cast<std::int32_t>(mail_.attachments.size());
  }
  std::unique_ptr<Attachment> AttachmentAt(std::int32_t position) override {
    return std::make_unique<FakeAttachment>(
        store_, mail_.attachments.at(static_cast<std::size_t>(position - 1)));
  }

 private:
  FakeStore& store_;
  std::string id_;
  FakeMail mail_;
};

inline std::unique_ptr<MailItem> FakeStore::GetItemFromID(const std::string& entry_id) {
  fetched.push_back(entry_id);
  const auto found = mails.find(entry_id);
  if (found == mails.end()) throw MailStoreError("The operation failed. An object could not be found.");
  return std::make_unique<FakeItem>(*this, entry_id, found->second);
}

}  // namespace qs::test
