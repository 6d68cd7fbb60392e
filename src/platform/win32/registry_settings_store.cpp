#include "platform/win32/registry_settings_store.h"

#include <windows.h>

#include <string>

#include "platform/error.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/hresult_errors.h"

namespace rowtint::win32 {
namespace {

constexpr const wchar_t* kProgramSettings = L"Software\\VB and VBA Program Settings\\";

std::wstring SectionPath(const std::string& appName, const std::string& section) {
  return kProgramSettings + Widen(appName) + L"\\" + Widen(section);
}

[[noreturn]] void RaiseWriteFailure() {
  platform::Raise(platform::err::kInvalidCall, "Invalid procedure call or argument");
}

}  // namespace

std::string RegistrySettingsStore::GetSetting(const std::string& appName, const std::string& section,
                                              const std::string& key, const std::string& defaultText) {
  UniqueKey sectionKey;
  {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath(appName, section).c_str(), 0, KEY_QUERY_VALUE, &opened) !=
        ERROR_SUCCESS)
      return defaultText;
    sectionKey.Reset(opened);
  }
  const std::wstring name = Widen(key);
  std::wstring value;
  for (;;) {
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    const LONG status = RegQueryValueExW(sectionKey.Get(), name.c_str(), nullptr, &type,
                                         value.empty() ? nullptr : reinterpret_cast<BYTE*>(value.data()), &bytes);
    if ((status != ERROR_SUCCESS && status != ERROR_MORE_DATA) || type != REG_SZ) return defaultText;
    const std::size_t needed = (bytes + sizeof(wchar_t) - 1) / sizeof(wchar_t);
    if (status == ERROR_SUCCESS && !value.empty() && needed <= value.size()) {
      value.resize(needed);
      break;
    }
    // The first pass only measures; the value may also grow between two reads.
    value.assign(needed + 1, L'\0');
  }
  // Stored with or without its terminator: the text ends at the first one.
  const auto end = value.find(L'\0');
  return Narrow(value.c_str(), static_cast<int>(end == std::wstring::npos ? value.size() : end));
}

void RegistrySettingsStore::SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                                        const std::string& text) {
  UniqueKey sectionKey;
  {
    HKEY created = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SectionPath(appName, section).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &created, nullptr) != ERROR_SUCCESS)
      RaiseWriteFailure();
    sectionKey.Reset(created);
  }
  const std::wstring value = Widen(text);
  const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  if (RegSetValueExW(sectionKey.Get(), Widen(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     bytes) != ERROR_SUCCESS)
    RaiseWriteFailure();
}

}  // namespace rowtint::win32
