#pragma once
// The fake Outlook: what its tests share with it, and inside, one IDispatch
// for every object, standing for a place in the mailbox (a Ref) and serving
// the members its kind lists; a member fails as Outlook does by throwing.

#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace fake_outlook {

inline constexpr const wchar_t* kClsid = L"{0006F03A-0000-0000-C000-000000000046}";

// Counted over every process the fake runs in.
struct SharedCounters {
  volatile long calls;    // every IDispatch and IEnumVARIANT call served
  volatile long lookups;  // of which GetIDsOfNames
  volatile long live;     // objects handed out and not yet released
  volatile long hosts;    // surrogate processes started, listed below
  volatile unsigned long host_ids[16];
};

inline SharedCounters* MapCounters(HANDLE& section) {
  section = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                               sizeof(SharedCounters), L"Local\\QuillstowFakeOutlookCounters");
  return static_cast<SharedCounters*>(
      section ? MapViewOfFile(section, FILE_MAP_ALL_ACCESS, 0, 0, 0) : nullptr);
}

// Steers the fake in process: "restore", "pick" the folder PickFolder gives (null: a
// cancel), "delete" an item, "bulk" so many items, "refuse" to serve (COM then starts the
// surrogate).
using SwitchFunction = int (*)(const wchar_t* name, const wchar_t* argument);
inline constexpr const char* kSwitch = "FakeOutlookSwitch";

// A row of the mailbox; the folders are the paths ("\\Store\Folder") it names.
struct Mail {
  std::wstring folder, entry_id, subject, sender, to;
  std::wstring created, sent_on, received;  // "yyyy-mm-dd hh:mm:ss"
  int item_class = 43;                      // 46: a report
  std::vector<std::wstring> attachments = {};
  bool unreadable = false;  // Outlook refuses to read its texts (damaged, locked)
  std::wstring modified = {};  // empty: when it was created
  int size = 0;                // 0: worked out from its texts and attachments
  // Its message file's content: the row of the shared table of messages;
  // -1: its files only tell which call made them.
  int fixture = -1;
};
std::vector<Mail> Fixture();

struct Kind;
// A folder by its path, a mail by its row, an attachment also by its number.
struct Ref {
  const Kind* kind;
  std::wstring folder;
  std::size_t row = 0;
  int number = 0;
};

struct Failure {
  HRESULT scode;
  const wchar_t* description;
};

// A call: its object, its arguments in call order.
class Call {
 public:
  Call(const Ref& object, const DISPPARAMS& parameters, VARIANT& result)
      : self(object), parameters_(parameters), result_(result) {}
  const Ref& self;

  // Given, and not left out (VT_ERROR with DISP_E_PARAMNOTFOUND).
  bool Has(UINT index) const {
    return index < parameters_.cArgs &&
           !(Argument(index).vt == VT_ERROR && Argument(index).scode == DISP_E_PARAMNOTFOUND);
  }
  bool IsText(UINT index) const { return Has(index) && Argument(index).vt == VT_BSTR; }
  std::wstring Text(UINT index) const;
  int Int(UINT index) const;

  void Return(const std::wstring& text) {
    result_.vt = VT_BSTR;
    result_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  }
  void Return(int number) { result_.vt = VT_I4, result_.lVal = number; }
  void Return(bool flag) { result_.vt = VT_BOOL, result_.boolVal = flag ? VARIANT_TRUE : 0; }
  void ReturnDate(double days) { result_.vt = VT_DATE, result_.date = days; }
  // Takes over the reference; a null object is Nothing.
  void Return(IDispatch* object) { result_.vt = VT_DISPATCH, result_.pdispVal = object; }
  void Return(IUnknown* object) { result_.vt = VT_UNKNOWN, result_.punkVal = object; }

 private:
  const VARIANT& Argument(UINT index) const;
  const VARIANT& Typed(UINT index, VARTYPE type) const;
  const DISPPARAMS& parameters_;
  VARIANT& result_;
};

struct Member {
  const wchar_t* name;
  DISPID id;
  void (*serve)(Call& call);
};

struct Kind {
  std::span<const Member> members;
  std::vector<Ref> (*elements)(const Ref& owner) = nullptr;
};
extern const Kind kApplication;

// A fresh object, as Outlook gives one for every call that returns one.
IDispatch* NewObject(Ref ref);
IUnknown* NewEnumerator(std::vector<Ref> elements);
bool SameName(const std::wstring& left, const std::wstring& right);

struct Server {
  Server();
  ~Server();
  std::vector<Mail> mails = Fixture();
  std::optional<std::wstring> pick;  // a folder path; nothing: the user cancels
  bool refuse = false;
  HANDLE section = nullptr;
  SharedCounters* counters = MapCounters(section);
};
Server& State();

}  // namespace fake_outlook
