#include "server/dual_dispatch.h"

#include <oleauto.h>

#include <string>

#include "platform/win32/module_lifetime.h"

namespace rowtint::win32 {

ComPtr<ITypeInfo> OwnTypeInfo(REFGUID guid) {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = 0;
  while ((length = GetModuleFileNameW(ModuleInstance(), path.data(), static_cast<DWORD>(path.size()))) == path.size())
    path.resize(path.size() * 2);
  if (length == 0) return {};
  path.resize(length);
  // The type library is resource 1 of the module; REGKIND_NONE leaves the registry alone.
  ComPtr<ITypeLib> library;
  if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Put()))) return {};
  ComPtr<ITypeInfo> info;
  if (FAILED(library->GetTypeInfoOfGuid(guid, info.Put()))) return {};
  return info;
}

}  // namespace rowtint::win32
