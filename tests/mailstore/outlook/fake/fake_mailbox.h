#pragma once
// The mailbox the fake Outlook serves: two stores with nested folders, mail,
// a report, a draft, attachments and an item that cannot be read.

#include <memory>
#include <string>
#include <vector>

namespace fake_outlook {

struct FakeFolder;

struct FakeAttachment {
  std::wstring file_name;
};

struct FakeItem {
  int item_class = 43;
  std::wstring entry_id;
  double created = 0, sent_on = 0, received = 0;  // automation dates
  bool sent = true;
  std::wstring sender, to, subject;
  std::vector<FakeAttachment> attachments;
  // Outlook refuses to read the item's texts (a damaged or locked item).
  bool unreadable = false;
  FakeFolder* parent = nullptr;
};

struct FakeFolder {
  std::wstring name;
  FakeFolder* parent = nullptr;
  std::wstring store_id;  // of the store it belongs to
  std::vector<std::unique_ptr<FakeFolder>> folders;
  std::vector<std::shared_ptr<FakeItem>> items;

  std::wstring Path() const;
  FakeFolder& AddFolder(std::wstring folder_name);
  FakeItem& AddItem(FakeItem item);
};

struct Mailbox {
  std::vector<std::unique_ptr<FakeFolder>> stores;

  // The store whose items GetItemFromID finds without a store identifier.
  FakeFolder& DefaultStore() { return *stores.front(); }
  FakeFolder* FindPath(const std::wstring& path);
  std::shared_ptr<FakeItem> FindItem(const std::wstring& entry_id, const FakeFolder& store);
  bool DeleteItem(const std::wstring& entry_id);
};

// The fixture every test starts from.
std::unique_ptr<Mailbox> MakeFixture();

// An automation date from a civil date-time (days since 30 December 1899).
double OleDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

}  // namespace fake_outlook
