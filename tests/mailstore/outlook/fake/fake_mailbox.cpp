// Outlook's objects over a table of mail. Folders, items and attachments are
// one collection that differs only in what it lists.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "fake_outlook.h"
#include "mailstore/message/message_file.h"
#include "platform/win32/utf16.h"
#include "tests/common/message_fixtures.h"

namespace fake_outlook {

// Two stores with nested folders, mail, a report, a draft, attachments and an
// item that cannot be read.
std::vector<Mail> Fixture() {
  const std::wstring inbox = L"\\\\Postfach Zoë\\Inbox", broken = L"\\\\Postfach Zoë\\Broken";
  const std::wstring alice = L"alice@example.com";
  return {
      {inbox, L"00000000A1000001", L"Quarterly figures", alice, L"Tester", L"2009-06-01 08:00:00",
       L"2009-06-01 09:15:30", L"2009-06-01 09:16:02", 43, {}, false, L"2009-06-03 10:11:12",
       48213},
      {inbox, L"00000000A1000002", L"Undeliverable: hello", alice, L"Tester", L"2009-06-02",
       L"2009-06-02", L"2009-06-02", 46},
      {inbox, L"00000000A1000003", L"Re: hello?", L"bob@example.com", L"Tester; Zoë Ünal",
       L"2009-12-05 07:03:09", L"2009-12-05 07:03:09", L"2009-12-05 07:04:00", 43,
       {L"report.pdf", L"notes ü.txt"}},
      {inbox + L"\\Projekte Ü", L"00000000A1000004", L"Grüße aus Köln", alice, L"Tester",
       L"2009-03-01 12:00:00", L"2009-03-01 12:00:01", L"2009-03-01 12:00:02"},
      {inbox + L"\\Projekte Ü\\2009 — Q4", L"00000000A1000005", L"Plan", alice, L"Tester",
       L"2009-10-01", L"2009-10-02", L"2009-10-03 23:59:59"},
      // A draft: Outlook's "no date" for when it was sent and received.
      {L"\\\\Postfach Zoë\\Drafts", L"00000000A1000006", L"Unsent thoughts", L"", L"Tester",
       L"2010-01-02 03:04:05", L"4501-01-01", L"4501-01-01"},
      {broken, L"00000000A1000007", L"Readable", alice, L"Tester", L"2009-05-05", L"2009-05-05",
       L"2009-05-05"},
      {broken, L"00000000A1000008", L"Damaged", alice, L"Tester", L"2009-05-06", L"2009-05-06",
       L"2009-05-06", 43, {}, true},
      {broken, L"00000000A1000009", L"Never reached", alice, L"Tester", L"2009-05-07",
       L"2009-05-07", L"2009-05-07"},
      {L"\\\\Архив\\Входящие", L"00000000B2000001", L"Старое письмо", alice, L"Tester",
       L"1999-12-31 23:59:59", L"1999-12-31 23:59:59", L"2000-01-01"},
  };
}

extern const Kind kNamespace, kFolder, kFolders, kItems, kMail, kReport, kAttachments,
    kAttachment;

namespace {

[[noreturn]] void NotFound() {
  throw Failure{static_cast<HRESULT>(0x8004010F),
                L"The attempted operation failed.  An object could not be found."};
}

std::vector<Mail>& Mails() { return State().mails; }

std::wstring Leaf(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

// Opaque to the client, as Outlook's are; this one names the folder's store.
std::wstring StoreId(const std::wstring& folder) {
  return L"0000000038A1BB1005E5101AA1BB08002B2A56C2:" + folder.substr(0, folder.find(L'\\', 2));
}

double Date(const std::wstring& text) {
  SYSTEMTIME time{};
  std::swscanf(text.c_str(), L"%hu-%hu-%hu %hu:%hu:%hu", &time.wYear, &time.wMonth, &time.wDay,
               &time.wHour, &time.wMinute, &time.wSecond);
  double date = 0;
  SystemTimeToVariantTime(&time, &date);
  return date;
}

Ref ItemRef(std::size_t r) { return {Mails()[r].item_class == 43 ? &kMail : &kReport, {}, r}; }

const Mail& Live(const Call& call, bool texts = false) {
  const Mail& mail = Mails().at(call.self.row);
  if (texts && mail.unreadable)
    throw Failure{static_cast<HRESULT>(0x8004011B), L"Outlook cannot read this item."};
  return mail;
}

// A file that tells which call made it and for what.
void WriteRecognisable(const std::wstring& path, const std::wstring& text) {
  std::ofstream file(std::filesystem::path(path), std::ios::binary);
  const std::u8string bytes = std::filesystem::path(text).u8string();
  if (!file.write(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes)))
    throw Failure{HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), L"Cannot save the file."};
}

// The folders directly below a folder, or below "" the stores.
std::vector<Ref> FoldersOf(const Ref& owner) {
  std::vector<Ref> folders;
  for (const Mail& mail : Mails())
    for (std::size_t end = mail.folder.find(L'\\', 2);; end = mail.folder.find(L'\\', end + 1)) {
      const std::wstring path = mail.folder.substr(0, end);
      const std::size_t cut = path.find_last_of(L'\\');
      const bool below = (cut <= 1 ? std::wstring() : path.substr(0, cut)) == owner.folder;
      if (below && std::none_of(folders.begin(), folders.end(),
                                [&](const Ref& folder) { return folder.folder == path; }))
        folders.push_back({&kFolder, path});
      if (end == std::wstring::npos) break;
    }
  return folders;
}

std::vector<Ref> ItemsOf(const Ref& owner) {
  std::vector<Ref> items;
  for (std::size_t row = 0; row < Mails().size(); ++row)
    if (Mails()[row].folder == owner.folder) items.push_back(ItemRef(row));
  return items;
}

std::vector<Ref> AttachmentsOf(const Ref& owner) {
  std::vector<Ref> attachments;
  for (std::size_t i = 1; i <= Mails().at(owner.row).attachments.size(); ++i)
    attachments.push_back({&kAttachment, {}, owner.row, static_cast<int>(i)});
  return attachments;
}

void Item(Call& call) {
  const std::vector<Ref> elements = call.self.kind->elements(call.self);
  if (call.IsText(0)) {
    const std::wstring name = call.Text(0);
    for (const Ref& element : elements)
      if (element.kind == &kFolder && SameName(Leaf(element.folder), name))
        return call.Return(NewObject(element));
    NotFound();
  }
  const int position = call.Int(0);
  if (position < 1 || position > static_cast<int>(elements.size()))
    throw Failure{DISP_E_BADINDEX, L"Array index out of bounds."};
  call.Return(NewObject(elements[static_cast<std::size_t>(position - 1)]));
}

constexpr Member kCollection[] = {
    {L"Item", DISPID_VALUE, Item},
    {L"Count", 1,
     [](Call& c) { c.Return(static_cast<int>(c.self.kind->elements(c.self).size())); }},
    {L"_NewEnum", DISPID_NEWENUM,
     [](Call& c) { c.Return(NewEnumerator(c.self.kind->elements(c.self))); }},
};

constexpr Member kFolderMembers[] = {
    {L"FolderPath", 2, [](Call& c) { c.Return(c.self.folder); }},
    {L"Folders", 3, [](Call& c) { c.Return(NewObject({&kFolders, c.self.folder})); }},
    {L"Items", 4, [](Call& c) { c.Return(NewObject({&kItems, c.self.folder})); }},
    {L"StoreID", 5, [](Call& c) { c.Return(StoreId(c.self.folder)); }},
};

// Roughly what Outlook counts: the texts and a few kilobytes per attachment.
int Size(const Mail& mail) {
  if (mail.size != 0) return mail.size;
  return static_cast<int>(2 * (mail.subject.size() + mail.sender.size() + mail.to.size()) + 1024 +
                          4096 * mail.attachments.size());
}

void Class(Call& call) { call.Return(Mails().at(call.self.row).item_class); }
void Subject(Call& call) { call.Return(Live(call, true).subject); }

const qs::testing::MessageFixture& FixtureOf(const Mail& mail) {
  static const std::vector<qs::testing::MessageFixture> fixtures = qs::testing::MessageFixtures();
  return fixtures.at(static_cast<std::size_t>(mail.fixture));
}

void SaveAs(Call& call) {
  const Mail& mail = Live(call);
  const int type = call.Has(1) ? call.Int(1) : 3;  // left out: Outlook's own format
  if (type != 0 && type != 1 && type != 3 && type != 5 && type != 9)
    throw Failure{E_INVALIDARG, L"The file type is not supported."};
  if (mail.fixture >= 0 && (type == 3 || type == 9)) {
    const qs::testing::MessageFixture& fixture = FixtureOf(mail);
    try {
      qs::WriteMessageFile(fixture.content, fixture.Facts(), qs::win32::ToUtf8(call.Text(0)));
    } catch (const std::exception&) {
      throw Failure{HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), L"Cannot save the file."};
    }
    return;
  }
  WriteRecognisable(call.Text(0), L"Fake Outlook SaveAs\r\ntype=" + std::to_wstring(type) +
                                      L"\r\nentry=" + mail.entry_id +
                                      L"\r\nsubject=" + mail.subject + L"\r\n");
}

// A mail item numbers its members as Outlook's mail items do; a report item
// numbers some differently, so that a client that reuses one class's
// numbers for another reads the wrong thing.
constexpr Member kMailMembers[] = {
    {L"Class", 0xF00A, Class},
    {L"Subject", 0x37, Subject},
    {L"EntryID", 0xF01E, [](Call& c) { c.Return(Live(c).entry_id); }},
    {L"CreationTime", 0x3007, [](Call& c) { c.ReturnDate(Date(Live(c).created)); }},
    {L"Parent", 0xF001, [](Call& c) { c.Return(NewObject({&kFolder, Live(c).folder})); }},
    {L"SaveAs", 0xF051, SaveAs},
    {L"SentOn", 0x39, [](Call& c) { c.ReturnDate(Date(Live(c).sent_on)); }},
    {L"ReceivedTime", 0xE06, [](Call& c) { c.ReturnDate(Date(Live(c).received)); }},
    {L"Sent", 0xF022, [](Call& c) { c.Return(Live(c).sent_on != L"4501-01-01"); }},
    {L"SenderEmailAddress", 0xC1F, [](Call& c) { c.Return(Live(c, true).sender); }},
    {L"To", 0xE04, [](Call& c) { c.Return(Live(c, true).to); }},
    {L"LastModificationTime", 0x3008,
     [](Call& c) {
       const Mail& mail = Live(c);
       c.ReturnDate(Date(mail.modified.empty() ? mail.created : mail.modified));
     }},
    {L"Size", 0xE08, [](Call& c) { c.Return(Size(Live(c))); }},
    {L"Attachments", 0xF815,
     [](Call& c) {
       Live(c);
       c.Return(NewObject({&kAttachments, {}, c.self.row}));
     }},
};

constexpr Member kReportMembers[] = {{L"Class", 0xF00A, Class}, {L"Subject", 0x1037, Subject}};

const std::wstring& FileName(const Call& call) {
  return Live(call).attachments.at(static_cast<std::size_t>(call.self.number - 1));
}

constexpr Member kAttachmentMembers[] = {
    {L"FileName", 1, [](Call& c) { c.Return(FileName(c)); }},
    {L"SaveAsFile", 2,
     [](Call& c) {
       const Mail& mail = Live(c);
       if (mail.fixture >= 0) {
         // The message's own bytes, as its message file holds them.
         const auto& attachment = FixtureOf(mail).content.attachments.at(static_cast<std::size_t>(c.self.number - 1));
         std::ofstream file(std::filesystem::path(c.Text(0)), std::ios::binary);
         attachment.data->WriteTo([&file](std::string_view piece) { file.write(piece.data(), std::ssize(piece)); });
         if (!file) throw Failure{HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), L"Cannot save the file."};
         return;
       }
       WriteRecognisable(c.Text(0), L"Fake Outlook attachment\r\nfile=" + FileName(c) +
                                        L"\r\nentry=" + mail.entry_id + L"\r\n");
     }},
};

// By its entry identifier, in the first store unless a store's is given.
void GetItemFromId(Call& call) {
  const std::wstring store = call.Has(1) ? call.Text(1) : StoreId(Mails().front().folder);
  for (std::size_t row = 0; row < Mails().size(); ++row) {
    const Mail& mail = Mails()[row];
    if (mail.entry_id == call.Text(0) && StoreId(mail.folder) == store)
      return call.Return(NewObject(ItemRef(row)));
  }
  NotFound();
}

constexpr Member kNamespaceMembers[] = {
    {L"Folders", 1, [](Call& c) { c.Return(NewObject({&kFolders, {}})); }},
    {L"PickFolder", 2,
     [](Call& c) { c.Return(State().pick ? NewObject({&kFolder, *State().pick}) : nullptr); }},
    {L"GetItemFromID", 3, GetItemFromId},
};

constexpr Member kApplicationMembers[] = {
    {L"GetNamespace", 1, [](Call& c) { c.Return(NewObject({&kNamespace, {}})); }},
};

}  // namespace

const Kind kApplication{kApplicationMembers};
const Kind kNamespace{kNamespaceMembers};
const Kind kFolder{kFolderMembers};
const Kind kFolders{kCollection, FoldersOf};
const Kind kItems{kCollection, ItemsOf};
const Kind kMail{kMailMembers};
const Kind kReport{kReportMembers};
const Kind kAttachments{kCollection, AttachmentsOf};
const Kind kAttachment{kAttachmentMembers};

}  // namespace fake_outlook

extern "C" int FakeOutlookSwitch(const wchar_t* name, const wchar_t* argument) {
  const std::wstring command(name);
  auto& state = fake_outlook::State();
  if (command == L"restore") state.mails = fake_outlook::Fixture();
  state.refuse = command == L"refuse" || (state.refuse && command != L"restore");
  if (command == L"restore" || command == L"pick")
    state.pick = argument ? std::optional<std::wstring>(argument) : std::nullopt;
  // Only while no object of the mailbox lives: they name the rows by number.
  if (command == L"delete")
    return static_cast<int>(
        std::erase_if(state.mails, [&](const auto& mail) { return mail.entry_id == argument; }));
  // Every tenth item of the bulk is not mail, as in a real folder. Its
  // message files are those of the first of the shared messages.
  for (int i = 0; command == L"bulk" && i < _wtoi(argument); ++i)
    state.mails.push_back({L"\\\\Postfach Zoë\\Bulk", L"00000000C3" + std::to_wstring(100000 + i),
                           L"Bulk " + std::to_wstring(i), L"bulk@example.com", L"Tester",
                           L"2009-06-01", L"2009-06-02 08:30:00", L"2009-06-02 09:00:00",
                           i % 10 == 9 ? 46 : 43, {}, false, {}, 0, 0});
  // The shared messages, each an item of its own.
  if (command == L"messages") {
    const auto fixtures = qs::testing::MessageFixtures();
    for (std::size_t i = 0; i < fixtures.size(); ++i) {
      const qs::MessageContent& content = fixtures[i].content;
      std::vector<std::wstring> attachments;
      for (const qs::MessageAttachment& attachment : content.attachments)
        attachments.push_back(qs::win32::ToUtf16(attachment.file_name));
      state.mails.push_back({L"\\\\Postfach Zoë\\Messages", qs::win32::ToUtf16(fixtures[i].entry_id),
                             qs::win32::ToUtf16(content.subject), qs::win32::ToUtf16(content.from.at(0).address),
                             L"Tester", L"2009-06-01", L"2009-06-02 08:30:00", L"2009-06-02 09:00:00", 43,
                             std::move(attachments), false, {}, 0, static_cast<int>(i)});
    }
  }
  return 0;
}
