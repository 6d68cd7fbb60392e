// The library's entry points: the four exports of an in-process COM server
// and the load/unload notification. Nothing of the add-in's own behaviour
// lives here.
#include <windows.h>

#include <string>

#include "server/class_factory.h"
#include "platform/win32/boundaries.h"
#include "platform/win32/hresult_errors.h"
#include "platform/win32/module_lifetime.h"
#include "server/registration.h"
#include "rowtint_idl.h"

using namespace rowtint::win32;

namespace {
std::wstring OwnPath() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = 0;
  while ((length = GetModuleFileNameW(ModuleInstance(), path.data(), static_cast<DWORD>(path.size()))) == path.size())
    path.resize(path.size() * 2);
  path.resize(length);
  return path;
}
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    SetModuleInstance(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (rclsid != __uuidof(::Connect)) return CLASS_E_CLASSNOTAVAILABLE;
  return ComBoundary([&] {
    ComPtr<IClassFactory> factory = ConnectClassFactory();
    if (!factory) return E_OUTOFMEMORY;
    return factory->QueryInterface(riid, ppv);
  });
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return AnythingAlive() ? S_FALSE : S_OK; }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  return ComBoundary([] { return RegisterServer(OwnPath(), sizeof(void*) == 8); });
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return ComBoundary([] { return UnregisterServer(sizeof(void*) == 8); });
}
