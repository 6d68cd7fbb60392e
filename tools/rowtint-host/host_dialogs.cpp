// The windows the add-in shows over the stand-in: its forms, the colour
// dialog and message boxes, found among the thread's windows, answered as
// the script says, or worked with the pointer as a user would.
#include "form_points.h"
#include "host_session.h"
#include "platform/win32/hresult_errors.h"

namespace rowtint::host {
namespace {
constexpr int kRedEdit = 706, kGreenEdit = 707, kBlueEdit = 708;  // the colour dialog's fields

std::string WindowText(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return win32::Narrow(text);
}

std::string ClassOf(HWND window) {
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  return win32::Narrow(name);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// Every top-level window of this thread.
std::vector<HWND> ThreadWindows() {
  std::vector<HWND> all;
  EnumThreadWindows(GetCurrentThreadId(), &CollectWindow, reinterpret_cast<LPARAM>(&all));
  return all;
}

bool IsColorDialog(HWND window) {
  return ClassOf(window) == "#32770" && GetDlgItem(window, kRedEdit) && GetDlgItem(window, kGreenEdit) &&
         GetDlgItem(window, kBlueEdit);
}

void Press(HWND dialog, int button) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}
}  // namespace

void HostSession::WatchDialogs() {
  for (HWND window : ThreadWindows()) {
    if (!IsWindowVisible(window) || ClassOf(window) != "#32770" || answered_.count(window)) continue;
    if (IsColorDialog(window)) {
      if (!colorAnswer_) continue;  // no answer given yet: the user thinks
      answered_.insert(window);
      const auto answer = *colorAnswer_;
      colorAnswer_.reset();
      if (answer) {
        SetDlgItemInt(window, kRedEdit, GetRValue(*answer), FALSE);
        SetDlgItemInt(window, kGreenEdit, GetGValue(*answer), FALSE);
        SetDlgItemInt(window, kBlueEdit, GetBValue(*answer), FALSE);
        Press(window, IDOK);
      } else {
        Press(window, IDCANCEL);
      }
    } else {
      // A message box: its text is the longest static text in it.
      answered_.insert(window);
      std::string text;
      for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == "Static" && WindowText(child).size() > text.size()) text = WindowText(child);
      messages_.push_back(text);
      Press(window, IDOK);
    }
  }
}

bool HostSession::ColorDialogShown() {
  for (HWND window : ThreadWindows())
    if (IsWindowVisible(window) && IsColorDialog(window)) return true;
  return false;
}

HWND HostSession::FormWindow() const {
  for (HWND window : ThreadWindows())
    if (IsWindowVisible(window) && ClassOf(window) == "RowtintFormWindow") return window;
  return nullptr;
}

void HostSession::CloseForms() {
  for (HWND window : ThreadWindows())
    if (IsWindowVisible(window) && ClassOf(window) == "RowtintFormWindow")
      PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void HostSession::WorkForm(const script::FormAction& action) {
  HWND form = FormWindow();
  if (action.kind == script::FormAction::Kind::Close) {
    PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    return;
  }
  const auto at = FormPoint(form, action.control.empty() ? "background" : action.control);
  if (!at) throw ScriptError("the form has no control '" + action.control + "'");
  // The pointer goes there, and the button goes down and up where it is, as a user's would.
  POINT onScreen = *at;
  ClientToScreen(form, &onScreen);
  SetCursorPos(onScreen.x, onScreen.y);
  const LPARAM where = MAKELPARAM(at->x, at->y);
  if (action.kind == script::FormAction::Kind::Move) {
    PostMessageW(form, WM_MOUSEMOVE, 0, where);
    return;
  }
  PostMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, where);
  PostMessageW(form, WM_LBUTTONUP, 0, where);
}

}  // namespace rowtint::host
