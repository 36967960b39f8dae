#include "fake_mailbox.h"

#include <windows.h>
#include <oleauto.h>

namespace fake_outlook {

std::wstring FakeFolder::Path() const {
  return parent ? parent->Path() + L"\\" + name : L"\\\\" + name;
}

FakeFolder& FakeFolder::AddFolder(std::wstring folder_name) {
  auto folder = std::make_unique<FakeFolder>();
  folder->name = std::move(folder_name);
  folder->parent = this;
  folder->store_id = store_id;
  folders.push_back(std::move(folder));
  return *folders.back();
}

FakeItem& FakeFolder::AddItem(FakeItem item) {
  item.parent = this;
  items.push_back(std::make_shared<FakeItem>(std::move(item)));
  return *items.back();
}

FakeFolder* Mailbox::FindPath(const std::wstring& path) {
  for (auto& store : stores) {
    std::vector<FakeFolder*> pending{store.get()};
    while (!pending.empty()) {
      FakeFolder* folder = pending.back();
      pending.pop_back();
      if (folder->Path() == path) return folder;
      for (auto& child : folder->folders) pending.push_back(child.get());
    }
  }
  return nullptr;
}

namespace {

template <class Visit>
bool ForEachFolder(FakeFolder& folder, const Visit& visit) {
  if (visit(folder)) return true;
  for (auto& child : folder.folders)
    if (ForEachFolder(*child, visit)) return true;
  return false;
}

}  // namespace

std::shared_ptr<FakeItem> Mailbox::FindItem(const std::wstring& entry_id,
                                            const FakeFolder& store) {
  std::shared_ptr<FakeItem> found;
  ForEachFolder(const_cast<FakeFolder&>(store), [&](FakeFolder& folder) {
    for (auto& item : folder.items)
      if (item->entry_id == entry_id) found = item;
    return found != nullptr;
  });
  return found;
}

bool Mailbox::DeleteItem(const std::wstring& entry_id) {
  for (auto& store : stores) {
    const bool deleted = ForEachFolder(*store, [&](FakeFolder& folder) {
      for (auto it = folder.items.begin(); it != folder.items.end(); ++it)
        if ((*it)->entry_id == entry_id) {
          folder.items.erase(it);
          return true;
        }
      return false;
    });
    if (deleted) return true;
  }
  return false;
}

double OleDate(int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(day);
  time.wHour = static_cast<WORD>(hour);
  time.wMinute = static_cast<WORD>(minute);
  time.wSecond = static_cast<WORD>(second);
  double date = 0;
  SystemTimeToVariantTime(&time, &date);
  return date;
}

namespace {

FakeItem Mail(const wchar_t* entry_id, const wchar_t* subject, double created, double sent_on,
              double received) {
  FakeItem item;
  item.entry_id = entry_id;
  item.subject = subject;
  item.created = created;
  item.sent_on = sent_on;
  item.received = received;
  item.sender = L"alice@example.com";
  item.to = L"Tester";
  return item;
}

}  // namespace

std::unique_ptr<Mailbox> MakeFixture() {
  auto mailbox = std::make_unique<Mailbox>();
  auto first = std::make_unique<FakeFolder>();
  first->name = L"Postfach Zoë";
  first->store_id = L"0000000038A1BB1005E5101AA1BB08002B2A56C20001";

  FakeFolder& inbox = first->AddFolder(L"Inbox");
  inbox.AddItem(Mail(L"00000000A1000001", L"Quarterly figures", OleDate(2009, 6, 1, 8),
                     OleDate(2009, 6, 1, 9, 15, 30), OleDate(2009, 6, 1, 9, 16, 2)));
  FakeItem report = Mail(L"00000000A1000002", L"Undeliverable: hello", OleDate(2009, 6, 2),
                         OleDate(2009, 6, 2), OleDate(2009, 6, 2));
  report.item_class = 46;
  inbox.AddItem(std::move(report));
  FakeItem attached = Mail(L"00000000A1000003", L"Re: hello?", OleDate(2009, 12, 5, 7, 3, 9),
                           OleDate(2009, 12, 5, 7, 3, 9), OleDate(2009, 12, 5, 7, 4, 0));
  attached.sender = L"bob@example.com";
  attached.to = L"Tester; Zoë Ünal";
  attached.attachments = {{L"report.pdf"}, {L"notes ü.txt"}};
  inbox.AddItem(std::move(attached));

  FakeFolder& projects = inbox.AddFolder(L"Projekte Ü");
  projects.AddItem(Mail(L"00000000A1000004", L"Grüße aus Köln", OleDate(2009, 3, 1, 12),
                        OleDate(2009, 3, 1, 12, 0, 1), OleDate(2009, 3, 1, 12, 0, 2)));
  FakeFolder& quarter = projects.AddFolder(L"2009 — Q4");
  quarter.AddItem(Mail(L"00000000A1000005", L"Plan", OleDate(2009, 10, 1),
                       OleDate(2009, 10, 2), OleDate(2009, 10, 3, 23, 59, 59)));

  FakeFolder& drafts = first->AddFolder(L"Drafts");
  FakeItem draft = Mail(L"00000000A1000006", L"Unsent thoughts", OleDate(2010, 1, 2, 3, 4, 5),
                        OleDate(4501, 1, 1), OleDate(4501, 1, 1));
  draft.sent = false;
  draft.sender.clear();
  drafts.AddItem(std::move(draft));

  FakeFolder& broken = first->AddFolder(L"Broken");
  broken.AddItem(Mail(L"00000000A1000007", L"Readable", OleDate(2009, 5, 5),
                      OleDate(2009, 5, 5), OleDate(2009, 5, 5)));
  FakeItem damaged = Mail(L"00000000A1000008", L"Damaged", OleDate(2009, 5, 6),
                          OleDate(2009, 5, 6), OleDate(2009, 5, 6));
  damaged.unreadable = true;
  broken.AddItem(std::move(damaged));
  broken.AddItem(Mail(L"00000000A1000009", L"Never reached", OleDate(2009, 5, 7),
                      OleDate(2009, 5, 7), OleDate(2009, 5, 7)));

  auto second = std::make_unique<FakeFolder>();
  second->name = L"Архив";
  second->store_id = L"0000000038A1BB1005E5101AA1BB08002B2A56C20002";
  FakeFolder& archived = second->AddFolder(L"Входящие");
  archived.AddItem(Mail(L"00000000B2000001", L"Старое письмо", OleDate(1999, 12, 31, 23, 59, 59),
                        OleDate(1999, 12, 31, 23, 59, 59), OleDate(2000, 1, 1)));

  mailbox->stores.push_back(std::move(first));
  mailbox->stores.push_back(std::move(second));
  return mailbox;
}

}  // namespace fake_outlook
