#include "other_program.h"

#include <string>

#include "script_line.h"

namespace rowtint::host {
namespace {
constexpr DWORD kPatienceMs = 5000;

// The stand-in's own windows keep repainting while it waits on the other program.
bool WaitPumping(HANDLE handle, DWORD timeoutMs) {
  const DWORD until = GetTickCount() + timeoutMs;
  for (;;) {
    const DWORD now = GetTickCount();
    if (now >= until) return false;
    const DWORD got = MsgWaitForMultipleObjects(1, &handle, FALSE, until - now, QS_ALLINPUT);
    if (got == WAIT_OBJECT_0) return true;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
           PeekMessageW(&msg, nullptr, WM_TIMER + 1, 0xFFFFFFFF, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (got != WAIT_OBJECT_0 + 1) return false;
  }
}

bool InFront(DWORD processId) {
  DWORD owner = 0;
  const HWND front = GetForegroundWindow();
  return front && GetWindowThreadProcessId(front, &owner) && owner == processId;
}

BOOL CALLBACK FirstWindow(HWND window, LPARAM found) {
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

std::wstring HelperPath() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  path.erase(path.find_last_of(L"\\/") + 1);
  return path + L"rowtint-other.exe";
}
}  // namespace

std::unique_ptr<OtherProgram> OtherProgram::Start(Mode mode, const platform::Rect& rect, COLORREF fill) {
  SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
  const HANDLE painted = CreateEventW(&inherited, TRUE, FALSE, nullptr);
  std::wstring line = L"\"" + HelperPath() + L"\" " + (mode == Mode::Cover ? L"cover " : L"away ") +
                      std::to_wstring(rect.left) + L" " + std::to_wstring(rect.top) + L" " +
                      std::to_wstring(rect.right) + L" " + std::to_wstring(rect.bottom) + L" " + std::to_wstring(fill) +
                      L" " + std::to_wstring(reinterpret_cast<ULONG_PTR>(painted));
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  std::unique_ptr<OtherProgram> other(new OtherProgram);
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &other->process_)) {
    CloseHandle(painted);
    throw script::ScriptError("cannot start rowtint-other.exe beside the stand-in");
  }
  const bool shown = WaitPumping(painted, kPatienceMs);
  CloseHandle(painted);
  EnumThreadWindows(other->process_.dwThreadId, &FirstWindow, reinterpret_cast<LPARAM>(&other->window_));
  if (!shown || !other->window_) throw script::ScriptError("the other program's window did not show");
  if (mode == Mode::Away) {
    const DWORD until = GetTickCount() + kPatienceMs;
    while (!InFront(other->process_.dwProcessId)) {
      if (GetTickCount() >= until) throw script::ScriptError("the other program's window did not come to the front");
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, WM_TIMER - 1, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(10);
    }
  }
  return other;
}

OtherProgram::~OtherProgram() {
  if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
  if (!WaitPumping(process_.hProcess, kPatienceMs)) TerminateProcess(process_.hProcess, 1);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

}  // namespace rowtint::host
