#include "platform/win32/registry_own_key.h"

#include <windows.h>

#include "platform/win32/hresult_errors.h"

namespace rowtint::win32 {
namespace {
constexpr wchar_t kOwnKey[] = L"Software\\Rowtint";
}  // namespace

std::optional<std::string> RegistryOwnKey::Text(const char* name) {
  const std::wstring value = Widen(name);
  wchar_t text[256] = {};
  DWORD size = sizeof(text) - sizeof(wchar_t);
  if (RegGetValueW(HKEY_CURRENT_USER, kOwnKey, value.c_str(), RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return Narrow(text);
}

std::optional<std::uint32_t> RegistryOwnKey::Number(const char* name) {
  const std::wstring value = Widen(name);
  DWORD number = 0, size = sizeof number;
  if (RegGetValueW(HKEY_CURRENT_USER, kOwnKey, value.c_str(), RRF_RT_REG_DWORD, nullptr, &number, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return number;
}

}  // namespace rowtint::win32
