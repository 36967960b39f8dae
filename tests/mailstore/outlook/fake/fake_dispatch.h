#pragma once
// A hand-written IDispatch: a table of member names (looked up without
// regard to case), arguments read in call order with by-reference ones
// followed, and failures raised the way Outlook raises them, through
// DISP_E_EXCEPTION and an EXCEPINFO.

#include <windows.h>
#include <oaidl.h>

#include <span>
#include <string>

namespace fake_outlook {

// Outlook's "object not found".
inline constexpr HRESULT kNotFound = static_cast<HRESULT>(0x8004010F);

// Thrown by a member to fail the call with Outlook's own words.
struct Failure {
  HRESULT scode;
  std::wstring description;
};

class Arguments {
 public:
  explicit Arguments(const DISPPARAMS& parameters) : parameters_(parameters) {}
  std::size_t Count() const { return parameters_.cArgs; }
  // Present and not left out (VT_ERROR with DISP_E_PARAMNOTFOUND).
  bool Has(std::size_t index) const;
  std::wstring Text(std::size_t index) const;
  int Int(std::size_t index) const;
  // The argument as it is, a by-reference one followed.
  VARIANT Value(std::size_t index) const;

 private:
  const VARIANT& Raw(std::size_t index) const;
  const DISPPARAMS& parameters_;
};

class Result {
 public:
  explicit Result(VARIANT* slot) : slot_(slot) {}
  void Text(const std::wstring& text);
  void Int(int value);
  void Bool(bool value);
  void Date(double value);
  // Takes over the caller's reference; a null object is Nothing.
  void Object(IDispatch* object);
  void Unknown(IUnknown* object);

 private:
  VARIANT* slot_;
};

struct Member {
  const wchar_t* name;
  DISPID id;
};

class FakeDispatch : public IDispatch {
 public:
  FakeDispatch();
  virtual ~FakeDispatch();
  FakeDispatch(const FakeDispatch&) = delete;
  FakeDispatch& operator=(const FakeDispatch&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception,
                                   UINT* argument_error) override;

 protected:
  virtual std::span<const Member> Members() const = 0;
  // Serves one call; throws Failure to fail it.
  virtual void Serve(DISPID id, const Arguments& args, Result& result) = 0;

 private:
  ULONG references_ = 1;
};

// Compares names the way Outlook's lookups do: without regard to case.
bool SameName(const std::wstring& left, const std::wstring& right);

}  // namespace fake_outlook
