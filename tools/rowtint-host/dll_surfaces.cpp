#include "dll_surfaces.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>

#include "host_clock.h"
#include "import_patch.h"
#include "platform/sim/compositor.h"
#include "platform/win32/gdi_handles.h"
#include "screen_capture.h"

namespace rowtint::host {
namespace {
constexpr wchar_t kOverlayClass[] = L"RowtintOverlay";
constexpr wchar_t kGridClass[] = L"EXCEL7";

// A layered window's bitmap as the add-in handed it over: each pixel
// 0xAARRGGBB with the colour premultiplied by the alpha.
struct Layer {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
};

// A DC on a grid that never reaches the screen: the grid's picture in a bitmap of its own.
struct HiddenGrid {
  win32::ScopedMemoryDC dc{nullptr};
  win32::UniqueBitmap bitmap;
  std::optional<win32::ScopedSelect> selected;
};

std::map<HWND, Layer> g_layers;
std::set<HDC> g_screenDcs;
std::map<HDC, std::unique_ptr<HiddenGrid>> g_hidden;
GridPicture g_picture;
bool g_readThisCall = false;
std::int64_t g_checks = 0;
WatchedCalls g_updated;

bool OwnWindow(HWND window) {
  DWORD process = 0;
  return GetWindowThreadProcessId(window, &process) != 0 && process == GetCurrentProcessId();
}

bool OfClass(HWND window, const wchar_t* name) {
  wchar_t type[64] = {};
  return GetClassNameW(window, type, 64) && lstrcmpW(type, name) == 0;
}

// The bitmap selected into `source` at `from`, `size` large, as the compositor takes it.
std::optional<Layer> KeptBitmap(HDC source, const POINT* from, const SIZE& size, const BLENDFUNCTION* blend) {
  const auto bitmap = static_cast<HBITMAP>(GetCurrentObject(source, OBJ_BITMAP));
  DIBSECTION dib{};
  if (!bitmap || GetObjectW(bitmap, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBitsPixel != 32 || !dib.dsBm.bmBits)
    return std::nullopt;
  const int fromX = from ? from->x : 0, fromY = from ? from->y : 0;
  if (fromX < 0 || fromY < 0 || fromX + size.cx > dib.dsBm.bmWidth || fromY + size.cy > dib.dsBm.bmHeight)
    return std::nullopt;
  GdiFlush();
  const unsigned constant = blend ? blend->SourceConstantAlpha : 255;
  const bool perPixel = blend && blend->AlphaFormat == AC_SRC_ALPHA;
  const auto scaled = [constant](unsigned value) { return (value * constant + 127) / 255; };
  Layer layer{size.cx, size.cy, {}};
  layer.pixels.reserve(static_cast<std::size_t>(size.cx) * size.cy);
  const auto* bits = static_cast<const BYTE*>(dib.dsBm.bmBits);
  const bool topDown = dib.dsBmih.biHeight < 0;
  for (int y = 0; y < size.cy; ++y) {
    const int row = topDown ? fromY + y : dib.dsBm.bmHeight - 1 - (fromY + y);
    const auto* line =
        reinterpret_cast<const std::uint32_t*>(bits + static_cast<std::ptrdiff_t>(row) * dib.dsBm.bmWidthBytes);
    for (int x = 0; x < size.cx; ++x) {
      const std::uint32_t p = line[fromX + x];
      // Without per-pixel alpha the constant is the alpha and the colour is premultiplied by it.
      const unsigned alpha = scaled(perPixel ? p >> 24 : 255);
      layer.pixels.push_back(alpha << 24 | scaled((p >> 16) & 0xFF) << 16 | scaled((p >> 8) & 0xFF) << 8 |
                             scaled(p & 0xFF));
    }
  }
  return layer;
}

// A visible layered window's part in what is shown: its kept bitmap, where
// it lies, and the rectangles of the other windows above it, which hide it.
struct ShownLayer {
  const Layer* layer;
  RECT rect;
  std::vector<RECT> above;

  bool Shows(int x, int y) const {
    const POINT p{x, y};
    if (!PtInRect(&rect, p) || x - rect.left >= layer->width || y - rect.top >= layer->height) return false;
    return std::none_of(above.begin(), above.end(), [&](const RECT& r) { return PtInRect(&r, p) != FALSE; });
  }
  std::uint32_t At(int x, int y) const {
    return layer->pixels[static_cast<std::size_t>(y - rect.top) * layer->width + (x - rect.left)];
  }
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// The layered windows shown, the lowest in the z-order first.
std::vector<ShownLayer> ShownLayers() {
  std::erase_if(g_layers, [](const auto& entry) { return !IsWindow(entry.first); });
  std::vector<HWND> order;
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&order));
  std::vector<ShownLayer> shown;
  std::vector<RECT> above;
  for (const HWND window : order) {
    if (!IsWindowVisible(window)) continue;
    RECT rect{};
    GetWindowRect(window, &rect);
    if (!(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED)) {
      above.push_back(rect);
      continue;
    }
    const auto kept = g_layers.find(window);
    if (kept != g_layers.end()) shown.push_back({&kept->second, rect, above});
  }
  std::reverse(shown.begin(), shown.end());
  return shown;
}

BOOL WINAPI KeptUpdateLayeredWindow(HWND window, HDC destination, POINT* at, SIZE* size, HDC source, POINT* from,
                                    COLORREF key, BLENDFUNCTION* blend, DWORD flags) {
  const double start = NowMs();
  std::optional<Layer> kept;
  if (IsWindow(window) && (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) && size && size->cx > 0 &&
      size->cy > 0 && source && flags == ULW_ALPHA)
    kept = KeptBitmap(source, from, *size, blend);
  // What the stand-in cannot keep, Wine shows as it does.
  if (!kept) return UpdateLayeredWindow(window, destination, at, size, source, from, key, blend, flags);
  // Placed as UpdateLayeredWindow places it; its attributes never set, Wine never maps it.
  UINT how = SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE;
  if (!at) how |= SWP_NOMOVE;
  if (!SetWindowPos(window, nullptr, at ? at->x : 0, at ? at->y : 0, size->cx, size->cy, how)) return FALSE;
  g_layers[window] = std::move(*kept);
  g_updated.Returned(start);
  return TRUE;
}

// An overlay moved without a new bitmap keeps the one it has: the band stands at its new place once it is placed.
BOOL WINAPI PlaceWindow(HWND window, HWND after, int x, int y, int width, int height, UINT flags) {
  const double start = NowMs();
  const BOOL placed = SetWindowPos(window, after, x, y, width, height, flags);
  if (placed && g_layers.count(window)) g_updated.Returned(start);
  return placed;
}

// A DC on a grid whose drawing never reaches the screen, holding the grid's picture; null when it is none.
HDC HiddenGridDC(HWND grid) {
  RECT client{};
  if (!GetClientRect(grid, &client) || client.right <= 0 || client.bottom <= 0) return nullptr;
  auto hidden = std::make_unique<HiddenGrid>();
  BITMAPINFO info = TopDownDib(client.right, client.bottom);
  void* bits = nullptr;
  hidden->bitmap.Reset(CreateDIBSection(hidden->dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!hidden->dc.Get() || !hidden->bitmap) return nullptr;
  hidden->selected.emplace(hidden->dc.Get(), hidden->bitmap.Get());
  if (!g_picture(grid, hidden->dc.Get())) return nullptr;
  const HDC dc = hidden->dc.Get();
  g_hidden[dc] = std::move(hidden);
  return dc;
}

HDC WINAPI TakeDC(HWND window) {
  if (!window) {
    const HDC screen = GetDC(nullptr);
    if (screen) g_screenDcs.insert(screen);
    return screen;
  }
  if (g_picture && OwnWindow(window) && OfClass(window, kGridClass))
    if (const HDC hidden = HiddenGridDC(window)) return hidden;
  return GetDC(window);
}

int WINAPI GiveBackDC(HWND window, HDC dc) {
  if (g_hidden.erase(dc)) return 1;
  g_screenDcs.erase(dc);
  return ReleaseDC(window, dc);
}

COLORREF WINAPI ReadPixel(HDC dc, int x, int y) {
  if (!g_screenDcs.count(dc)) return GetPixel(dc, x, y);
  if (!std::exchange(g_readThisCall, true)) ++g_checks;
  return ShownPixel(x, y);
}
}  // namespace

bool WatchAddInSurfaces(HMODULE dll) {
  return PatchImport(dll, "user32.dll", "GetDC", reinterpret_cast<void*>(&TakeDC)) &&
         PatchImport(dll, "user32.dll", "ReleaseDC", reinterpret_cast<void*>(&GiveBackDC)) &&
         PatchImport(dll, "user32.dll", "UpdateLayeredWindow", reinterpret_cast<void*>(&KeptUpdateLayeredWindow)) &&
         PatchImport(dll, "user32.dll", "SetWindowPos", reinterpret_cast<void*>(&PlaceWindow)) &&
         PatchImport(dll, "gdi32.dll", "GetPixel", reinterpret_cast<void*>(&ReadPixel));
}

void HideDrawingOnGrids(GridPicture picture) { g_picture = std::move(picture); }

void NoteCallIntoAddIn() { g_readThisCall = false; }

std::int64_t ScreenChecks() { return g_checks; }

void ResetScreenChecks() { g_checks = 0; }

WatchedCalls TakeLayersUpdated() { return std::exchange(g_updated, {}); }

std::vector<OverlayWindow> OverlayWindows() {
  std::vector<HWND> order;
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&order));
  std::vector<OverlayWindow> overlays;
  for (const HWND window : order) {
    if (!OwnWindow(window) || !OfClass(window, kOverlayClass)) continue;
    OverlayWindow o{window, GetWindow(window, GW_OWNER), IsWindowVisible(window) != FALSE, {}, 0};
    GetWindowRect(window, &o.rect);
    o.exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    overlays.push_back(o);
  }
  return overlays;
}

sim::FrameBuffer CaptureShown() {
  sim::FrameBuffer frame = CaptureScreen();
  for (const ShownLayer& layer : ShownLayers()) {
    const int right = std::min<int>(layer.rect.right, frame.Width()),
              bottom = std::min<int>(layer.rect.bottom, frame.Height());
    for (int y = std::max<int>(layer.rect.top, 0); y < bottom; ++y)
      for (int x = std::max<int>(layer.rect.left, 0); x < right; ++x)
        if (layer.Shows(x, y)) frame.Set(x, y, sim::Composite(frame.Get(x, y), layer.At(x, y)));
  }
  return frame;
}

COLORREF ShownPixel(int x, int y) {
  const win32::ScopedWindowDC screen(nullptr, win32::ScopedWindowDC::Area::Client);
  const COLORREF read = GetPixel(screen.Get(), x, y);
  if (read == CLR_INVALID) return read;
  sim::Pixel pixel = read;
  for (const ShownLayer& layer : ShownLayers())
    if (layer.Shows(x, y)) pixel = sim::Composite(pixel, layer.At(x, y));
  return pixel;
}

}  // namespace rowtint::host
