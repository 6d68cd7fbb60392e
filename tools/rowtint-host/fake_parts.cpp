#include "fake_parts.h"

#include <olectl.h>

#include <algorithm>

#include "platform/win32/boundaries.h"
#include "platform/win32/hresult_errors.h"

namespace rowtint::win32::fakes {
namespace {
long live = 0;

// Type information that knows only its own name.
class FakeTypeInfo final : public ComObject<FakeTypeInfo, ITypeInfo> {
 public:
  static constexpr bool kHoldsLibrary = false;  // a fake is no object of the library

  STDMETHODIMP GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc, DWORD* context, BSTR* helpFile) override {
    if (id != MEMBERID_NIL) return TYPE_E_ELEMENTNOTFOUND;
    if (name) *name = SysAllocString(Widen(name_).c_str());
    if (doc) *doc = nullptr;
    if (context) *context = 0;
    if (helpFile) *helpFile = nullptr;
    return S_OK;
  }
  STDMETHODIMP GetTypeAttr(TYPEATTR**) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeComp(ITypeComp**) override { return E_NOTIMPL; }
  STDMETHODIMP GetFuncDesc(UINT, FUNCDESC**) override { return E_NOTIMPL; }
  STDMETHODIMP GetVarDesc(UINT, VARDESC**) override { return E_NOTIMPL; }
  STDMETHODIMP GetNames(MEMBERID, BSTR*, UINT, UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetRefTypeOfImplType(UINT, HREFTYPE*) override { return E_NOTIMPL; }
  STDMETHODIMP GetImplTypeFlags(UINT, INT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(LPOLESTR*, UINT, MEMBERID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(PVOID, MEMBERID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, WORD*) override { return E_NOTIMPL; }
  STDMETHODIMP GetRefTypeInfo(HREFTYPE, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP AddressOfMember(MEMBERID, INVOKEKIND, PVOID*) override { return E_NOTIMPL; }
  STDMETHODIMP CreateInstance(IUnknown*, REFIID, PVOID*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMops(MEMBERID, BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainingTypeLib(ITypeLib**, UINT*) override { return E_NOTIMPL; }
  void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR*) override {}
  void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC*) override {}
  void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC*) override {}

 private:
  friend class ComObject<FakeTypeInfo, ITypeInfo>;
  explicit FakeTypeInfo(std::string name) : name_(std::move(name)) {}
  Alive alive_;
  std::string name_;
};

// A collection's enumerator, as For Each walks it.
class FakeEnum final : public ComObject<FakeEnum, IEnumVARIANT> {
 public:
  static constexpr bool kHoldsLibrary = false;  // a fake is no object of the library

  STDMETHODIMP Next(ULONG count, VARIANT* out, ULONG* fetched) override {
    ULONG n = 0;
    for (; n < count && next_ < items_.size(); ++n, ++next_) {
      VariantInit(&out[n]);
      VariantCopy(&out[n], items_[next_].Ptr());
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    next_ = std::min(items_.size(), next_ + static_cast<std::size_t>(count));
    return next_ < items_.size() ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    next_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumVARIANT**) override { return E_NOTIMPL; }

 private:
  friend class ComObject<FakeEnum, IEnumVARIANT>;
  explicit FakeEnum(std::vector<Variant> items) : items_(std::move(items)) {}
  Alive alive_;
  std::vector<Variant> items_;
  std::size_t next_ = 0;
};

class FakePoint final : public ComObject<FakePoint, IConnectionPoint> {
 public:
  static constexpr bool kHoldsLibrary = false;  // a fake is no object of the library

  STDMETHODIMP GetConnectionInterface(IID* iid) override {
    if (!iid) return E_POINTER;
    *iid = events_.iid;
    return S_OK;
  }
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override {
    if (!container) return E_POINTER;
    *container = owner_.Get();
    owner_->AddRef();
    return S_OK;
  }
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override {
    if (!sink || !cookie) return E_POINTER;
    // As the host's own connection points do: the sink must answer the event interface.
    ComPtr<IDispatch> events;
    if (FAILED(sink->QueryInterface(events_.iid, events.PutVoid())) || !events) return CONNECT_E_CANNOTCONNECT;
    FakeDispatch::Advised advised{events, nullptr};
    if (!CallbackBoundary([&] {
          if (events_.hook) advised.tie = events_.hook(events);
        }))
      return CONNECT_E_CANNOTCONNECT;
    ++events_.advises;
    *cookie = events_.nextCookie++;
    events_.sinks[*cookie] = std::move(advised);
    return S_OK;
  }
  STDMETHODIMP Unadvise(DWORD cookie) override {
    ++events_.unadvises;
    auto it = events_.sinks.find(cookie);
    if (it == events_.sinks.end()) return CONNECT_E_NOCONNECTION;
    const FakeDispatch::Advised gone = std::move(it->second);
    events_.sinks.erase(it);
    return S_OK;
  }
  STDMETHODIMP EnumConnections(IEnumConnections** connections) override {
    if (connections) *connections = nullptr;
    return E_NOTIMPL;
  }

 private:
  friend class ComObject<FakePoint, IConnectionPoint>;
  FakePoint(ComPtr<FakeDispatch> owner, FakeDispatch::Events& events) : owner_(std::move(owner)), events_(events) {}
  // No count of its own: it holds its container, which counts.
  ComPtr<FakeDispatch> owner_;
  FakeDispatch::Events& events_;
};
}  // namespace

Alive::Alive() noexcept { ++live; }
Alive::~Alive() { --live; }

long LiveFakes() noexcept { return live; }

ComPtr<ITypeInfo> MakeTypeInfo(const std::string& name) {
  auto info = FakeTypeInfo::Create(name);
  return ComPtr<ITypeInfo>(info.Get());
}

ComPtr<IEnumVARIANT> MakeEnum(std::vector<Variant> items) {
  auto enumerator = FakeEnum::Create(std::move(items));
  return ComPtr<IEnumVARIANT>(enumerator.Get());
}

ComPtr<IConnectionPoint> MakePoint(const ComPtr<FakeDispatch>& owner, FakeDispatch::Events& events) {
  auto point = FakePoint::Create(owner, events);
  return ComPtr<IConnectionPoint>(point.Get());
}

}  // namespace rowtint::win32::fakes
