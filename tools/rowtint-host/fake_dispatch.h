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

#include "platform/win32/com_object.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/dispatch_call.h"

namespace rowtint::win32::fakes {

// Fakes (objects, enumerators, type information, connection points) not yet destroyed.
long LiveFakes() noexcept;

// Counts one more live fake for as long as it lives.
class Alive {
 public:
  Alive() noexcept;
  ~Alive();
  Alive(const Alive&) = delete;
  Alive& operator=(const Alive&) = delete;
};

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

// What an advised sink is tied to while it stays advised (see OnAdvise).
using AdviseHook = std::function<std::shared_ptr<void>(const ComPtr<IDispatch>& sink)>;

class FakeDispatch final : public ComObject<FakeDispatch, IDispatch, IConnectionPointContainer> {
 public:
  // A fake is no object of the library: it keeps no hold on it.
  static constexpr bool kHoldsLibrary = false;

  // `typeName` is what its type information calls it; empty gives it none.
  static ComPtr<FakeDispatch> Create(std::string typeName = "");
  // The fake behind an automation object, or null when it is none.
  static ComPtr<FakeDispatch> From(IUnknown* object);

  // Keeps no log of calls and look-ups, for an object that lives through a long run.
  FakeDispatch& Unrecorded();
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
  // Called for each sink advised on the events' connection point; what it
  // returns lives until the sink is unadvised or the fake goes.
  FakeDispatch& OnAdvise(const IID& events, AdviseHook hook);
  // An object of the caller's that this fake stands for, kept alive with it.
  FakeDispatch& Wraps(std::shared_ptr<void> object);
  const std::shared_ptr<void>& Wrapped() const { return wrapped_; }

  DISPID IdOf(const std::string& name) const;
  const Variant& Value(DISPID property) const;
  const std::vector<ReceivedCall>& Calls() const { return calls_; }
  std::vector<ReceivedCall> CallsTo(DISPID id) const;
  // Each GetIDsOfNames as the names it was asked for, in order.
  const std::vector<std::vector<std::string>>& NameLookups() const { return lookups_; }
  ULONG References();

  // Sinks advised on the connection point of `events`.
  std::vector<ComPtr<IDispatch>> Sinks(const IID& events) const;
  int Advises(const IID& events) const;
  int Unadvises(const IID& events) const;
  // Raises an event into every advised sink; `args` first declared first.
  // The result of the last sink's Invoke (S_OK with none).
  HRESULT Fire(const IID& events, DISPID event, std::vector<Variant>& args);

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* info, UINT* argError) override;
  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

  // The state behind one connection point.
  struct Advised {
    ComPtr<IDispatch> sink;
    std::shared_ptr<void> tie;  // what OnAdvise returned; goes before the sink
  };
  struct Events {
    IID iid;
    std::map<DWORD, Advised> sinks;
    AdviseHook hook;
    int advises = 0;
    int unadvises = 0;
    DWORD nextCookie = 1;
  };

 private:
  friend class ComObject<FakeDispatch, IDispatch, IConnectionPointContainer>;
  explicit FakeDispatch(std::string typeName);
  ~FakeDispatch() override;
  void* QueryOther(REFIID riid);

  struct Entry {
    std::string name;
    std::vector<std::string> argNames;
    Behaviour behaviour;
  };

  Events* FindEvents(const IID& events) const;

  std::string typeName_;
  std::vector<IID> interfaces_;
  std::map<DISPID, Entry> members_;
  std::map<DISPID, Variant> properties_;
  std::vector<std::unique_ptr<Events>> events_;
  std::vector<ReceivedCall> calls_;
  std::vector<std::vector<std::string>> lookups_;
  bool recording_ = true;
  std::shared_ptr<void> wrapped_;
  Alive alive_;
};

// Raises an event into one sink, `args` first declared first; the sink's answer.
HRESULT InvokeEvent(IDispatch* sink, DISPID event, std::vector<Variant>& args);

// The fake as the IDispatch a caller receives, with a reference of its own.
inline ComPtr<IDispatch> AsDispatch(const ComPtr<FakeDispatch>& fake) {
  return ComPtr<IDispatch>(static_cast<IDispatch*>(fake.Get()));
}

}  // namespace rowtint::win32::fakes
