// The per-user registration of Rowtint.Connect: the class and its
// programmatic identifier, the type library and its interface, and the entry
// that lists the add-in among Excel's COM add-ins. Written under
// HKEY_CURRENT_USER only, so that no administrator rights are needed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace rowtint::win32 {

struct RegistryValue {
  std::wstring key;   // below HKEY_CURRENT_USER
  std::wstring name;  // empty: the key's default value
  DWORD type = REG_SZ;
  std::wstring text;  // REG_SZ
  DWORD number = 0;   // REG_DWORD
};

// Every value registration writes, for the server at `dllPath`.
std::vector<RegistryValue> RegistrationValues(const std::wstring& dllPath, bool win64);

// The keys unregistration removes whole. The class and its interface live in
// each bitness's own view of the registry; the programmatic identifier, the
// type library and Excel's add-in entry are one copy for both, so they go
// only once no class of the other bitness is registered. Of the type library
// the own bitness's file entry always goes.
std::vector<std::wstring> UnregistrationKeys(bool win64, bool otherBitnessRegistered);

HRESULT RegisterServer(const std::wstring& dllPath, bool win64);
HRESULT UnregisterServer(bool win64);

}  // namespace rowtint::win32
