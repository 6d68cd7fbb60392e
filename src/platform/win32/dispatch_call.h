// One way to call a member of an automation object through IDispatch: by
// DISPID for Excel's own members, by name for Office's command-bar members,
// whose DISPIDs differ between Office versions. Arguments and results are
// VARIANTs with owners; a failed call raises the host's error.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/types.h"
#include "platform/win32/com_ptr.h"

namespace rowtint::win32 {

// An owned BSTR.
class Bstr {
 public:
  Bstr() noexcept = default;
  explicit Bstr(const std::string& utf8);  // std::bad_alloc when out of memory
  explicit Bstr(const wchar_t* text);
  Bstr(Bstr&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
  Bstr& operator=(Bstr&& other) noexcept {
    std::swap(b_, other.b_);
    return *this;
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(b_); }

  BSTR Get() const noexcept { return b_; }
  BSTR Detach() noexcept { return std::exchange(b_, nullptr); }
  // For an out-parameter: frees what it held first.
  BSTR* Put() noexcept {
    SysFreeString(std::exchange(b_, nullptr));
    return &b_;
  }
  std::string Text() const;  // UTF-8

 private:
  BSTR b_ = nullptr;
};

// An owned VARIANT: cleared (its string freed, its object released) when it goes.
class Variant {
 public:
  Variant() noexcept { VariantInit(&v_); }
  Variant(const Variant& other);  // std::bad_alloc when the copy fails
  Variant(Variant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
  Variant& operator=(Variant other) noexcept {
    std::swap(v_, other.v_);
    return *this;
  }
  ~Variant() { VariantClear(&v_); }

  static Variant Long(std::int32_t value) noexcept;
  static Variant Short(std::int16_t value) noexcept;
  static Variant Bool(platform::VbBool value) noexcept;
  static Variant Double(double value) noexcept;
  static Variant Text(const std::string& utf8);
  static Variant Object(IDispatch* object) noexcept;  // takes a reference of its own
  static Variant Unknown(IUnknown* object) noexcept;  // takes a reference of its own
  // An optional argument left out.
  static Variant Missing() noexcept;
  // A Boolean passed by reference: the callee writes into `target`.
  static Variant BoolRef(VARIANT_BOOL* target) noexcept;
  // Adopts a VARIANT whose contents the caller owned.
  static Variant Attach(const VARIANT& owned) noexcept;

  VARTYPE Type() const noexcept { return V_VT(&v_); }
  const VARIANT& Raw() const noexcept { return v_; }
  VARIANT* Ptr() noexcept { return &v_; }
  // For an out-parameter: clears what it held first.
  VARIANT* Put() noexcept {
    VariantClear(&v_);
    return &v_;
  }

 private:
  VARIANT v_;
};

// The exception record of one Invoke; frees the strings the callee filled in.
class ExcepInfo {
 public:
  ExcepInfo() noexcept : info_{} {}
  ExcepInfo(const ExcepInfo&) = delete;
  ExcepInfo& operator=(const ExcepInfo&) = delete;
  ~ExcepInfo() {
    SysFreeString(info_.bstrSource);
    SysFreeString(info_.bstrDescription);
    SysFreeString(info_.bstrHelpFile);
  }
  EXCEPINFO* Get() noexcept { return &info_; }

 private:
  EXCEPINFO info_;
};

// Results read as the host language reads them; a value that cannot be
// converted raises type mismatch (13) or overflow (6).
std::int32_t ToLong(const Variant& value, const char* member);
double ToDouble(const Variant& value, const char* member);
platform::VbBool ToBool(const Variant& value, const char* member);
std::string ToText(const Variant& value, const char* member);
// An object result; empty for Nothing (an empty variant or a null object).
ComPtr<IDispatch> ToObject(const Variant& value, const char* member);
// An object result; Nothing raises "object not set" (91).
ComPtr<IDispatch> RequireObject(const Variant& value, const char* member);

// A member of an automation interface. One without a DISPID is looked up by
// name; the name also serves named arguments and error messages.
struct Member {
  const char* name;
  DISPID id = DISPID_UNKNOWN;
};

// An argument passed by name.
struct NamedArg {
  const char* name;
  Variant value;
};

enum class Invocation : WORD {
  Get = DISPATCH_PROPERTYGET,
  Put = DISPATCH_PROPERTYPUT,
  Method = DISPATCH_METHOD,
};

inline constexpr LCID kUserLocale = LOCALE_USER_DEFAULT;
// Members that take the caller's locale (Version, Selection) are asked in English.
inline constexpr LCID kEnglishLocale = 1033;

// DISPIDs of members and argument names, asked of GetIDsOfNames once per
// interface and name and kept for the host's whole session.
class DispidCache {
 public:
  // The DISPIDs of `member` and then of each of `args` on interface `iface`;
  // only names not asked before are asked of `object`.
  std::vector<DISPID> Lookup(IDispatch* object, const IID& iface, const char* member,
                             const std::vector<const char*>& args);

 private:
  std::map<std::string, DISPID> ids_;
};

// An automation object seen through one of its interfaces.
class Dispatcher {
 public:
  Dispatcher(ComPtr<IDispatch> object, const IID& iface, std::shared_ptr<DispidCache> names);

  Variant Get(const Member& member, std::vector<Variant> args = {}, LCID lcid = kUserLocale) const;
  void Put(const Member& member, Variant value) const;
  Variant Call(const Member& member, std::vector<Variant> args = {}, std::vector<NamedArg> named = {}) const;
  // `args` in declared order, first argument first; `named` after them, by name.
  Variant Invoke(const Member& member, Invocation kind, std::vector<Variant> args, std::vector<NamedArg> named,
                 LCID lcid) const;

  // Another object of the same host, seen through `iface`.
  Dispatcher Other(ComPtr<IDispatch> object, const IID& iface) const;
  // This object through another of its interfaces; empty when it lacks it.
  ComPtr<IDispatch> Query(const IID& iface) const;

  IDispatch* Object() const noexcept { return object_.Get(); }
  const ComPtr<IDispatch>& ObjectRef() const noexcept { return object_; }
  const std::shared_ptr<DispidCache>& Names() const noexcept { return names_; }

 private:
  ComPtr<IDispatch> object_;
  IID iface_;
  std::shared_ptr<DispidCache> names_;
};

// What every adapter over an automation object has: the object itself, so
// that it can be handed back to COM or passed as an argument.
class DispatchBacked {
 public:
  explicit DispatchBacked(Dispatcher automation) : d_(std::move(automation)) {}
  virtual ~DispatchBacked() = default;
  const Dispatcher& Automation() const noexcept { return d_; }

 protected:
  Dispatcher d_;
};

}  // namespace rowtint::win32
