#include "fake_objects.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "fake_server.h"

namespace fake_outlook {

namespace {

[[noreturn]] void NotFound() {
  throw Failure{kNotFound, L"The attempted operation failed.  An object could not be found."};
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                      size, nullptr, nullptr);
  return result;
}

// Writes a small text file that tells which call made it and for what.
void WriteRecognisable(const std::wstring& path, const std::string& text) {
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                  nullptr);
  if (file == INVALID_HANDLE_VALUE)
    throw Failure{HRESULT_FROM_WIN32(GetLastError()),
                  L"Cannot save the file. The path does not exist or cannot be written."};
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

bool StillThere(const FakeItem& item) {
  if (!item.parent) return false;
  for (const auto& held : item.parent->items)
    if (held.get() == &item) return true;
  return false;
}

class AttachmentObject final : public FakeDispatch {
 public:
  AttachmentObject(std::shared_ptr<FakeItem> item, std::size_t index)
      : item_(std::move(item)), index_(index) {}

 protected:
  std::span<const Member> Members() const override {
    static constexpr Member kMembers[] = {{L"FileName", 1}, {L"SaveAsFile", 2}};
    return kMembers;
  }
  void Serve(DISPID id, const Arguments& args, Result& result) override {
    const FakeAttachment& attachment = item_->attachments.at(index_);
    if (id == 1) return result.Text(attachment.file_name);
    WriteRecognisable(args.Text(0), "Fake Outlook attachment\r\nfile=" +
                                        Utf8(attachment.file_name) +
                                        "\r\nentry=" + Utf8(item_->entry_id) + "\r\n");
  }

 private:
  std::shared_ptr<FakeItem> item_;
  std::size_t index_;
};

class AttachmentsObject final : public FakeDispatch {
 public:
  explicit AttachmentsObject(std::shared_ptr<FakeItem> item) : item_(std::move(item)) {}

 protected:
  std::span<const Member> Members() const override {
    static constexpr Member kMembers[] = {{L"Item", DISPID_VALUE}, {L"Count", 1}};
    return kMembers;
  }
  void Serve(DISPID id, const Arguments& args, Result& result) override {
    const int count = static_cast<int>(item_->attachments.size());
    if (id == 1) return result.Int(count);
    const int position = args.Int(0);
    if (position < 1 || position > count)
      throw Failure{DISP_E_BADINDEX, L"Array index out of bounds."};
    result.Object(new AttachmentObject(item_, static_cast<std::size_t>(position - 1)));
  }

 private:
  std::shared_ptr<FakeItem> item_;
};

// A mail item numbers its members as Outlook's mail items do; a report item
// numbers its own differently, so that a client that reuses one class's
// numbers for another reads the wrong thing.
enum ItemMember : DISPID {
  kClass = 0xF00A, kSubject = 0x37, kEntryId = 0xF01E, kSentOn = 0x39, kReceived = 0xE06,
  kCreated = 0x3007, kSent = 0xF022, kSender = 0xC1F, kTo = 0xE04, kParent = 0xF001,
  kSaveAs = 0xF051, kAttachments = 0xF815,
  kReportSubject = 0x1037, kReportEntryId = 0x101E, kReportCreated = 0x1007
};

class ItemObject final : public FakeDispatch {
 public:
  explicit ItemObject(std::shared_ptr<FakeItem> item) : item_(std::move(item)) {}

 protected:
  std::span<const Member> Members() const override {
    static constexpr Member kMail[] = {
        {L"Class", kClass},       {L"Subject", kSubject},
        {L"EntryID", kEntryId},   {L"SentOn", kSentOn},
        {L"ReceivedTime", kReceived}, {L"CreationTime", kCreated},
        {L"Sent", kSent},         {L"SenderEmailAddress", kSender},
        {L"To", kTo},             {L"Parent", kParent},
        {L"SaveAs", kSaveAs},     {L"Attachments", kAttachments}};
    static constexpr Member kReport[] = {
        {L"Class", kClass},         {L"Subject", kReportSubject},
        {L"EntryID", kReportEntryId}, {L"CreationTime", kReportCreated},
        {L"Parent", kParent},       {L"SaveAs", kSaveAs}};
    if (item_->item_class == 43) return kMail;
    return kReport;
  }

  void Serve(DISPID id, const Arguments& args, Result& result) override {
    const FakeItem& item = *item_;
    if (id == kClass) return result.Int(item.item_class);
    if (!StillThere(item))
      throw Failure{static_cast<HRESULT>(0x8004010A),
                    L"The item has been moved or deleted."};
    const bool text = id == kSubject || id == kTo || id == kSender || id == kReportSubject;
    if (item.unreadable && text)
      throw Failure{static_cast<HRESULT>(0x8004011B), L"Outlook cannot read this item."};
    switch (id) {
      case kSubject: case kReportSubject: return result.Text(item.subject);
      case kEntryId: case kReportEntryId: return result.Text(item.entry_id);
      case kSentOn: return result.Date(item.sent_on);
      case kReceived: return result.Date(item.received);
      case kCreated: case kReportCreated: return result.Date(item.created);
      case kSent: return result.Bool(item.sent);
      case kSender: return result.Text(item.sender);
      case kTo: return result.Text(item.to);
      case kParent: return result.Object(NewFolder(*item.parent));
      case kAttachments: return result.Object(new AttachmentsObject(item_));
      case kSaveAs: {
        const int type = args.Has(1) ? args.Int(1) : 3;
        if (type != 0 && type != 1 && type != 3 && type != 5 && type != 9)
          throw Failure{E_INVALIDARG, L"The file type is not supported."};
        WriteRecognisable(args.Text(0), "Fake Outlook SaveAs\r\ntype=" + std::to_string(type) +
                                            "\r\nentry=" + Utf8(item.entry_id) +
                                            "\r\nsubject=" + Utf8(item.subject) + "\r\n");
        return;
      }
      default: throw Failure{DISP_E_MEMBERNOTFOUND, L"Member not found."};
    }
  }

 private:
  std::shared_ptr<FakeItem> item_;
};

class ItemEnumerator final : public IEnumVARIANT {
 public:
  explicit ItemEnumerator(std::vector<std::shared_ptr<FakeItem>> items, std::size_t next = 0)
      : items_(std::move(items)), next_(next) {
    State().counters.Born();
  }
  ~ItemEnumerator() { State().counters.Died(); }
  ItemEnumerator(const ItemEnumerator&) = delete;
  ItemEnumerator& operator=(const ItemEnumerator&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IEnumVARIANT) {
      *object = static_cast<IEnumVARIANT*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* values, ULONG* fetched) override {
    State().counters.Call();
    ULONG given = 0;
    for (; given < wanted && next_ < items_.size(); ++given, ++next_) {
      values[given].vt = VT_DISPATCH;
      values[given].pdispVal = NewItem(items_[next_]);
    }
    if (fetched) *fetched = given;
    return given == wanted ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    State().counters.Call();
    next_ = std::min(items_.size(), next_ + static_cast<std::size_t>(count));
    return next_ < items_.size() ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    State().counters.Call();
    next_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
    State().counters.Call();
    if (!copy) return E_POINTER;
    *copy = new ItemEnumerator(items_, next_);
    return S_OK;
  }

 private:
  ULONG references_ = 1;
  std::vector<std::shared_ptr<FakeItem>> items_;
  std::size_t next_;
};

class ItemsObject final : public FakeDispatch {
 public:
  explicit ItemsObject(FakeFolder& folder) : folder_(folder) {}

 protected:
  std::span<const Member> Members() const override {
    static constexpr Member kMembers[] = {
        {L"Item", DISPID_VALUE}, {L"Count", 1}, {L"_NewEnum", DISPID_NEWENUM}};
    return kMembers;
  }
  void Serve(DISPID id, const Arguments& args, Result& result) override {
    const int count = static_cast<int>(folder_.items.size());
    if (id == 1) return result.Int(count);
    if (id == DISPID_NEWENUM) return result.Unknown(new ItemEnumerator(folder_.items));
    const int position = args.Int(0);
    if (position < 1 || position > count)
      throw Failure{DISP_E_BADINDEX, L"Array index out of bounds."};
    result.Object(NewItem(folder_.items[static_cast<std::size_t>(position - 1)]));
  }

 private:
  FakeFolder& folder_;
};

// The folders of a folder, or the stores when there is no folder.
class FoldersObject final : public FakeDispatch {
 public:
  explicit FoldersObject(FakeFolder* parent) : parent_(parent) {}

 protected:
  std::span<const Member> Members() const override {
    static constexpr Member kMembers[] = {{L"Item", DISPID_VALUE}, {L"Count", 1}};
    return kMembers;
  }
  void Serve(DISPID id, const Arguments& args, Result& result) override {
    auto& folders = parent_ ? parent_->folders : State().mailbox->stores;
    if (id == 1) return result.Int(static_cast<int>(folders.size()));
    VARIANT key = args.Value(0);
    const bool by_name = key.vt == VT_BSTR;
    VariantClear(&key);
    if (by_name) {
      const std::wstring name = args.Text(0);
      for (auto& folder : folders)
        if (SameName(folder->name, name)) return result.Object(NewFolder(*folder));
      NotFound();
    }
    const int position = args.Int(0);
    if (position < 1 || position > static_cast<int>(folders.size()))
      throw Failure{DISP_E_BADINDEX, L"Array index out of bounds."};
    result.Object(NewFolder(*folders[static_cast<std::size_t>(position - 1)]));
  }

 private:
  FakeFolder* parent_;
};

class FolderObject final : public FakeDispatch {
 public:
  explicit FolderObject(FakeFolder& folder) : folder_(folder) {}

 protected:
  std::span<const Member> Members() const override {
    static constexpr Member kMembers[] = {
        {L"Name", 1}, {L"FolderPath", 2}, {L"Folders", 3}, {L"Items", 4}, {L"StoreID", 5}};
    return kMembers;
  }
  void Serve(DISPID id, const Arguments&, Result& result) override {
    switch (id) {
      case 1: return result.Text(folder_.name);
      case 2: return result.Text(folder_.Path());
      case 3: return result.Object(new FoldersObject(&folder_));
      case 4: return result.Object(new ItemsObject(folder_));
      default: return result.Text(folder_.store_id);
    }
  }

 private:
  FakeFolder& folder_;
};

class NamespaceObject final : public FakeDispatch {
 protected:
  std::span<const Member> Members() const override {
    static constexpr Member kMembers[] = {
        {L"Folders", 1}, {L"PickFolder", 2}, {L"GetItemFromID", 3}};
    return kMembers;
  }
  void Serve(DISPID id, const Arguments& args, Result& result) override {
    Mailbox& mailbox = *State().mailbox;
    if (id == 1) return result.Object(new FoldersObject(nullptr));
    if (id == 2) {
      FakeFolder* chosen = State().pick ? mailbox.FindPath(*State().pick) : nullptr;
      return result.Object(chosen ? NewFolder(*chosen) : nullptr);
    }
    const std::wstring entry_id = args.Text(0);
    FakeFolder* store = &mailbox.DefaultStore();
    if (args.Has(1)) {
      const std::wstring store_id = args.Text(1);
      store = nullptr;
      for (auto& candidate : mailbox.stores)
        if (candidate->store_id == store_id) store = candidate.get();
      if (!store) NotFound();
    }
    std::shared_ptr<FakeItem> item = mailbox.FindItem(entry_id, *store);
    if (!item) NotFound();
    result.Object(NewItem(std::move(item)));
  }
};

class ApplicationObject final : public FakeDispatch {
 protected:
  std::span<const Member> Members() const override {
    static constexpr Member kMembers[] = {{L"GetNamespace", 1}, {L"Name", 2}};
    return kMembers;
  }
  void Serve(DISPID id, const Arguments& args, Result& result) override {
    if (id == 2) return result.Text(L"Outlook");
    if (!SameName(args.Text(0), L"MAPI"))
      throw Failure{E_INVALIDARG, L"Could not complete the operation. One or more parameter "
                                  L"values are not valid."};
    result.Object(new NamespaceObject());
  }
};

}  // namespace

IDispatch* NewApplication() { return new ApplicationObject(); }
IDispatch* NewFolder(FakeFolder& folder) { return new FolderObject(folder); }
IDispatch* NewItem(std::shared_ptr<FakeItem> item) { return new ItemObject(std::move(item)); }

}  // namespace fake_outlook
