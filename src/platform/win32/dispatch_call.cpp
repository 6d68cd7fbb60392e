#include "platform/win32/dispatch_call.h"

#include <algorithm>
#include <cctype>
#include <new>

#include "platform/error.h"
#include "platform/win32/hresult_errors.h"

namespace rowtint::win32 {
namespace {
constexpr std::int32_t kObjectRequired = 424;

BSTR AllocOrThrow(const wchar_t* text, UINT length) {
  BSTR b = SysAllocStringLen(text, length);
  if (!b && (text || length)) throw std::bad_alloc();
  return b;
}

// The value converted to `type`, raising the conversion's error.
Variant Converted(const Variant& value, VARTYPE type, const char* member) {
  Variant out;
  const HRESULT hr = VariantChangeType(out.Ptr(), const_cast<VARIANT*>(&value.Raw()), 0, type);  // reads only
  if (FAILED(hr)) RaiseFromHresult(hr, nullptr, member);
  return out;
}

std::string CacheKey(const IID& iface, const char* member, const char* arg) {
  std::string key(reinterpret_cast<const char*>(&iface), sizeof iface);
  std::string name = member;
  if (arg) name.append(1, '\0').append(arg);
  // Automation names are case-insensitive.
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return key + name;
}
}  // namespace

// --- Bstr -------------------------------------------------------------------

Bstr::Bstr(const std::string& utf8) {
  const std::wstring wide = Widen(utf8);
  b_ = AllocOrThrow(wide.data(), static_cast<UINT>(wide.size()));
}

Bstr::Bstr(const wchar_t* text) : b_(text ? AllocOrThrow(text, static_cast<UINT>(wcslen(text))) : nullptr) {}

std::string Bstr::Text() const { return Narrow(b_, static_cast<int>(SysStringLen(b_))); }

// --- Variant ----------------------------------------------------------------

Variant::Variant(const Variant& other) : Variant() {
  if (FAILED(VariantCopy(&v_, const_cast<VARIANT*>(&other.v_)))) throw std::bad_alloc();  // reads only
}

Variant Variant::Long(std::int32_t value) noexcept {
  Variant v;
  V_VT(&v.v_) = VT_I4;
  V_I4(&v.v_) = value;
  return v;
}

Variant Variant::Short(std::int16_t value) noexcept {
  Variant v;
  V_VT(&v.v_) = VT_I2;
  V_I2(&v.v_) = value;
  return v;
}

Variant Variant::Bool(platform::VbBool value) noexcept {
  Variant v;
  V_VT(&v.v_) = VT_BOOL;
  V_BOOL(&v.v_) = value;
  return v;
}

Variant Variant::Double(double value) noexcept {
  Variant v;
  V_VT(&v.v_) = VT_R8;
  V_R8(&v.v_) = value;
  return v;
}

Variant Variant::Text(const std::string& utf8) {
  Bstr text(utf8);
  Variant v;
  V_VT(&v.v_) = VT_BSTR;
  V_BSTR(&v.v_) = text.Detach();
  return v;
}

Variant Variant::Object(IDispatch* object) noexcept {
  Variant v;
  V_VT(&v.v_) = VT_DISPATCH;
  V_DISPATCH(&v.v_) = object;
  if (object) object->AddRef();
  return v;
}

Variant Variant::Unknown(IUnknown* object) noexcept {
  Variant v;
  V_VT(&v.v_) = VT_UNKNOWN;
  V_UNKNOWN(&v.v_) = object;
  if (object) object->AddRef();
  return v;
}

Variant Variant::Missing() noexcept {
  Variant v;
  V_VT(&v.v_) = VT_ERROR;
  V_ERROR(&v.v_) = DISP_E_PARAMNOTFOUND;
  return v;
}

Variant Variant::BoolRef(VARIANT_BOOL* target) noexcept {
  Variant v;
  V_VT(&v.v_) = VT_BOOL | VT_BYREF;
  V_BOOLREF(&v.v_) = target;
  return v;
}

Variant Variant::Attach(const VARIANT& owned) noexcept {
  Variant v;
  v.v_ = owned;
  return v;
}

// --- Reading results ----------------------------------------------------------

std::int32_t ToLong(const Variant& value, const char* member) { return V_I4(&Converted(value, VT_I4, member).Raw()); }

double ToDouble(const Variant& value, const char* member) { return V_R8(&Converted(value, VT_R8, member).Raw()); }

platform::VbBool ToBool(const Variant& value, const char* member) {
  return V_BOOL(&Converted(value, VT_BOOL, member).Raw());
}

std::string ToText(const Variant& value, const char* member) {
  const Variant text = Converted(value, VT_BSTR, member);
  return Narrow(V_BSTR(&text.Raw()), static_cast<int>(SysStringLen(V_BSTR(&text.Raw()))));
}

ComPtr<IDispatch> ToObject(const Variant& value, const char* member) {
  const VARIANT& v = value.Raw();
  switch (V_VT(&v)) {
    case VT_EMPTY:
      return {};
    case VT_DISPATCH:
      return ComPtr<IDispatch>(V_DISPATCH(&v));
    case VT_DISPATCH | VT_BYREF:
      return ComPtr<IDispatch>(V_DISPATCHREF(&v) ? *V_DISPATCHREF(&v) : nullptr);
    case VT_UNKNOWN: {
      ComPtr<IDispatch> object;
      if (IUnknown* unknown = V_UNKNOWN(&v)) {
        const HRESULT hr = unknown->QueryInterface(IID_IDispatch, object.PutVoid());
        if (FAILED(hr)) RaiseFromHresult(hr, nullptr, member);
      }
      return object;
    }
    default:
      platform::Raise(kObjectRequired, "Object required");
  }
}

ComPtr<IDispatch> RequireObject(const Variant& value, const char* member) {
  ComPtr<IDispatch> object = ToObject(value, member);
  if (!object) platform::Raise(platform::err::kObjectNotSet, "Object variable or With block variable not set");
  return object;
}

// --- DispidCache --------------------------------------------------------------

std::vector<DISPID> DispidCache::Lookup(IDispatch* object, const IID& iface, const char* member,
                                        const std::vector<const char*>& args) {
  // GetIDsOfNames takes argument names only after their member's name, so
  // the member is asked again whenever one of its arguments is new.
  std::vector<const char*> unknown;
  for (const char* arg : args)
    if (!ids_.contains(CacheKey(iface, member, arg))) unknown.push_back(arg);
  if (!unknown.empty() || !ids_.contains(CacheKey(iface, member, nullptr))) {
    std::vector<std::wstring> wide{Widen(member)};
    for (const char* arg : unknown) wide.push_back(Widen(arg));
    std::vector<LPOLESTR> names;
    for (auto& w : wide) names.push_back(w.data());
    std::vector<DISPID> found(names.size(), DISPID_UNKNOWN);
    const HRESULT hr =
        object->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()), kEnglishLocale, found.data());
    if (FAILED(hr)) RaiseFromHresult(hr, nullptr, member);
    ids_[CacheKey(iface, member, nullptr)] = found[0];
    for (std::size_t i = 0; i < unknown.size(); ++i) ids_[CacheKey(iface, member, unknown[i])] = found[i + 1];
  }
  std::vector<DISPID> result{ids_.at(CacheKey(iface, member, nullptr))};
  for (const char* arg : args) result.push_back(ids_.at(CacheKey(iface, member, arg)));
  return result;
}

// --- Dispatcher ---------------------------------------------------------------

Dispatcher::Dispatcher(ComPtr<IDispatch> object, const IID& iface, std::shared_ptr<DispidCache> names)
    : object_(std::move(object)), iface_(iface), names_(names ? std::move(names) : std::make_shared<DispidCache>()) {}

Variant Dispatcher::Get(const Member& member, std::vector<Variant> args, LCID lcid) const {
  return Invoke(member, Invocation::Get, std::move(args), {}, lcid);
}

void Dispatcher::Put(const Member& member, Variant value) const {
  std::vector<Variant> args;
  args.push_back(std::move(value));
  Invoke(member, Invocation::Put, std::move(args), {}, kUserLocale);
}

Variant Dispatcher::Call(const Member& member, std::vector<Variant> args, std::vector<NamedArg> named) const {
  return Invoke(member, Invocation::Method, std::move(args), std::move(named), kUserLocale);
}

Variant Dispatcher::Invoke(const Member& member, Invocation kind, std::vector<Variant> args,
                           std::vector<NamedArg> named, LCID lcid) const {
  if (!object_) platform::Raise(platform::err::kObjectNotSet, "Object variable or With block variable not set");

  DISPID id = member.id;
  std::vector<DISPID> namedIds;
  if (id == DISPID_UNKNOWN || !named.empty()) {
    std::vector<const char*> argNames;
    for (const auto& n : named) argNames.push_back(n.name);
    const std::vector<DISPID> ids = names_->Lookup(object_.Get(), iface_, member.name, argNames);
    id = ids[0];
    namedIds.assign(ids.begin() + 1, ids.end());
  }

  // rgvarg holds the arguments last first: the named ones at the front (the
  // last named first, as the host language passes them), then the
  // positional ones from the last to the first. A put's value is the
  // named DISPID_PROPERTYPUT, and so the very first.
  std::vector<VARIANT> slots;  // views of the owners above, never cleared here
  std::vector<DISPID> slotIds;
  if (kind == Invocation::Put) {
    slots.push_back(args.back().Raw());
    slotIds.push_back(DISPID_PROPERTYPUT);
    args.pop_back();
  }
  for (std::size_t i = named.size(); i-- > 0;) {
    slots.push_back(named[i].value.Raw());
    slotIds.push_back(namedIds[i]);
  }
  for (std::size_t i = args.size(); i-- > 0;) slots.push_back(args[i].Raw());

  DISPPARAMS params{};
  params.rgvarg = slots.empty() ? nullptr : slots.data();
  params.cArgs = static_cast<UINT>(slots.size());
  params.rgdispidNamedArgs = slotIds.empty() ? nullptr : slotIds.data();
  params.cNamedArgs = static_cast<UINT>(slotIds.size());

  Variant result;
  ExcepInfo exception;
  UINT argError = 0;
  const HRESULT hr = object_->Invoke(id, IID_NULL, lcid, static_cast<WORD>(kind), &params,
                                     kind == Invocation::Put ? nullptr : result.Put(), exception.Get(), &argError);
  if (FAILED(hr)) RaiseFromHresult(hr, exception.Get(), member.name);
  return result;
}

Dispatcher Dispatcher::Other(ComPtr<IDispatch> object, const IID& iface) const {
  return Dispatcher(std::move(object), iface, names_);
}

ComPtr<IDispatch> Dispatcher::Query(const IID& iface) const {
  ComPtr<IDispatch> result;
  // A dual interface begins with IDispatch, and its Invoke knows its own members.
  if (object_) object_->QueryInterface(iface, result.PutVoid());
  return result;
}

}  // namespace rowtint::win32
