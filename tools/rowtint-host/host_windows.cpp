// The simulator's glyph painter comes first: windows.h would rename its DrawText.
#include "platform/sim/glyphs.h"
// keep this order
#include "host_windows.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/boundaries.h"
#include "screen_capture.h"

#undef DrawText

namespace rowtint::host {
namespace {
constexpr wchar_t kMainClass[] = L"XLMAIN";
constexpr wchar_t kGridClass[] = L"EXCEL7";
constexpr sim::Pixel kChrome = 0xF3F3F3;
constexpr sim::Pixel kTitleGreen = 0x467321;
constexpr int kTitleHeight = 28;

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSW main{};
  main.lpfnWndProc = DefWindowProcW;
  main.hInstance = Instance();
  main.hCursor = LoadCursor(nullptr, IDC_ARROW);
  main.lpszClassName = kMainClass;
  RegisterClassW(&main);
  WNDCLASSW grid = main;
  grid.lpszClassName = kGridClass;
  RegisterClassW(&grid);
}

HostWindows* Self(HWND window) { return reinterpret_cast<HostWindows*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }
}  // namespace

void BlitFrame(HDC dc, const sim::FrameBuffer& frame, const RECT& area, int x, int y) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  // 32-bit DIB rows hold blue, green, red: the frame's 0x00BBGGRR turned round.
  std::vector<std::uint32_t> bits(static_cast<std::size_t>(width) * height);
  for (int row = 0; row < height; ++row)
    for (int col = 0; col < width; ++col) {
      const int fx = area.left - x + col, fy = area.top - y + row;
      const sim::Pixel p = frame.Contains(fx, fy) ? frame.Get(fx, fy) : 0;
      bits[static_cast<std::size_t>(row) * width + col] = ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
    }
  BITMAPINFO info = TopDownDib(width, height);
  SetDIBitsToDevice(dc, area.left, area.top, width, height, 0, 0, 0, height, bits.data(), &info, DIB_RGB_COLORS);
}

HostWindows::HostWindows(platform::Rect gridRect, std::vector<std::string>& errors) : errors_(errors) {
  RegisterClasses();
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  main_ = CreateWindowExW(0, kMainClass, L"Book1 - Excel", WS_POPUP | WS_CLIPCHILDREN, 0, 0, width, height, nullptr,
                          nullptr, Instance(), nullptr);
  SetWindowLongPtrW(main_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(main_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainProc));
  // The grid paints around the in-cell editor, which paints itself.
  grid_ = CreateWindowExW(0, kGridClass, L"Book1", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, gridRect.left, gridRect.top,
                          gridRect.right - gridRect.left, gridRect.bottom - gridRect.top, main_, nullptr, Instance(),
                          nullptr);
  SetWindowLongPtrW(grid_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(grid_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&GridProc));
  ShowWindow(main_, SW_SHOW);
  SetForegroundWindow(main_);
  SetActiveWindow(main_);
  SetFocus(grid_);
}

void HostWindows::Show(const sim::SheetModel& sheet) {
  sheet_ = &sheet;
  RepaintAll();
}

HostWindows::~HostWindows() {
  if (main_) {
    SetWindowLongPtrW(grid_, GWLP_USERDATA, 0);
    SetWindowLongPtrW(main_, GWLP_USERDATA, 0);
    DestroyWindow(main_);
  }
}

platform::Rect HostWindows::GridClient() {
  RECT r{};
  GetClientRect(grid_, &r);
  return {r.left, r.top, r.right, r.bottom};
}

platform::Rect HostWindows::GridOnScreen() const {
  RECT r{};
  GetWindowRect(grid_, &r);
  return {r.left, r.top, r.right, r.bottom};
}

void HostWindows::CaretChanged(bool atCell) {
  caretAtCell_ = atCell;
  if (GetFocus() != grid_) return;
  if (atCell) {
    CreateCaret(grid_, nullptr, 2, 16);
    PlaceCaret();
  } else {
    DestroyCaret();
  }
}

void HostWindows::PlaceCaret() {
  if (!sheet_ || !caretAtCell_ || GetFocus() != grid_) return;
  SetCaretPos(sheet_->ColumnEdge(sheet_->active.column), sheet_->RowEdge(sheet_->active.row));
}

void HostWindows::RepaintCell(sim::CellRef cell) {
  if (!sheet_) return;
  const RECT r{sheet_->ColumnEdge(cell.column), sheet_->RowEdge(cell.row), sheet_->ColumnEdge(cell.column + 1),
               sheet_->RowEdge(cell.row + 1)};
  InvalidateRect(grid_, &r, FALSE);
  UpdateWindow(grid_);
  PlaceCaret();
}

void HostWindows::RepaintAll() {
  RedrawWindow(main_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PlaceCaret();
}

void HostWindows::ScrollGrid(int dx, int dy) {
  ScrollWindowEx(grid_, dx, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  UpdateWindow(grid_);
  PlaceCaret();
}

void HostWindows::MoveGrid(const platform::Rect& rect, GridMove) {
  MoveWindow(grid_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  UpdateWindow(main_);
  UpdateWindow(grid_);
  PlaceCaret();
}

void HostWindows::PaintGrid(HDC dc, const RECT& area) {
  // Only the area asked for is drawn, in a frame of its own size.
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (!sheet_ || width <= 0 || height <= 0) return;
  sim::FrameBuffer frame(width, height);
  sheet_->Render(frame, {-area.left, -area.top}, {0, 0, width, height});
  BlitFrame(dc, frame, area, area.left, area.top);
}

void HostWindows::PaintMain(HDC dc, const RECT& area) {
  RECT client{};
  GetClientRect(main_, &client);
  sim::FrameBuffer frame(client.right, client.bottom);
  const platform::Rect clip{area.left, area.top, area.right, area.bottom};
  frame.Fill(frame.Bounds(), clip, kChrome);
  frame.Fill({0, 0, client.right, kTitleHeight}, clip, kTitleGreen);
  sim::DrawText(frame, 10, 10, "Book1 - Excel", 0xFFFFFF, clip);
  BlitFrame(dc, frame, area, 0, 0);
}

LRESULT CALLBACK HostWindows::MainProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  HostWindows* self = Self(window);
  if (self && message == WM_PAINT) {
    win32::ScopedPaint paint(window);
    return win32::WindowProcBoundary(0, [&] {
      self->PaintMain(paint.Dc(), paint.Area());
      return LRESULT{0};
    });
  }
  if (message == WM_ERASEBKGND) return 1;
  // Like any frame window, the host gives the focus back to its grid whenever it becomes active again.
  if (self && (message == WM_SETFOCUS || (message == WM_ACTIVATE && LOWORD(w) != WA_INACTIVE))) {
    if (message == WM_ACTIVATE) DefWindowProcW(window, message, w, l);
    SetFocus(self->FocusTarget());
    return 0;
  }
  // The host's window does not close on the user's command in a script.
  if (message == WM_CLOSE) return 0;
  return DefWindowProcW(window, message, w, l);
}

LRESULT CALLBACK HostWindows::GridProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  HostWindows* self = Self(window);
  switch (message) {
    case WM_PAINT:
      if (self) {
        win32::ScopedPaint paint(window);
        return win32::WindowProcBoundary(0, [&] {
          self->PaintGrid(paint.Dc(), paint.Area());
          return LRESULT{0};
        });
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFOCUS:
      // A caret that is never shown: it marks the active cell without blinking over the pixels.
      if (self && self->caretAtCell_) {
        CreateCaret(window, nullptr, 2, 16);
        self->PlaceCaret();
      }
      return 0;
    case WM_KILLFOCUS:
      DestroyCaret();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, w, l);
}

}  // namespace rowtint::host
