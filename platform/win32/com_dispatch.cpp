#include "platform/win32/com_dispatch.h"

#include <cwctype>
#include <vector>

#include "platform/win32/com_error.h"
#include "platform/win32/utf16.h"

namespace qs::win32 {

DISPID DispIdCache::Find(IDispatch& object, std::string_view name) {
  std::wstring wide = ToUtf16(name);
  std::wstring key = wide;
  for (wchar_t& c : key) c = static_cast<wchar_t>(std::towlower(c));
  if (const auto found = ids_.find(key); found != ids_.end()) return found->second;
  LPOLESTR names[] = {wide.data()};
  DISPID id = DISPID_UNKNOWN;
  const HRESULT result =
      object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  ThrowIfFailed(result, kind_ + "." + std::string(name));
  ids_.emplace(std::move(key), id);
  return id;
}

Dispatch::Dispatch(ComPtr<IDispatch> object, std::shared_ptr<DispIdCache> cache)
    : object_(std::move(object)), cache_(std::move(cache)) {
  if (!cache_) cache_ = std::make_shared<DispIdCache>("object");
}

Dispatch::Dispatch(ComPtr<IDispatch> object, std::string kind)
    : Dispatch(std::move(object), std::make_shared<DispIdCache>(std::move(kind))) {}

Dispatch Dispatch::Create(std::string_view prog_id) {
  const std::string name(prog_id);
  const std::wstring wide = ToUtf16(prog_id);
  CLSID clsid{};
  ThrowIfFailed(CLSIDFromProgID(wide.c_str(), &clsid), name);
  ComPtr<IDispatch> object;
  ThrowIfFailed(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                 reinterpret_cast<void**>(object.put())),
                name);
  return Dispatch(std::move(object), name);
}

std::string Dispatch::Operation(std::string_view name) const {
  return cache_->Kind() + "." + std::string(name);
}

void Dispatch::Put(std::string_view name, const Variant& value) const {
  if (!object_) throw ComError(Operation(name), E_POINTER, "no object");
  DISPID named = DISPID_PROPERTYPUT;
  InvokeId(cache_->Find(*object_.get(), name), DISPATCH_PROPERTYPUT, name,
           std::span<const Variant>(&value, 1), &named);
}

Variant Dispatch::GetById(DISPID id, std::string_view name) const {
  return InvokeId(id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, name, {});
}

Variant Dispatch::Invoke(WORD flags, std::string_view name, std::span<const Variant> args) const {
  if (!object_) throw ComError(Operation(name), E_POINTER, "no object");
  return InvokeId(cache_->Find(*object_.get(), name), flags, name, args);
}

Variant Dispatch::InvokeId(DISPID id, WORD flags, std::string_view name,
                           std::span<const Variant> args, DISPID* named) const {
  if (!object_) throw ComError(Operation(name), E_POINTER, "no object");
  // Invoke takes the arguments last to first. The copies are shallow: the
  // caller's Variants own the values and outlive the call.
  std::vector<VARIANTARG> reversed(args.size());
  for (std::size_t i = 0; i < args.size(); ++i) reversed[args.size() - 1 - i] = args[i].get();
  DISPPARAMS parameters{reversed.data(), named, static_cast<UINT>(reversed.size()),
                        named ? 1u : 0u};
  Variant result;
  EXCEPINFO exception{};
  UINT bad_argument = 0;
  const HRESULT status =
      object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                      flags == DISPATCH_PROPERTYPUT ? nullptr : result.put(), &exception,
                      &bad_argument);
  if (FAILED(status)) throw InvokeError(Operation(name), status, exception);
  return result;
}

}  // namespace qs::win32
