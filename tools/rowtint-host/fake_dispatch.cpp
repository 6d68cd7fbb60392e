#include "fake_dispatch.h"

#include <olectl.h>

#include <algorithm>
#include <cctype>

#include "platform/win32/hresult_errors.h"

namespace rowtint::win32::fakes {
namespace {
long live = 0;

// Counts one more live fake for as long as it lives.
struct Alive {
  Alive() noexcept { ++live; }
  ~Alive() { --live; }
  Alive(const Alive&) = delete;
  Alive& operator=(const Alive&) = delete;
};

// The caller's argument, copied; the caller keeps its own.
Variant CopyOf(const VARIANT& argument) {
  Variant copy;
  VariantCopy(copy.Ptr(), const_cast<VARIANT*>(&argument));
  return copy;
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

// Type information that knows only its own name.
class FakeTypeInfo final : public ITypeInfo {
 public:
  explicit FakeTypeInfo(std::string name) : name_(std::move(name)) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = (riid == IID_IUnknown || riid == IID_ITypeInfo) ? static_cast<ITypeInfo*>(this) : nullptr;
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
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
  ~FakeTypeInfo() = default;
  Alive alive_;
  ULONG refs_ = 1;
  std::string name_;
};

// A collection's enumerator, as For Each walks it.
class FakeEnum final : public IEnumVARIANT {
 public:
  explicit FakeEnum(std::vector<Variant> items) : items_(std::move(items)) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = (riid == IID_IUnknown || riid == IID_IEnumVARIANT) ? static_cast<IEnumVARIANT*>(this) : nullptr;
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
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
  ~FakeEnum() = default;
  Alive alive_;
  ULONG refs_ = 1;
  std::vector<Variant> items_;
  std::size_t next_ = 0;
};
}  // namespace

long LiveFakes() noexcept { return live; }

const Variant* ReceivedCall::Named(DISPID id) const {
  for (std::size_t i = 0; i < namedIds.size(); ++i)
    if (namedIds[i] == id) return &named[i];
  return nullptr;
}

// --- Behaviours -----------------------------------------------------------------

Behaviour Returns(Variant value) {
  return [value = std::move(value)](const ReceivedCall&, Variant& result, EXCEPINFO&) {
    result = value;
    return S_OK;
  };
}

Behaviour ReturnsNothing() { return Returns(Variant::Object(nullptr)); }

Behaviour ReturnsEmpty() { return Returns(Variant()); }

Behaviour ReturnsObject(const ComPtr<FakeDispatch>& object) {
  return Returns(Variant::Object(static_cast<IDispatch*>(object.Get())));
}

Behaviour FailsWith(HRESULT hr) {
  return [hr](const ReceivedCall&, Variant&, EXCEPINFO&) { return hr; };
}

Behaviour Raises(HRESULT scode, const std::wstring& description) {
  return [scode, description](const ReceivedCall&, Variant&, EXCEPINFO& info) {
    info.scode = scode;
    info.bstrSource = SysAllocString(L"Microsoft Excel");
    info.bstrDescription = SysAllocString(description.c_str());
    return DISP_E_EXCEPTION;
  };
}

Behaviour Enumerates(std::vector<Variant> items) {
  return [items = std::move(items)](const ReceivedCall&, Variant& result, EXCEPINFO&) {
    auto* enumerator = new FakeEnum(items);
    result = Variant::Unknown(enumerator);
    enumerator->Release();
    return S_OK;
  };
}

// --- FakeDispatch ---------------------------------------------------------------

FakeDispatch::FakeDispatch(std::string typeName) : typeName_(std::move(typeName)) { ++live; }

FakeDispatch::~FakeDispatch() { --live; }

ComPtr<FakeDispatch> FakeDispatch::Create(std::string typeName) {
  return ComPtr<FakeDispatch>::Attach(new FakeDispatch(std::move(typeName)));
}

FakeDispatch& FakeDispatch::Unrecorded() {
  recording_ = false;
  return *this;
}

FakeDispatch& FakeDispatch::Implements(const IID& iid) {
  interfaces_.push_back(iid);
  return *this;
}

FakeDispatch& FakeDispatch::Define(DISPID id, std::string name, std::vector<std::string> argNames) {
  auto& entry = members_[id];
  entry.name = std::move(name);
  entry.argNames = std::move(argNames);
  return *this;
}

FakeDispatch& FakeDispatch::On(DISPID id, Behaviour behaviour) {
  members_[id].behaviour = std::move(behaviour);
  return *this;
}

FakeDispatch& FakeDispatch::On(const std::string& name, Behaviour behaviour) {
  return On(IdOf(name), std::move(behaviour));
}

FakeDispatch& FakeDispatch::Property(DISPID id, std::string name, Variant initial) {
  Define(id, std::move(name));
  properties_[id] = std::move(initial);
  return On(id, [this, id](const ReceivedCall& call, Variant& result, EXCEPINFO&) {
    if (call.flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
      const Variant* value = call.Named(DISPID_PROPERTYPUT);
      if (!value) return DISP_E_PARAMNOTOPTIONAL;
      properties_[id] = *value;
    } else {
      result = properties_[id];
    }
    return S_OK;
  });
}

FakeDispatch& FakeDispatch::Sources(const IID& events) {
  if (!FindPoint(events)) points_.push_back(std::make_unique<Point>(*this, events));
  return *this;
}

DISPID FakeDispatch::IdOf(const std::string& name) const {
  for (const auto& [id, entry] : members_)
    if (SameName(entry.name, name)) return id;
  return DISPID_UNKNOWN;
}

const Variant& FakeDispatch::Value(DISPID property) const { return properties_.at(property); }

std::vector<ReceivedCall> FakeDispatch::CallsTo(DISPID id) const {
  std::vector<ReceivedCall> to;
  for (const auto& call : calls_)
    if (call.member == id) to.push_back(call);
  return to;
}

FakeDispatch::Point* FakeDispatch::FindPoint(const IID& events) const {
  for (const auto& point : points_)
    if (point->Events() == events) return point.get();
  return nullptr;
}

std::vector<ComPtr<IDispatch>> FakeDispatch::Sinks(const IID& events) const {
  std::vector<ComPtr<IDispatch>> sinks;
  if (Point* point = FindPoint(events))
    for (const auto& [cookie, sink] : point->sinks) sinks.push_back(sink);
  return sinks;
}

int FakeDispatch::Advises(const IID& events) const {
  Point* point = FindPoint(events);
  return point ? point->advises : 0;
}

int FakeDispatch::Unadvises(const IID& events) const {
  Point* point = FindPoint(events);
  return point ? point->unadvises : 0;
}

HRESULT FakeDispatch::Fire(const IID& events, DISPID event, std::vector<Variant>& args) {
  std::vector<VARIANT> slots;
  for (auto it = args.rbegin(); it != args.rend(); ++it) slots.push_back(*it->Ptr());
  HRESULT hr = S_OK;
  for (const auto& sink : Sinks(events)) {
    DISPPARAMS params{slots.empty() ? nullptr : slots.data(), nullptr, static_cast<UINT>(slots.size()), 0};
    UINT argError = 0;
    hr = sink->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, &argError);
  }
  return hr;
}

STDMETHODIMP FakeDispatch::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid == IID_IUnknown || riid == IID_IDispatch ||
      std::find(interfaces_.begin(), interfaces_.end(), riid) != interfaces_.end())
    *ppv = static_cast<IDispatch*>(this);
  else if (riid == IID_IConnectionPointContainer && !points_.empty())
    *ppv = static_cast<IConnectionPointContainer*>(this);
  if (!*ppv) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) FakeDispatch::AddRef() { return ++refs_; }

STDMETHODIMP_(ULONG) FakeDispatch::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP FakeDispatch::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = typeName_.empty() ? 0 : 1;
  return S_OK;
}

STDMETHODIMP FakeDispatch::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (typeName_.empty() || index != 0) return DISP_E_BADINDEX;
  *info = new FakeTypeInfo(typeName_);
  return S_OK;
}

STDMETHODIMP FakeDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  std::vector<std::string> asked;
  for (UINT i = 0; i < count; ++i) asked.push_back(Narrow(names[i]));
  if (recording_) lookups_.push_back(asked);
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  if (count == 0) return S_OK;
  const DISPID member = IdOf(asked[0]);
  if (member == DISPID_UNKNOWN) return DISP_E_UNKNOWNNAME;
  ids[0] = member;
  HRESULT hr = S_OK;
  const auto& argNames = members_.at(member).argNames;
  for (UINT i = 1; i < count; ++i) {
    auto it =
        std::find_if(argNames.begin(), argNames.end(), [&](const std::string& n) { return SameName(n, asked[i]); });
    if (it == argNames.end())
      hr = DISP_E_UNKNOWNNAME;
    else
      ids[i] = static_cast<DISPID>(it - argNames.begin());
  }
  return hr;
}

STDMETHODIMP FakeDispatch::Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                  EXCEPINFO* info, UINT*) {
  ReceivedCall call;
  call.member = id;
  call.flags = flags;
  call.lcid = lcid;
  if (params) {
    for (UINT i = 0; i < params->cNamedArgs; ++i) {
      call.namedIds.push_back(params->rgdispidNamedArgs[i]);
      call.named.push_back(CopyOf(params->rgvarg[i]));
    }
    for (UINT i = params->cArgs; i-- > params->cNamedArgs;) call.args.push_back(CopyOf(params->rgvarg[i]));
  }
  if (recording_) calls_.push_back(call);
  auto member = members_.find(id);
  if (member == members_.end() || !member->second.behaviour) return DISP_E_MEMBERNOTFOUND;

  Variant value;
  EXCEPINFO exception{};
  const HRESULT hr = member->second.behaviour(call, value, exception);
  if (hr == DISP_E_EXCEPTION) {
    if (info)
      *info = exception;
    else {
      SysFreeString(exception.bstrSource);
      SysFreeString(exception.bstrDescription);
    }
  }
  if (SUCCEEDED(hr) && result) {
    // The caller owns the result from here.
    *result = *value.Ptr();
    VariantInit(value.Ptr());
  }
  return hr;
}

STDMETHODIMP FakeDispatch::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (points) *points = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeDispatch::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = FindPoint(riid);
  if (!*point) return CONNECT_E_NOCONNECTION;
  (*point)->AddRef();
  return S_OK;
}

// --- Connection points ----------------------------------------------------------

STDMETHODIMP FakeDispatch::Point::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = (riid == IID_IUnknown || riid == IID_IConnectionPoint) ? static_cast<IConnectionPoint*>(this) : nullptr;
  if (!*ppv) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP FakeDispatch::Point::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = events_;
  return S_OK;
}

STDMETHODIMP FakeDispatch::Point::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  *container = &owner_;
  owner_.AddRef();
  return S_OK;
}

STDMETHODIMP FakeDispatch::Point::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  // As the host's own connection points do: the sink must answer the event interface.
  ComPtr<IDispatch> events;
  if (FAILED(sink->QueryInterface(events_, events.PutVoid())) || !events) return CONNECT_E_CANNOTCONNECT;
  ++advises;
  *cookie = nextCookie_++;
  sinks[*cookie] = events;
  return S_OK;
}

STDMETHODIMP FakeDispatch::Point::Unadvise(DWORD cookie) {
  ++unadvises;
  return sinks.erase(cookie) ? S_OK : CONNECT_E_NOCONNECTION;
}

STDMETHODIMP FakeDispatch::Point::EnumConnections(IEnumConnections** connections) {
  if (connections) *connections = nullptr;
  return E_NOTIMPL;
}

}  // namespace rowtint::win32::fakes
