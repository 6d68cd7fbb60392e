// The simulator's glyph painter comes first: windows.h would rename its DrawText.
#include "platform/sim/glyphs.h"
// keep this order
#include "host_clock.h"
#include "host_windows.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/boundaries.h"
#include "screen_capture.h"

#undef DrawText

namespace rowtint::host {
namespace {
constexpr wchar_t kMainClass[] = L"XLMAIN";
constexpr wchar_t kDeskClass[] = L"XLDESK";
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
  // The desk paints nothing: the grid covers it.
  WNDCLASSW desk = main;
  desk.lpszClassName = kDeskClass;
  RegisterClassW(&desk);
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
  OpenFrame(1, {0, 0}, gridRect);
  shown_ = frames_.front().get();
  SetForegroundWindow(shown_->main);
  SetActiveWindow(shown_->main);
  SetFocus(shown_->grid);
}

void HostWindows::Show(sim::ExcelModel& model) {
  model_ = &model;
  frames_.front()->workbook = model.Active().id;
  RepaintAll();
}

HostWindows::~HostWindows() {
  for (const auto& frame : frames_) CloseFrame(*frame);
}

// The desk lies exactly under the grid: the main window paints all around it.
void HostWindows::OpenFrame(int workbook, POINT origin, const platform::Rect& gridRect) {
  auto frame = std::make_unique<Frame>(Frame{workbook});
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  const sim::Workbook* book = model_ ? model_->WorkbookById(workbook) : nullptr;
  const std::string title = (book ? book->name : "Book1") + " - Excel";
  frame->main =
      CreateWindowExW(0, kMainClass, std::wstring(title.begin(), title.end()).c_str(), WS_POPUP | WS_CLIPCHILDREN,
                      origin.x, origin.y, width, height, nullptr, nullptr, Instance(), nullptr);
  SetWindowLongPtrW(frame->main, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(frame->main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainProc));
  frame->desk = CreateWindowExW(0, kDeskClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, gridRect.left - origin.x,
                                gridRect.top - origin.y, gridRect.right - gridRect.left, gridRect.bottom - gridRect.top,
                                frame->main, nullptr, Instance(), nullptr);
  frame->grid = CreateWindowExW(0, kGridClass, std::wstring(title.begin(), title.end() - 8).c_str(),
                                WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, gridRect.right - gridRect.left,
                                gridRect.bottom - gridRect.top, frame->desk, nullptr, Instance(), nullptr);
  SetWindowLongPtrW(frame->grid, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(frame->grid, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&GridProc));
  frames_.push_back(std::move(frame));
  ShowWindow(frames_.back()->main, SW_SHOW);
}

void HostWindows::CloseFrame(Frame& frame) {
  SetWindowLongPtrW(frame.grid, GWLP_USERDATA, 0);
  SetWindowLongPtrW(frame.main, GWLP_USERDATA, 0);
  DestroyWindow(frame.main);
}

platform::Rect HostWindows::GridClient() {
  RECT r{};
  GetClientRect(Grid(), &r);
  return {r.left, r.top, r.right, r.bottom};
}

platform::Rect HostWindows::GridOnScreen() const {
  RECT r{};
  GetWindowRect(Grid(), &r);
  return {r.left, r.top, r.right, r.bottom};
}

void HostWindows::CaretChanged(bool atCell) {
  caretAtCell_ = atCell;
  if (GetFocus() != Grid()) return;
  if (atCell) {
    CreateCaret(Grid(), nullptr, 2, 16);
    PlaceCaret();
  } else {
    DestroyCaret();
  }
}

void HostWindows::PlaceCaret() {
  if (!model_ || !caretAtCell_ || GetFocus() != Grid()) return;
  const sim::SheetModel& sheet = model_->Sheet();
  SetCaretPos(sheet.ColumnEdge(sheet.active.column), sheet.RowEdge(sheet.active.row));
}

void HostWindows::RepaintCell(sim::CellRef cell) {
  if (!model_) return;
  const sim::SheetModel& sheet = model_->Sheet();
  const RECT r{sheet.ColumnEdge(cell.column), sheet.RowEdge(cell.row), sheet.ColumnEdge(cell.column + 1),
               sheet.RowEdge(cell.row + 1)};
  InvalidateRect(Grid(), &r, FALSE);
  UpdateWindow(Grid());
  PlaceCaret();
}

// One message, as a mouse wheel sends it: 120 is a notch of three rows.
void HostWindows::WheelOverGrid(int rows) {
  RECT grid{};
  GetWindowRect(Grid(), &grid);
  SendMessageW(Grid(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(-40 * rows))),
               MAKELPARAM(grid.left + 10, grid.top + 10));
}

void HostWindows::RepaintGridArea(const platform::Rect& area) {
  const RECT r{area.left, area.top, area.right, area.bottom};
  InvalidateRect(Grid(), &r, FALSE);
  UpdateWindow(Grid());
}

void HostWindows::RepaintAll() {
  RedrawWindow(Main(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PlaceCaret();
}

void HostWindows::ScrollGrid(int dx, int dy, platform::Point frozen) {
  if (frozen.x == 0 && frozen.y == 0) {
    ScrollWindowEx(Grid(), dx, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  } else {
    // Each pane beside the frozen ones moves within itself, the way it scrolls.
    RECT client{};
    GetClientRect(Grid(), &client);
    const RECT panes[] = {{frozen.x, 0, client.right, frozen.y},
                          {0, frozen.y, frozen.x, client.bottom},
                          {frozen.x, frozen.y, client.right, client.bottom}};
    const POINT moves[] = {{dx, 0}, {0, dy}, {dx, dy}};
    for (int i = 0; i < 3; ++i)
      if (!IsRectEmpty(&panes[i]))
        ScrollWindowEx(Grid(), moves[i].x, moves[i].y, &panes[i], &panes[i], nullptr, nullptr, SW_INVALIDATE);
  }
  UpdateWindow(Grid());
  PlaceCaret();
}

// The desk first, so that the grid's new size is never clipped by its old one.
void HostWindows::MoveGrid(const platform::Rect& rect, GridMove) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  POINT corner{rect.left, rect.top};
  ScreenToClient(Main(), &corner);
  MoveWindow(shown_->desk, corner.x, corner.y, width, height, TRUE);
  MoveWindow(Grid(), 0, 0, width, height, TRUE);
  UpdateWindow(Main());
  UpdateWindow(Grid());
  PlaceCaret();
}

void HostWindows::PaintGrid(const Frame& frame, HDC dc, const RECT& area) {
  // Only the area asked for is drawn, in a frame of its own size.
  const int width = area.right - area.left, height = area.bottom - area.top;
  const sim::SheetModel* sheet = SheetOf(frame);
  if (!sheet || width <= 0 || height <= 0) return;
  sim::FrameBuffer frameBuffer(width, height);
  sheet->Render(frameBuffer, {-area.left, -area.top}, {0, 0, width, height});
  BlitFrame(dc, frameBuffer, area, area.left, area.top);
}

void HostWindows::PaintMain(const Frame& frame, HDC dc, const RECT& area) {
  RECT client{};
  GetClientRect(frame.main, &client);
  sim::FrameBuffer frameBuffer(client.right, client.bottom);
  const platform::Rect clip{area.left, area.top, area.right, area.bottom};
  frameBuffer.Fill(frameBuffer.Bounds(), clip, kChrome);
  frameBuffer.Fill({0, 0, client.right, kTitleHeight}, clip, kTitleGreen);
  const sim::Workbook* book = model_ ? model_->WorkbookById(frame.workbook) : nullptr;
  sim::DrawText(frameBuffer, 10, 10, (book ? book->name : "Book1") + " - Excel", 0xFFFFFF, clip);
  if (ribbon_) PaintRibbonGroup(frameBuffer, *ribbon_, clip);
  BlitFrame(dc, frameBuffer, area, 0, 0);
}

LRESULT CALLBACK HostWindows::MainProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  const InOwnProcedure own;
  HostWindows* self = Self(window);
  Frame* frame = self ? self->FrameOf(window) : nullptr;
  if (frame && message == WM_PAINT) {
    win32::ScopedPaint paint(window);
    return win32::WindowProcBoundary(0, [&] {
      self->PaintMain(*frame, paint.Dc(), paint.Area());
      return LRESULT{0};
    });
  }
  if (message == WM_ERASEBKGND) return 1;
  // Like any frame window, the host gives the focus back to its grid whenever it becomes active again.
  if (frame && (message == WM_SETFOCUS || (message == WM_ACTIVATE && LOWORD(w) != WA_INACTIVE))) {
    if (message == WM_ACTIVATE) DefWindowProcW(window, message, w, l);
    SetFocus(frame == self->shown_ ? self->FocusTarget() : frame->grid);
    return 0;
  }
  // The host's window does not close on the user's command in a script.
  if (message == WM_CLOSE) return 0;
  return DefWindowProcW(window, message, w, l);
}

LRESULT CALLBACK HostWindows::GridProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  const InOwnProcedure own;
  HostWindows* self = Self(window);
  switch (message) {
    case WM_PAINT:
      if (Frame* frame = self ? self->FrameOf(window) : nullptr) {
        win32::ScopedPaint paint(window);
        return win32::WindowProcBoundary(0, [&] {
          self->PaintGrid(*frame, paint.Dc(), paint.Area());
          return LRESULT{0};
        });
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEWHEEL:
      if (self && self->model_)
        return win32::WindowProcBoundary(0, [&] {
          self->model_->ScrollRows(-GET_WHEEL_DELTA_WPARAM(w) / 40);
          return LRESULT{0};
        });
      return 0;
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
