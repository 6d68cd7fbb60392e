// Failures between COM and the add-in: an HRESULT (with its EXCEPINFO)
// becomes the error number the host language's runtime would report, and a
// PlatformError leaving a COM method becomes an HRESULT with error info.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <string>

#include "platform/error.h"

namespace rowtint::win32 {

// 0x800A03EC is 1004, DISP_E_TYPEMISMATCH and E_NOINTERFACE 13,
// DISP_E_OVERFLOW 6, DISP_E_BADINDEX 9, DISP_E_MEMBERNOTFOUND and
// DISP_E_UNKNOWNNAME 438; any other failure keeps its HRESULT as its number.
std::int32_t ErrorNumberFromHresult(HRESULT hr) noexcept;

// The way back: a runtime number travels as a control-facility HRESULT
// (13 is 0x800A000D), a number that is an HRESULT as itself.
HRESULT HresultFromErrorNumber(std::int32_t number) noexcept;

// Raises the PlatformError for a failed call; `info` is read (its deferred
// fill-in run) when hr is DISP_E_EXCEPTION. Its strings stay the caller's.
[[noreturn]] void RaiseFromHresult(HRESULT hr, EXCEPINFO* info, const std::string& member);

// Narrow and wide text, UTF-8 on the add-in's side.
std::wstring Widen(const std::string& text);
std::string Narrow(const wchar_t* text, int length = -1);

// Records the error for the caller (IErrorInfo) and gives its HRESULT.
HRESULT ReportError(std::int32_t number, const std::string& description) noexcept;

}  // namespace rowtint::win32
