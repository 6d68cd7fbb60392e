#include "platform/win32/hresult_errors.h"

#include <oleauto.h>

#include <utility>

#include "platform/win32/com_ptr.h"

namespace rowtint::win32 {
namespace {
constexpr std::int32_t kBadIndex = 9;
constexpr std::int32_t kMemberNotFound = 438;
}  // namespace

std::int32_t ErrorNumberFromHresult(HRESULT hr) noexcept {
  if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) return HRESULT_CODE(hr);
  switch (hr) {
    case DISP_E_TYPEMISMATCH:
    case E_NOINTERFACE:
      return platform::err::kTypeMismatch;
    case DISP_E_OVERFLOW:
      return platform::err::kOverflow;
    case DISP_E_BADINDEX:
      return kBadIndex;
    case DISP_E_MEMBERNOTFOUND:
    case DISP_E_UNKNOWNNAME:
      return kMemberNotFound;
    default:
      return static_cast<std::int32_t>(hr);
  }
}

HRESULT HresultFromErrorNumber(std::int32_t number) noexcept {
  if (number > 0 && number <= 0xFFFF) return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number);
  if (number < 0) return static_cast<HRESULT>(number);
  return E_FAIL;
}

std::wstring Widen(const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

std::string Narrow(const wchar_t* text, int length) {
  if (!text) return {};
  if (length < 0) length = static_cast<int>(wcslen(text));
  if (length == 0) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, narrow.data(), n, nullptr, nullptr);
  return narrow;
}

void RaiseFromHresult(HRESULT hr, EXCEPINFO* info, const std::string& member) {
  std::string description;
  if (hr == DISP_E_EXCEPTION && info) {
    if (auto fillIn = std::exchange(info->pfnDeferredFillIn, nullptr)) fillIn(info);
    if (info->bstrDescription) description = Narrow(info->bstrDescription, SysStringLen(info->bstrDescription));
    const std::int32_t number = info->scode != 0 ? ErrorNumberFromHresult(info->scode) : info->wCode;
    platform::Raise(number, description.empty() ? "Automation error in " + member : description);
  }
  platform::Raise(ErrorNumberFromHresult(hr), "Automation error in " + member);
}

HRESULT ReportError(std::int32_t number, const std::string& description) noexcept {
  const HRESULT hr = HresultFromErrorNumber(number);
  ComPtr<ICreateErrorInfo> create;
  if (SUCCEEDED(CreateErrorInfo(create.Put()))) {
    try {
      const std::wstring text = Widen(description);
      create->SetDescription(const_cast<LPOLESTR>(text.c_str()));
      create->SetSource(const_cast<LPOLESTR>(L"Rowtint"));
    } catch (...) {
      // Without memory for the text the caller still gets the number.
    }
    if (auto info = create.As<IErrorInfo>()) SetErrorInfo(0, info.Get());
  }
  return hr;
}

}  // namespace rowtint::win32
