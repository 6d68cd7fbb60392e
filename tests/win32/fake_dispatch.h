// Recording stand-ins for the host's automation objects, for the tests of
// the adapters and sinks and for a stand-in Excel built from them: members
// by DISPID and by name, scripted results and failures, a log of calls and
// of name look-ups, connection points that advise sinks and raise events
// into them, and a count of every fake still alive, so that a test can see
// that each reference it handed out came back.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/com_ptr.h"
#include "platform/win32/dispatch_call.h"

namespace rowtint::win32::fakes {

// Fakes (objects, enumerators, type information) not yet destroyed.
long LiveFakes() noexcept;

// One Invoke as the fake received it.
struct ReceivedCall {
  DISPID member = DISPID_UNKNOWN;
  WORD flags = 0;
  LCID lcid = 0;
  std::vector<Variant> args;     // positional, first declared first
  std::vector<DISPID> namedIds;  // as rgdispidNamedArgs held them (a put's DISPID_PROPERTYPUT included)
  std::vector<Variant> named;    // the values paired with namedIds

  // The argument passed under `id`, or null.
  const Variant* Named(DISPID id) const;
};

// What a member does when invoked: fills `result` and answers S_OK, or
// fails (DISP_E_EXCEPTION with `info` filled for a host exception).
using Behaviour = std::function<HRESULT(const ReceivedCall& call, Variant& result, EXCEPINFO& info)>;

Behaviour Returns(Variant value);
Behaviour ReturnsNothing();  // a null object
Behaviour ReturnsEmpty();    // VT_EMPTY, as a member with no object to give
Behaviour FailsWith(HRESULT hr);
class FakeDispatch;
Behaviour ReturnsObject(const ComPtr<FakeDispatch>& object);
// A host exception: DISP_E_EXCEPTION carrying `scode` and `description`.
Behaviour Raises(HRESULT scode, const std::wstring& description);
// A collection's _NewEnum: a new IEnumVARIANT over `items` at each call.
Behaviour Enumerates(std::vector<Variant> items);

class FakeDispatch final : public IDispatch, public IConnectionPointContainer {
 public:
  // `typeName` is what its type information calls it; empty gives it none.
  static ComPtr<FakeDispatch> Create(std::string typeName = "");

  // Another interface QueryInterface answers (with this IDispatch).
  FakeDispatch& Implements(const IID& iid);
  // A member GetIDsOfNames knows, with its argument names (DISPIDs 0, 1, ...).
  FakeDispatch& Define(DISPID id, std::string name, std::vector<std::string> argNames = {});
  FakeDispatch& On(DISPID id, Behaviour behaviour);
  FakeDispatch& On(const std::string& name, Behaviour behaviour);  // a defined member
  // A read-write property: a put stores the value, a get gives the last one stored.
  FakeDispatch& Property(DISPID id, std::string name, Variant initial);
  // An event interface it raises through a connection point.
  FakeDispatch& Sources(const IID& events);

  DISPID IdOf(const std::string& name) const;
  const Variant& Value(DISPID property) const;
  const std::vector<ReceivedCall>& Calls() const { return calls_; }
  std::vector<ReceivedCall> CallsTo(DISPID id) const;
  // Each GetIDsOfNames as the names it was asked for, in order.
  const std::vector<std::vector<std::string>>& NameLookups() const { return lookups_; }
  ULONG References() const { return refs_; }

  // Sinks advised on the connection point of `events`.
  std::vector<ComPtr<IDispatch>> Sinks(const IID& events) const;
  int Advises(const IID& events) const;
  int Unadvises(const IID& events) const;
  // Raises an event into every advised sink; `args` first declared first.
  // The result of the last sink's Invoke (S_OK with none).
  HRESULT Fire(const IID& events, DISPID event, std::vector<Variant>& args);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* info, UINT* argError) override;
  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

 private:
  explicit FakeDispatch(std::string typeName);
  ~FakeDispatch();

  struct Entry {
    std::string name;
    std::vector<std::string> argNames;
    Behaviour behaviour;
  };

  // One connection point; it shares the container's reference count.
  class Point final : public IConnectionPoint {
   public:
    Point(FakeDispatch& owner, const IID& events) : owner_(owner), events_(events) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return owner_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return owner_.Release(); }
    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

    const IID& Events() const { return events_; }
    std::map<DWORD, ComPtr<IDispatch>> sinks;
    int advises = 0;
    int unadvises = 0;

   private:
    FakeDispatch& owner_;
    IID events_;
    DWORD nextCookie_ = 1;
  };

  Point* FindPoint(const IID& events) const;

  ULONG refs_ = 1;
  std::string typeName_;
  std::vector<IID> interfaces_;
  std::map<DISPID, Entry> members_;
  std::map<DISPID, Variant> properties_;
  std::vector<std::unique_ptr<Point>> points_;
  std::vector<ReceivedCall> calls_;
  std::vector<std::vector<std::string>> lookups_;
};

// The fake as the IDispatch a caller receives, with a reference of its own.
inline ComPtr<IDispatch> AsDispatch(const ComPtr<FakeDispatch>& fake) {
  return ComPtr<IDispatch>(static_cast<IDispatch*>(fake.Get()));
}

}  // namespace rowtint::win32::fakes
