// Owners of Win32 handles, each released on every path: GDI objects, device
// contexts, selections into a DC, registry keys and kernel objects.
#pragma once

#include <windows.h>

#include <utility>

namespace rowtint::win32 {

// A handle with a release function; empty when it holds the null handle.
template <class Handle, class Traits>
class UniqueHandle {
 public:
  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle h) noexcept : h_(h) {}
  UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, Handle{})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.h_, Handle{}));
    return *this;
  }
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  void Reset(Handle h = Handle{}) noexcept {
    if (h_) Traits::Close(h_);
    h_ = h;
  }
  Handle Get() const noexcept { return h_; }
  Handle Release() noexcept { return std::exchange(h_, Handle{}); }
  explicit operator bool() const noexcept { return h_ != Handle{}; }

 private:
  Handle h_{};
};

struct GdiObjectTraits {
  static void Close(HGDIOBJ h) noexcept { DeleteObject(h); }
};
struct KeyTraits {
  static void Close(HKEY h) noexcept { RegCloseKey(h); }
};
// A kernel object's handle: a process, a thread, an open file (never INVALID_HANDLE_VALUE).
struct KernelHandleTraits {
  static void Close(HANDLE h) noexcept { CloseHandle(h); }
};

using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectTraits>;
using UniquePen = UniqueHandle<HPEN, GdiObjectTraits>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectTraits>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectTraits>;
using UniqueRegion = UniqueHandle<HRGN, GdiObjectTraits>;
using UniqueKey = UniqueHandle<HKEY, KeyTraits>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;

// GetDC or GetWindowDC, given back with ReleaseDC.
class ScopedWindowDC {
 public:
  enum class Area { Client, Window };
  ScopedWindowDC(HWND hwnd, Area area) noexcept
      : hwnd_(hwnd), dc_(area == Area::Client ? GetDC(hwnd) : GetWindowDC(hwnd)) {}
  ~ScopedWindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  ScopedWindowDC(const ScopedWindowDC&) = delete;
  ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
  HDC Get() const noexcept { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint and EndPaint around a WM_PAINT.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND hwnd) noexcept : hwnd_(hwnd) { BeginPaint(hwnd_, &ps_); }
  ~ScopedPaint() { EndPaint(hwnd_, &ps_); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  HDC Dc() const noexcept { return ps_.hdc; }
  const RECT& Area() const noexcept { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
};

// An object selected into a DC until the scope ends, when the previous one goes back.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~ScopedSelect() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A memory DC compatible with another, deleted at the end.
class ScopedMemoryDC {
 public:
  explicit ScopedMemoryDC(HDC compatibleWith) noexcept : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~ScopedMemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  ScopedMemoryDC(const ScopedMemoryDC&) = delete;
  ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
  HDC Get() const noexcept { return dc_; }

 private:
  HDC dc_;
};

}  // namespace rowtint::win32
