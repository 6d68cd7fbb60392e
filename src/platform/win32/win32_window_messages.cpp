#include "platform/win32/win32_window_messages.h"

#include <commctrl.h>

#include <set>
#include <stdexcept>
#include <vector>

#include "platform/win32/boundaries.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/module_lifetime.h"

namespace rowtint::win32 {
namespace {
constexpr UINT_PTR kSubclassId = 0x52544E54;  // one subclass of the add-in's per window

// The rectangles of a region, in the window's client coordinates.
std::vector<platform::Rect> RegionRects(HRGN region) {
  const DWORD size = GetRegionData(region, 0, nullptr);
  if (size < sizeof(RGNDATAHEADER)) return {};
  std::vector<BYTE> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (GetRegionData(region, size, data) != size) return {};
  const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
  std::vector<platform::Rect> out;
  for (DWORD i = 0; i < data->rdh.nCount; ++i)
    out.push_back({rects[i].left, rects[i].top, rects[i].right, rects[i].bottom});
  return out;
}

// The windows subclassed now; touched only on the host's user-interface thread.
std::set<HWND>& Watched() {
  static std::set<HWND> watched;
  return watched;
}

void Forget(HWND window) noexcept {
  if (Watched().erase(window)) Let(Lifetime::Subclass);
}

bool ScrollingKey(WPARAM key) { return key >= VK_PRIOR && key <= VK_DOWN; }

LRESULT CALLBACK GridSubclassProc(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data) noexcept {
  auto* listener = reinterpret_cast<platform::GridListener*>(data);
  const auto handle = static_cast<platform::WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
  switch (message) {
    case WM_PAINT: {
      // BeginPaint in the original procedure empties the update region: it is taken first.
      std::vector<platform::Rect> area;
      CallbackBoundary([&] {
        const UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
        if (region && GetUpdateRgn(window, region.Get(), FALSE) > NULLREGION) area = RegionRects(region.Get());
      });
      const LRESULT result = DefSubclassProc(window, message, w, l);
      CallbackBoundary([&] {
        if (!area.empty()) listener->OnGridPainted(handle, area);
        listener->OnGridMessage(handle, platform::GridMessage::Painted);
      });
      return result;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_KEYDOWN:
    case WM_SIZE: {
      const LRESULT result = DefSubclassProc(window, message, w, l);
      if (message == WM_KEYDOWN && !ScrollingKey(w)) return result;
      const bool sized = message == WM_SIZE;
      CallbackBoundary([&] {
        listener->OnGridMessage(handle, sized ? platform::GridMessage::Sized : platform::GridMessage::Scrolled);
      });
      return result;
    }
    case WM_MOVE: {
      // A main window dragged takes its grid along; an overlay it owns must follow.
      const LRESULT result = DefSubclassProc(window, message, w, l);
      CallbackBoundary([&] { listener->OnGridMessage(handle, platform::GridMessage::Moved); });
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, &GridSubclassProc, kSubclassId);
      Forget(window);
      CallbackBoundary([&] { listener->OnGridDestroyed(handle); });
      return DefSubclassProc(window, message, w, l);
    default:
      return DefSubclassProc(window, message, w, l);
  }
}
}  // namespace

bool WatchWindow(HWND window, platform::GridListener& listener) noexcept {
  // Only the window's own thread may subclass it.
  if (!IsWindow(window) || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return false;
  return CallbackBoundary([&] {
    // Recorded first, so that a window subclassed is never one left unrecorded.
    const bool added = Watched().insert(window).second;
    if (!SetWindowSubclass(window, &GridSubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(&listener))) {
      if (added) Watched().erase(window);
      throw std::runtime_error("SetWindowSubclass");
    }
    // The procedure lives in this module: it stays loaded while a window may call it.
    if (added) Hold(Lifetime::Subclass);
  });
}

bool StopWatchingWindow(HWND window) noexcept {
  const bool removed = RemoveWindowSubclass(window, &GridSubclassProc, kSubclassId) != FALSE;
  Forget(window);
  return removed;
}

bool PostCallback(HWND own, platform::PostedCallback& callback) noexcept {
  return PostMessageW(own, kPostedCallbackMessage, 0, reinterpret_cast<LPARAM>(&callback)) != FALSE;
}

LRESULT CALLBACK OwnWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) noexcept {
  if (message == kPostedCallbackMessage) {
    // The window dies with the callback's owner, and its queued messages with it.
    CallbackBoundary([&] { reinterpret_cast<platform::PostedCallback*>(l)->OnPosted(); });
    return 0;
  }
  return DefWindowProcW(window, message, w, l);
}

}  // namespace rowtint::win32
