// Where Windows or the host takes control back from the add-in's code:
// nothing may unwind across these. One helper per kind of entry point,
// shared by the DLL and the stand-in Excel:
// - a COM method (or a sink's Invoke) gives its failure back as its HRESULT;
// - a window procedure answers the message's fallback result;
// - a callback the system makes (a timer, a window enumeration) swallows it.
#pragma once

#include <windows.h>

#include <new>

#include "platform/error.h"
#include "platform/win32/hresult_errors.h"

namespace rowtint::win32 {

template <class Body>
HRESULT ComBoundary(Body&& body) noexcept {
  try {
    return body();
  } catch (const platform::PlatformError& e) {
    return ReportError(e.Number(), e.Description());
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// The body's result, or `fallback` when it fails.
template <class Body>
LRESULT WindowProcBoundary(LRESULT fallback, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return fallback;
  }
}

// Whether the body ran to its end.
template <class Body>
bool CallbackBoundary(Body&& body) noexcept {
  try {
    body();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace rowtint::win32
