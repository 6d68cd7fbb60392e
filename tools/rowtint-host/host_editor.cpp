// The stand-in's editors: the in-cell editor, a child window of the grid
// over the active cell, of the class Excel's has, which holds the focus and
// a caret while the user types, and paints the simulator's pixels for it;
// and the formula bar's window, which holds them while the user types
// there and has no area on the screen, as the simulator's has none.
#include "dll_dpi.h"
#include "dll_watch.h"
#include "host_clock.h"
#include "host_windows.h"
#include "platform/win32/boundaries.h"
#include "platform/win32/gdi_handles.h"

namespace rowtint::host {
namespace {
constexpr wchar_t kEditorClass[] = L"EXCEL6";
constexpr wchar_t kFormulaBarClass[] = L"EXCEL<";

void RegisterEditorClasses(WNDPROC proc) {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSW editor{};
  editor.lpfnWndProc = proc;
  editor.hInstance = GetModuleHandleW(nullptr);
  editor.hCursor = LoadCursor(nullptr, IDC_IBEAM);
  editor.lpszClassName = kEditorClass;
  RegisterClassW(&editor);
  editor.lpszClassName = kFormulaBarClass;
  RegisterClassW(&editor);
}
}  // namespace

void HostWindows::ShowEditor(sim::EditPlace where, bool shown) {
  if (shown == (editor_ != nullptr)) return;
  RegisterEditorClasses(&EditorProc);
  if (shown && where == sim::EditPlace::FormulaBar) {
    // An empty rectangle at the grid's top edge, in the active workbook's main window.
    POINT top{0, 0};
    MapWindowPoints(Grid(), Main(), &top, 1);
    editor_ = CreateWindowExW(0, kFormulaBarClass, L"", WS_CHILD | WS_VISIBLE, top.x, top.y, 0, 0, Main(), nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SetFocus(editor_);
    return;
  }
  if (shown) {
    const platform::Rect cell = model_->Sheet().ActiveCellRect();
    editor_ = CreateWindowExW(0, kEditorClass, L"", WS_CHILD, cell.left, cell.top, cell.right - cell.left,
                              cell.bottom - cell.top, Grid(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(editor_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(editor_, SW_SHOWNA);
    SetFocus(editor_);
    UpdateWindow(editor_);
    return;
  }
  RECT place{};
  GetWindowRect(editor_, &place);
  MapWindowPoints(nullptr, Grid(), reinterpret_cast<POINT*>(&place), 2);
  const HWND closing = std::exchange(editor_, nullptr);
  if (GetFocus() == closing) SetFocus(Grid());
  DestroyWindow(closing);
  InvalidateRect(Grid(), &place, FALSE);
  UpdateWindow(Grid());
  PlaceCaret();
}

void HostWindows::SetMonitorDpi(int dpi) { AnswerWindowDpi(static_cast<UINT>(dpi)); }

// Office gives its add-ins its thread in its own context; a call back into
// Excel in a per-monitor context the add-in chose would be answered in the
// wrong pixels by Excel's own windows.
void HostWindows::AddInCalled() {
  if (InAddInsOwnContext()) errors_.push_back("a call into Excel in the add-in's per-monitor DPI context");
}

LRESULT CALLBACK HostWindows::EditorProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  const InOwnProcedure own;
  auto* self = reinterpret_cast<HostWindows*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_PAINT:
      // The formula bar's window, which has no user data, draws nothing.
      if (self && self->model_) {
        win32::ScopedPaint paint(window);
        return win32::WindowProcBoundary(0, [&] {
          const RECT area = paint.Area();
          sim::FrameBuffer frame(area.right - area.left, area.bottom - area.top);
          self->model_->Sheet().RenderEditor(frame, {-area.left, -area.top}, frame.Bounds());
          BlitFrame(paint.Dc(), frame, area, area.left, area.top);
          return LRESULT{0};
        });
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFOCUS:
      // A real caret, as the user's typing has, but never shown: a blink would change the pixels compared.
      CreateCaret(window, nullptr, 1, 16);
      SetCaretPos(3, 2);
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
