#include "server/class_factory.h"

#include "platform/win32/boundaries.h"
#include "platform/win32/com_object.h"
#include "server/connect_server.h"
#include "server/library_instance.h"

namespace rowtint::win32 {
namespace {

class ConnectFactory : public ComObject<ConnectFactory, IClassFactory> {
 public:
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return ComBoundary([&] {
      ComPtr<ConnectServer> server = ConnectServer::Create(LoadedLibrary());
      if (!server) return E_OUTOFMEMORY;
      return server->QueryInterface(riid, ppv);
    });
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock)
      Hold(Lifetime::ServerLock);
    else
      Let(Lifetime::ServerLock);
    return S_OK;
  }

 private:
  friend class ComObject<ConnectFactory, IClassFactory>;
  ConnectFactory() = default;
  ~ConnectFactory() override = default;
};

}  // namespace

ComPtr<IClassFactory> ConnectClassFactory() {
  ComPtr<ConnectFactory> factory = ConnectFactory::Create();
  return factory ? factory.As<IClassFactory>() : ComPtr<IClassFactory>{};
}

}  // namespace rowtint::win32
