#pragma once
// The fake Outlook inside: one IDispatch for every object, standing for a
// place in the mailbox (a Ref) and serving the members its kind lists by
// name, without regard to case. A member fails a call as Outlook does,
// through DISP_E_EXCEPTION and an EXCEPINFO, by throwing Failure.

#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "fake_outlook_api.h"

namespace fake_outlook {

// A row of the mailbox; the folders are the paths the rows name
// ("\\Store\Folder"), in the order they first appear.
struct Mail {
  std::wstring folder, entry_id, subject, sender, to;
  std::wstring created, sent_on, received;  // "yyyy-mm-dd hh:mm:ss"
  int item_class = 43;                      // 46: a report
  std::vector<std::wstring> attachments = {};
  bool unreadable = false;  // Outlook refuses to read its texts (damaged, locked)
};
std::vector<Mail> Fixture();

struct Kind;
// A folder by its path, a mail by its row, an attachment by its mail's row
// and its number from 1.
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

// One call of a member: its object, its arguments in call order (a
// by-reference one followed) and its result.
class Call {
 public:
  Call(const Ref& object, const DISPPARAMS& parameters, VARIANT& result)
      : self(object), parameters_(parameters), result_(result) {}
  const Ref& self;

  // Given, and not left out (VT_ERROR with DISP_E_PARAMNOTFOUND).
  bool Has(UINT index) const;
  bool IsText(UINT index) const { return Has(index) && Argument(index).vt == VT_BSTR; }
  std::wstring Text(UINT index) const;
  int Int(UINT index) const;

  void Return(const std::wstring& text);
  void Return(int number) { result_.vt = VT_I4, result_.lVal = number; }
  void Return(bool flag) { result_.vt = VT_BOOL, result_.boolVal = flag ? VARIANT_TRUE : 0; }
  void ReturnDate(double days) { result_.vt = VT_DATE, result_.date = days; }
  // Takes over the reference; a null object is Nothing.
  void Return(IDispatch* object) { result_.vt = VT_DISPATCH, result_.pdispVal = object; }
  void Return(IUnknown* object) { result_.vt = VT_UNKNOWN, result_.punkVal = object; }

 private:
  const VARIANT& Argument(UINT index) const;
  VARIANT Converted(UINT index, VARTYPE type) const;
  const DISPPARAMS& parameters_;
  VARIANT& result_;
};

struct Member {
  const wchar_t* name;
  DISPID id;
  void (*serve)(Call& call);
};

// The members of a kind of object; a collection also lists its elements.
struct Kind {
  std::span<const Member> members;
  std::vector<Ref> (*elements)(const Ref& owner) = nullptr;
};
extern const Kind kApplication;

// A fresh object, as Outlook gives one for every call that returns one.
IDispatch* NewObject(Ref ref);
IUnknown* NewEnumerator(std::vector<Ref> elements);
bool SameName(const std::wstring& left, const std::wstring& right);

// What the server keeps for as long as it is loaded.
struct Server {
  Server();
  ~Server();
  std::vector<Mail> mails = Fixture();
  std::optional<std::wstring> pick;  // a folder path; nothing: the user cancels
  HANDLE section = nullptr;
  SharedCounters* counters = MapCounters(section);
};
Server& State();

}  // namespace fake_outlook
