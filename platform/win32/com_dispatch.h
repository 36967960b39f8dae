#pragma once
// Automation by late binding, one line per call:
//   Dispatch folder = ns.GetObject("Folders").GetObject("Item", "Inbox");
// A name is looked up (GetIDsOfNames) once per cache; objects of one kind
// share a cache, so walking a thousand items of a folder asks for each name
// once. A failure throws ComError naming "<kind>.<member>".

#include <windows.h>
#include <oaidl.h>

#include <array>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/win32/com_ptr.h"
#include "platform/win32/com_variant.h"

namespace qs::win32 {

// Member names to DISPIDs for objects of one kind. Names are compared the
// way automation compares them: without regard to case.
class DispIdCache {
 public:
  explicit DispIdCache(std::string kind) : kind_(std::move(kind)) {}
  const std::string& Kind() const { return kind_; }
  DISPID Find(IDispatch& object, std::string_view name);
  std::size_t Size() const { return ids_.size(); }

 private:
  std::string kind_;
  std::map<std::wstring, DISPID> ids_;
};

class Dispatch {
 public:
  Dispatch() = default;
  // With no cache, the object gets a cache of its own named after the kind.
  explicit Dispatch(ComPtr<IDispatch> object, std::shared_ptr<DispIdCache> cache);
  Dispatch(ComPtr<IDispatch> object, std::string kind);

  // Creates an object by its program identifier ("Outlook.Application").
  static Dispatch Create(std::string_view prog_id);

  explicit operator bool() const { return static_cast<bool>(object_); }
  IDispatch* get() const { return object_.get(); }
  const std::shared_ptr<DispIdCache>& Cache() const { return cache_; }
  // The same object, looked up through another cache.
  Dispatch WithCache(std::shared_ptr<DispIdCache> cache) const {
    return Dispatch(object_.Share(), std::move(cache));
  }

  // A property read or a method call that gives a value (both as a script
  // would ask: DISPATCH_METHOD | DISPATCH_PROPERTYGET).
  template <class... Args>
  Variant Get(std::string_view name, const Args&... args) const {
    const std::array<Variant, sizeof...(Args)> values{ToArgument(args)...};
    return Invoke(DISPATCH_METHOD | DISPATCH_PROPERTYGET, name, values);
  }
  // The same for a result that is an object: it joins the given cache.
  template <class... Args>
  Dispatch GetObject(const std::shared_ptr<DispIdCache>& cache, std::string_view name,
                     const Args&... args) const {
    return Dispatch(Get(name, args...).ToDispatch(Operation(name)), cache);
  }
  template <class... Args>
  Dispatch GetObject(std::string_view name, const Args&... args) const {
    return Dispatch(Get(name, args...).ToDispatch(Operation(name)), std::string(name));
  }
  // A method whose result, if any, is not wanted.
  template <class... Args>
  void Call(std::string_view name, const Args&... args) const {
    const std::array<Variant, sizeof...(Args)> values{ToArgument(args)...};
    Invoke(DISPATCH_METHOD, name, values);
  }
  void Put(std::string_view name, const Variant& value) const;

  // The member by DISPID, for the special ones (DISPID_NEWENUM).
  Variant GetById(DISPID id, std::string_view name) const;

  // Arguments in the order of the call; a missing one is Variant::Missing().
  Variant Invoke(WORD flags, std::string_view name, std::span<const Variant> args) const;

 private:
  std::string Operation(std::string_view name) const;
  Variant InvokeId(DISPID id, WORD flags, std::string_view name, std::span<const Variant> args,
                   DISPID* named = nullptr) const;

  ComPtr<IDispatch> object_;
  std::shared_ptr<DispIdCache> cache_;
};

}  // namespace qs::win32
