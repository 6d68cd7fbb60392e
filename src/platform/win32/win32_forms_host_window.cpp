#include "platform/win32/win32_forms_host_window.h"

#include <windowsx.h>

#include <utility>

#include "platform/error.h"
#include "platform/win32/boundaries.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/hresult_errors.h"
#include "platform/win32/system_library.h"

namespace rowtint::win32 {
namespace {

// A fixed dialog frame with a caption and a close box, not resizable.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr std::int32_t kOutOfMemory = 7;

int g_classUses = 0;
bool g_classRegistered = false;
int g_dispatchDepth = 0;

LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ++g_dispatchDepth;
  const LRESULT result = WindowProcBoundary(message == WM_NCCREATE ? FALSE : 0, [&] {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* frame = reinterpret_cast<FormFrame*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return frame ? frame->OnMessage(window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
  });
  if (--g_dispatchDepth == 0) FormWindowClassUse::Tidy();
  return result;
}

bool RegisterFormWindowClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = FormWindowProc;
  wc.hInstance = ModuleInstance();
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kFormWindowClass;
  if (RegisterClassExW(&wc)) return true;
  // Left behind by an earlier load of the library, with a window procedure
  // that is no longer there.
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS && UnregisterClassW(kFormWindowClass, ModuleInstance()) &&
         RegisterClassExW(&wc);
}

}  // namespace

FormWindowClassUse::FormWindowClassUse() {
  if (!g_classRegistered) {
    if (!RegisterFormWindowClass()) platform::Raise(kOutOfMemory, "Out of memory");
    g_classRegistered = true;
  }
  ++g_classUses;
}

FormWindowClassUse::~FormWindowClassUse() {
  --g_classUses;
  Tidy();
}

void FormWindowClassUse::Tidy() noexcept {
  // Fails while the last window is still inside its own window procedure; tried again later.
  if (g_classRegistered && g_classUses == 0 && UnregisterClassW(kFormWindowClass, ModuleInstance()))
    g_classRegistered = false;
}

FormFrame::FormFrame(const std::shared_ptr<platform::FormWindow>& form, const FormScale& scale)
    : form_(form), scale_(scale), painter_(scale) {
  const std::wstring caption = Widen(form->Caption());
  // A window keeps the context it was made in for its own procedure: per-monitor aware, its pixels are the monitor's.
  const ScopedThreadDpi perMonitor;
  CreateWindowExW(kExStyle, kFormWindowClass, caption.c_str(), kStyle, 0, 0, 0, 0, nullptr, nullptr, ModuleInstance(),
                  this);
  if (!window_) platform::Raise(kOutOfMemory, "Out of memory");
}

FormFrame::~FormFrame() {
  EndModal();
  if (HWND window = std::exchange(window_, nullptr)) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
}

RECT FormFrame::Placement(const platform::FormWindow& form, HWND anchor) const {
  const SIZE client = ClientPixels(scale_, form);
  RECT frame{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  // The monitor Excel is on; without a window, the primary one.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  RECT work{};
  if (GetMonitorInfoW(MonitorFromWindow(anchor, MONITOR_DEFAULTTOPRIMARY), &monitor))
    work = monitor.rcWork;
  else if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
    work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const int left = work.left + (work.right - work.left - width) / 2;
  const int top = work.top + (work.bottom - work.top - height) / 2;
  return {left, top, left + width, top + height};
}

void FormFrame::EndModal() noexcept {
  if (ModalShowing* showing = std::exchange(modal_, nullptr)) showing->End();
}

void FormFrame::Hide() noexcept {
  if (modal_)
    EndModal();
  else if (window_)
    ShowWindow(window_, SW_HIDE);
}

void FormFrame::Repaint() noexcept {
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void FormFrame::WindowGone() noexcept {
  EndModal();
  pressing_ = false;
  window_ = nullptr;
}

LRESULT FormFrame::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_NCCREATE:
      window_ = window;
      break;
    case WM_ERASEBKGND:
      return 1;  // the whole client area is painted at once, from memory
    case WM_PAINT:
      Paint();
      return 0;
    case WM_MOUSEMOVE:
      return OnMouseMove(at);
    case WM_LBUTTONDOWN:
      pressed_ = ControlNameAt(at);
      pressing_ = true;
      SetCapture(window_);
      return 0;
    case WM_LBUTTONUP:
      return OnButtonUp(at);
    case WM_CAPTURECHANGED:
      pressing_ = false;
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && HandCursorAtPointer()) {
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_CLOSE:
      // The model unloads itself, which may destroy this frame: nothing of it is touched afterwards.
      if (const auto form = form_.lock()) {
        const ScopedThreadDpi caller(caller_);
        form->CloseWindow();
        return 0;
      }
      Hide();
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      WindowGone();
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void FormFrame::Paint() {
  ScopedPaint paint(window_);
  RECT client{};
  GetClientRect(window_, &client);
  const SIZE size{client.right, client.bottom};
  const auto form = form_.lock();
  auto draw = [&](HDC dc) {
    if (form)
      painter_.Paint(dc, *form, size);
    else
      FillRect(dc, &client, GetSysColorBrush(COLOR_3DLIGHT));
  };
  // Drawn in memory first and copied in one go, so that nothing flickers.
  ScopedMemoryDC memory(paint.Dc());
  UniqueBitmap bitmap(memory.Get() ? CreateCompatibleBitmap(paint.Dc(), size.cx, size.cy) : nullptr);
  if (!bitmap) {
    draw(paint.Dc());
    return;
  }
  ScopedSelect select(memory.Get(), bitmap.Get());
  draw(memory.Get());
  const RECT& area = paint.Area();
  BitBlt(paint.Dc(), area.left, area.top, area.right - area.left, area.bottom - area.top, memory.Get(), area.left,
         area.top, SRCCOPY);
}

bool FormFrame::InClientArea(POINT client) const {
  RECT area{};
  GetClientRect(window_, &area);
  return PtInRect(&area, client) != FALSE;
}

std::string FormFrame::ControlNameAt(POINT client) const {
  const auto form = form_.lock();
  if (!form) return {};
  const platform::ControlState* control = ControlAt(scale_, *form, client);
  return control ? control->name : std::string();
}

LRESULT FormFrame::OnMouseMove(POINT client) {
  // While the button is held the window sees the pointer outside too; the form hears of its own area only.
  if (!InClientArea(client)) return 0;
  const auto form = form_.lock();
  if (!form) return 0;
  const std::string name = ControlNameAt(client);
  const ScopedThreadDpi caller(caller_);
  form->MouseMove(name);
  return 0;
}

LRESULT FormFrame::OnButtonUp(POINT client) {
  const bool clicked = pressing_ && InClientArea(client);
  const std::string name = ControlNameAt(client);
  const bool same = clicked && !name.empty() && name == pressed_;
  if (pressing_) ReleaseCapture();
  pressing_ = false;
  const auto form = form_.lock();
  if (!same || !form) return 0;
  const ScopedThreadDpi caller(caller_);
  form->Click(name);
  return 0;
}

bool FormFrame::HandCursorAtPointer() const {
  POINT pointer{};
  if (!GetCursorPos(&pointer) || !ScreenToClient(window_, &pointer)) return false;
  const auto form = form_.lock();
  if (!form) return false;
  const platform::ControlState* control = ControlAt(scale_, *form, pointer);
  return control && control->handCursor;
}

}  // namespace rowtint::win32
