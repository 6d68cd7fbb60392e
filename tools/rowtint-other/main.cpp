// rowtint-other.exe: another program's window, for the stand-in's scripts.
//   rowtint-other away  LEFT TOP RIGHT BOTTOM COLOR EVENT   a window the user brings to the front
//   rowtint-other cover LEFT TOP RIGHT BOTTOM COLOR EVENT   a topmost one that never takes the focus
// COLOR is a COLORREF; EVENT the value of an inherited event handle, set once
// the window has painted. The window closes on WM_CLOSE, and the program ends.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <utility>

namespace {
COLORREF g_fill = 0;
HANDLE g_painted = nullptr;
bool g_cover = false;

LRESULT CALLBACK OtherProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = BeginPaint(window, &ps);
      const HBRUSH brush = CreateSolidBrush(g_fill);
      FillRect(dc, &ps.rcPaint, brush);
      DeleteObject(brush);
      EndPaint(window, &ps);
      GdiFlush();
      if (g_painted) SetEvent(std::exchange(g_painted, nullptr));
      return 0;
    }
    case WM_MOUSEACTIVATE:
      if (g_cover) return MA_NOACTIVATE;
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, w, l);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  char mode[16] = {};
  int left = 0, top = 0, right = 0, bottom = 0;
  unsigned long fill = 0;
  unsigned long long event = 0;
  if (std::sscanf(commandLine, "%15s %d %d %d %d %lu %llu", mode, &left, &top, &right, &bottom, &fill, &event) != 7)
    return 2;
  g_cover = std::strcmp(mode, "cover") == 0;
  g_fill = static_cast<COLORREF>(fill);
  g_painted = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(event));

  WNDCLASSW type{};
  type.lpfnWndProc = &OtherProc;
  type.hInstance = instance;
  type.hCursor = LoadCursor(nullptr, IDC_ARROW);
  type.lpszClassName = L"RowtintOther";
  RegisterClassW(&type);
  const DWORD extended = g_cover ? WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW : 0;
  const HWND window = CreateWindowExW(extended, type.lpszClassName, L"Other program", WS_POPUP, left, top, right - left,
                                      bottom - top, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  if (g_cover) {
    ShowWindow(window, SW_SHOWNOACTIVATE);
  } else {
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
  }
  UpdateWindow(window);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
