// Every COM object of the library is built from this one template: the
// reference count, QueryInterface over the listed interfaces, and a hold on
// the library while the object lives. An object made by a program that only
// uses the library (a test's stand-in for the host) declares
// `static constexpr bool kHoldsLibrary = false;` and holds nothing.
#pragma once

#include <windows.h>

#include <new>
#include <type_traits>
#include <utility>

#include "platform/win32/com_ptr.h"
#include "platform/win32/module_lifetime.h"

namespace rowtint::win32 {

// The interface a base class stands for: itself, or the one it names as
// `Interface` when it is an implementation helper (a dual interface's IDispatch).
template <class Base, class = void>
struct InterfaceOf {
  using type = Base;
};
template <class Base>
struct InterfaceOf<Base, std::void_t<typename Base::Interface>> {
  using type = typename Base::Interface;
};

template <class Derived, class First, class... Rest>
class ComObject : public First, public Rest... {
 public:
  // A new object with one reference, owned by the result; empty when memory ran out.
  template <class... Args>
  static ComPtr<Derived> Create(Args&&... args) {
    Derived* object = new (std::nothrow) Derived(std::forward<Args>(args)...);
    return ComPtr<Derived>::Attach(object);
  }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown) {
      *ppv = static_cast<IUnknown*>(static_cast<First*>(this));
    } else if (!Find<First, Rest...>(riid, ppv)) {
      if constexpr (std::is_base_of_v<IDispatch, First>) {
        if (riid == IID_IDispatch) *ppv = static_cast<IDispatch*>(static_cast<First*>(this));
      }
      if (!*ppv) *ppv = static_cast<Derived*>(this)->QueryOther(riid);
    }
    if (!*ppv) return E_NOINTERFACE;
    static_cast<IUnknown*>(*ppv)->AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete static_cast<Derived*>(this);
    return static_cast<ULONG>(left);
  }

 protected:
  ComObject() noexcept {
    if constexpr (HoldsLibrary()) Hold(Lifetime::ComObject);
  }
  virtual ~ComObject() {
    if constexpr (HoldsLibrary()) Let(Lifetime::ComObject);
  }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  // Further identities (an event interface answered by IDispatch): none by default.
  void* QueryOther(REFIID) { return nullptr; }

 private:
  template <class I, class... More>
  bool Find(REFIID riid, void** ppv) {
    using Interface = typename InterfaceOf<I>::type;
    if (riid == __uuidof(Interface)) {
      *ppv = static_cast<Interface*>(static_cast<I*>(static_cast<Derived*>(this)));
      return true;
    }
    if constexpr (sizeof...(More) > 0) return Find<More...>(riid, ppv);
    return false;
  }

  static constexpr bool HoldsLibrary() {
    if constexpr (requires { Derived::kHoldsLibrary; })
      return Derived::kHoldsLibrary;
    else
      return true;
  }

  volatile LONG refs_ = 1;
};

}  // namespace rowtint::win32
