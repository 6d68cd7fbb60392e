#include "server/registration.h"

#include "platform/win32/gdi_handles.h"

namespace rowtint::win32 {
namespace {
constexpr const wchar_t* kProgId = L"Rowtint.Connect";
constexpr const wchar_t* kClsid = L"{02ECD3DB-D3C9-4757-88D7-312137B820B0}";
constexpr const wchar_t* kLibid = L"{4BA5643D-B60D-46E6-8867-F65DF8CA6B6E}";
constexpr const wchar_t* kConnectIid = L"{E87D8889-AB02-4C06-8C00-5B67E73C2783}";
// The automation marshaler, for an interface described by a type library.
constexpr const wchar_t* kOleAutomationProxy = L"{00020424-0000-0000-C000-000000000046}";

const std::wstring kClasses = L"Software\\Classes\\";
const std::wstring kClassKey = kClasses + L"CLSID\\" + kClsid;
const std::wstring kProgIdKey = kClasses + kProgId;
const std::wstring kTypeLibKey = kClasses + L"TypeLib\\" + kLibid;
const std::wstring kInterfaceKey = kClasses + L"Interface\\" + kConnectIid;
const std::wstring kAddInKey = std::wstring(L"Software\\Microsoft\\Office\\Excel\\Addins\\") + kProgId;

std::wstring FolderOf(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

RegistryValue Text(std::wstring key, std::wstring name, std::wstring text) {
  return {std::move(key), std::move(name), REG_SZ, std::move(text), 0};
}

RegistryValue Number(std::wstring key, std::wstring name, DWORD number) {
  return {std::move(key), std::move(name), REG_DWORD, {}, number};
}

LSTATUS Write(const RegistryValue& value) {
  HKEY raw = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, value.key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE, nullptr, &raw, nullptr);
  if (status != ERROR_SUCCESS) return status;
  UniqueKey key(raw);
  const wchar_t* name = value.name.empty() ? nullptr : value.name.c_str();
  if (value.type == REG_DWORD)
    return RegSetValueExW(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value.number),
                          sizeof(value.number));
  return RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                        static_cast<DWORD>((value.text.size() + 1) * sizeof(wchar_t)));
}
}  // namespace

std::vector<RegistryValue> RegistrationValues(const std::wstring& dllPath, bool win64) {
  return {
      Text(kClassKey, L"", kProgId),
      Text(kClassKey + L"\\InprocServer32", L"", dllPath),
      Text(kClassKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"),
      Text(kClassKey + L"\\ProgID", L"", kProgId),
      Text(kClassKey + L"\\TypeLib", L"", kLibid),
      Text(kClassKey + L"\\VERSION", L"", L"1.0"),
      Text(kProgIdKey, L"", kProgId),
      Text(kProgIdKey + L"\\CLSID", L"", kClsid),
      Text(kTypeLibKey + L"\\1.0", L"", L"Sample AddIn Project"),
      Text(kTypeLibKey + L"\\1.0\\FLAGS", L"", L"0"),
      Text(kTypeLibKey + L"\\1.0\\HELPDIR", L"", FolderOf(dllPath)),
      Text(kTypeLibKey + L"\\1.0\\0\\" + (win64 ? L"win64" : L"win32"), L"", dllPath),
      Text(kInterfaceKey, L"", L"_Connect"),
      Text(kInterfaceKey + L"\\ProxyStubClsid32", L"", kOleAutomationProxy),
      Text(kInterfaceKey + L"\\ProxyStubClsid", L"", kOleAutomationProxy),
      Text(kInterfaceKey + L"\\TypeLib", L"", kLibid),
      Text(kInterfaceKey + L"\\TypeLib", L"Version", L"1.0"),
      Text(kAddInKey, L"FriendlyName", L"Rowtint"),
      Text(kAddInKey, L"Description", L"Rowtint is a COM add-in that Enhances Excel's Row Display Effect.\r\n"),
      Number(kAddInKey, L"LoadBehavior", 3),
      Number(kAddInKey, L"CommandLineSafe", 0),
  };
}

std::vector<std::wstring> UnregistrationKeys(bool win64, bool otherBitnessRegistered) {
  std::vector<std::wstring> keys{kClassKey, kInterfaceKey, kTypeLibKey + L"\\1.0\\0\\" + (win64 ? L"win64" : L"win32")};
  if (!otherBitnessRegistered) keys.insert(keys.end(), {kProgIdKey, kTypeLibKey, kAddInKey});
  return keys;
}

namespace {
// Whether the other bitness's view of the registry holds a class registration
// of its own. Asked after this bitness's class is gone: where Windows keeps
// one view for both, what is left is then nobody's.
bool OtherBitnessRegistered(bool win64) {
  HKEY raw = nullptr;
  const REGSAM otherView = win64 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, (kClassKey + L"\\InprocServer32").c_str(), 0, KEY_READ | otherView, &raw) !=
      ERROR_SUCCESS)
    return false;
  UniqueKey key(raw);
  return true;
}

HRESULT DeleteKeys(const std::vector<std::wstring>& keys) {
  HRESULT result = S_OK;
  for (const auto& key : keys) {
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
      RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
      continue;
    }
    result = HRESULT_FROM_WIN32(status);
  }
  return result;
}
}  // namespace

HRESULT RegisterServer(const std::wstring& dllPath, bool win64) {
  for (const auto& value : RegistrationValues(dllPath, win64)) {
    const LSTATUS status = Write(value);
    if (status != ERROR_SUCCESS) {
      // Half a registration would list an add-in that cannot load.
      UnregisterServer(win64);
      return HRESULT_FROM_WIN32(status);
    }
  }
  return S_OK;
}

HRESULT UnregisterServer(bool win64) {
  // This bitness's own keys first, so that a view shared by both no longer
  // shows this registration when the other one is looked for.
  const auto own = UnregistrationKeys(win64, true);
  HRESULT result = DeleteKeys(own);
  if (!OtherBitnessRegistered(win64)) {
    const auto all = UnregistrationKeys(win64, false);
    const HRESULT shared = DeleteKeys({all.begin() + static_cast<std::ptrdiff_t>(own.size()), all.end()});
    if (SUCCEEDED(result)) result = shared;
  }
  return result;
}

}  // namespace rowtint::win32
