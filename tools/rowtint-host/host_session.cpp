#include "host_session.h"

#include "host_clock.h"

#include <filesystem>
#include <sstream>

#include "dll_dpi.h"
#include "dll_surfaces.h"
#include "dll_watch.h"
#include "platform/win32/boundaries.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/hresult_errors.h"
#include "screen_capture.h"

namespace rowtint::host {
namespace {
constexpr UINT_PTR kNextLineTimer = 1;
constexpr UINT_PTR kDialogTimer = 2;
constexpr wchar_t kHelperClass[] = L"RowtintHostHelper";
constexpr wchar_t kSettingsKey[] = L"Software\\VB and VBA Program Settings\\Tintrow";
// The add-in's own key, where the user fixes the band's surface.
constexpr wchar_t kOwnKey[] = L"Software\\Rowtint";

// Messages of every kind but the timer's: the add-in's ticks come only when
// a script asks for them. How many there were.
int PumpWithoutTimers() {
  MSG msg;
  int dispatched = 0;
  for (; dispatched < 10000; ++dispatched) {
    if (!PeekMessageW(&msg, nullptr, 0, WM_TIMER - 1, PM_REMOVE) &&
        !PeekMessageW(&msg, nullptr, WM_TIMER + 1, 0xFFFFFFFF, PM_REMOVE))
      break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return dispatched;
}

// What a user waits for before looking: the X server tells Wine what a
// closed or moved window uncovered only when it gets round to it, which on a
// loaded machine may be after the line that closed it has ended. Messages
// (timers aside) are handled until none has come for kQuietMs, for at most
// kMostMs.
void PumpUntilQuiet() {
  constexpr DWORD kQuietMs = 50, kMostMs = 1000;
  const DWORD start = GetTickCount();
  DWORD lastMessage = start;
  while (GetTickCount() - start < kMostMs) {
    if (PumpWithoutTimers() > 0)
      lastMessage = GetTickCount();
    else if (GetTickCount() - lastMessage >= kQuietMs)
      return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_INPUT | QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE);
  }
}

// The add-in's timer lives on a message-only window of its own, made when it is first needed.
HWND AddInTimerWindow() { return FindWindowExW(HWND_MESSAGE, nullptr, L"RowtintTimers", nullptr); }
}  // namespace

HostSession::HostSession(std::string outDir)
    : outDir_(std::move(outDir)), bars_(std::make_shared<sim::CommandBarStore>()) {
  std::filesystem::create_directories(outDir_);
  // Every script starts with an empty store, the grid's monitor at the
  // system's resolution and the add-in called per-monitor aware; the helper
  // window is made in that context too.
  RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kOwnKey, L"Surface");
  HideDrawingOnGrids(nullptr);
  AnswerWindowDpi(0);
  ResetThreadDpi();
  WNDCLASSW helper{};
  helper.lpfnWndProc = &HelperProc;
  helper.hInstance = GetModuleHandleW(nullptr);
  helper.lpszClassName = kHelperClass;
  RegisterClassW(&helper);
  helper_ = CreateWindowExW(0, kHelperClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, helper.hInstance, nullptr);
  SetWindowLongPtrW(helper_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HostSession::~HostSession() {
  // The process ends: the add-in is let go without being told, like a host that is closed from outside.
  EndHost();
  HideDrawingOnGrids(nullptr);
  CoFreeUnusedLibraries();
  // A surface a script fixed was the script's alone: none is left in the user's key.
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kOwnKey, L"Surface");
  SetWindowLongPtrW(helper_, GWLP_USERDATA, 0);
  DestroyWindow(helper_);
}

LRESULT CALLBACK HostSession::HelperProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* self = reinterpret_cast<HostSession*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == WM_TIMER) {
    const bool ran = win32::CallbackBoundary([&] {
      if (w == kNextLineTimer) self->NextLineInsideCall();
      if (w == kDialogTimer) self->WatchDialogs();
    });
    if (!ran) self->failure_ = "the stand-in failed inside the add-in's call";
    return 0;
  }
  return DefWindowProcW(window, message, w, l);
}

void HostSession::RunScript(const std::vector<std::string>& lines, std::ostream& out) {
  lines_ = &lines;
  next_ = 0;
  out_ = &out;
  Pump();
  lines_ = nullptr;
  if (failure_) throw ScriptError(*std::exchange(failure_, std::nullopt));
}

void HostSession::RunLine(const std::string& line, std::ostream& out) {
  std::vector<std::string> one{line};
  RunScript(one, out);
}

void HostSession::Pump() {
  while (lines_ && next_ < lines_->size() && !failure_) {
    const std::size_t number = next_++;
    try {
      Execute((*lines_)[number], *out_);
    } catch (const ScriptError& e) {
      failure_ = "line " + std::to_string(number + 1) + ": " + e.what();
    }
  }
}

// Inside the add-in's modal loop: one line per turn of the loop, so that
// what a line posts (a click on the form) is handled before the next.
void HostSession::NextLineInsideCall() {
  KillTimer(helper_, kNextLineTimer);
  if (!lines_ || next_ >= lines_->size() || failure_) {
    // Nothing left to do inside the form: the user closes it, so that the run can end.
    CloseForms();
    return;
  }
  const std::size_t number = next_++;
  try {
    Execute((*lines_)[number], *out_);
  } catch (const ScriptError& e) {
    failure_ = "line " + std::to_string(number + 1) + ": " + e.what();
  }
  SetTimer(helper_, kNextLineTimer, 20, nullptr);
}

void HostSession::CallAddIn(const char* what, const std::function<HRESULT()>& call) {
  // Office calls its add-ins in its own thread's context, whatever the window procedure it calls from.
  const HostContextForCall context;
  if (callDepth_ == 0) NoteCallIntoAddIn();
  if (callDepth_++ == 0) {
    SetTimer(helper_, kNextLineTimer, 20, nullptr);
    SetTimer(helper_, kDialogTimer, 20, nullptr);
  }
  const double startMs = NowMs(), ownStartMs = OwnProcedureMs();
  const HRESULT hr = call();
  const double wholeMs = NowMs() - startMs;
  lastCall_ = {what, wholeMs, wholeMs - (OwnProcedureMs() - ownStartMs)};
  if (--callDepth_ == 0) {
    KillTimer(helper_, kNextLineTimer);
    KillTimer(helper_, kDialogTimer);
  }
  if (FAILED(hr)) {
    std::ostringstream text;
    text << what << ": 0x" << std::hex << static_cast<std::uint32_t>(hr);
    errors_.push_back(text.str());
  }
}

// Between two lines a composed renderer redraws the grids, and Office its
// ribbon, before the loop dispatches what was posted.
void HostSession::Execute(const std::string& line, std::ostream& out) {
  script::Execute(line, *this, out);
  RedrawOwnPicture();
  RefreshRibbon();
  PumpWithoutTimers();
}

sim::ExcelModel& HostSession::Model() {
  if (!model_) throw ScriptError("the host is not running");
  return *model_;
}

platform::Rect HostSession::ScreenBounds() {
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void HostSession::NotOffered(const std::string& command) {
  throw ScriptError("the stand-in does not offer '" + command + "'");
}

// The form by its name, as the add-in's forms are known: the window shows only its caption.
std::optional<std::string> HostSession::ShownForm() {
  const HWND form = FormWindow();
  if (!form) return std::nullopt;
  wchar_t caption[64] = {};
  GetWindowTextW(form, caption, 64);
  return std::wstring(caption) == L"Option" ? "fm_Option" : "fm_About";
}

void HostSession::Pick(std::optional<platform::Color> answer) {
  colorAnswer_ = answer ? std::optional<COLORREF>(static_cast<COLORREF>(*answer)) : std::optional<COLORREF>();
}

void HostSession::Settle() { PumpWithoutTimers(); }

void HostSession::PutSetting(const script::Setting& setting) {
  const std::wstring key = std::wstring(kSettingsKey) + L"\\" + win32::Widen(setting.section);
  const std::wstring text = win32::Widen(setting.text);
  HKEY opened = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) !=
      ERROR_SUCCESS)
    throw ScriptError("cannot write the store");
  const win32::UniqueKey section(opened);
  RegSetValueExW(section.Get(), win32::Widen(setting.key).c_str(), 0, REG_SZ,
                 reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void HostSession::UserSelects(const sim::Area& area, bool pump) {
  if (!started_) Start();
  Model().Select(area);
  if (pump) PumpWithoutTimers();
}

void HostSession::PumpNow() { PumpWithoutTimers(); }

std::optional<MSG> HostSession::NextTimerMessage() {
  const DWORD until = GetTickCount() + 1000;
  MSG msg;
  while (GetTickCount() < until) {
    PumpWithoutTimers();
    const HWND timers = AddInTimerWindow();
    if (timers && PeekMessageW(&msg, timers, WM_TIMER, WM_TIMER, PM_REMOVE)) return msg;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return std::nullopt;
}

// The add-in's next timer message, dispatched as the host's loop would, when
// one comes; or the one `tick queue` held, and nothing else.
void HostSession::Tick() {
  std::optional<MSG> message = held_ ? *std::exchange(held_, std::nullopt) : NextTimerMessage();
  // A message held while its window was destroyed reaches no procedure:
  // the add-in destroys its timer's window before its library can go.
  if (!message || !IsWindow(message->hwnd)) return;
  // A composed renderer has redrawn the grids from its own picture before the timer's message comes.
  RedrawOwnPicture();
  NoteCallIntoAddIn();
  CallAddIn("timer", [&] {
    DispatchMessageW(&*message);
    return S_OK;
  });
}

void HostSession::HoldTick() { held_ = NextTimerMessage(); }

void HostSession::SetThreadDpi(bool systemAware) {
  if (!CallAddInSystemAware(systemAware))
    throw ScriptError("this Wine has no SetThreadDpiAwarenessContext, so no thread DPI context to model");
}

bool HostSession::TimerMessageArrives(DWORD withinMs) {
  if (!windows_) return false;
  const DWORD until = GetTickCount() + withinMs;
  MSG msg;
  while (GetTickCount() < until) {
    PumpWithoutTimers();
    const HWND timers = AddInTimerWindow();
    if (timers && PeekMessageW(&msg, timers, WM_TIMER, WM_TIMER, PM_NOREMOVE)) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return false;
}

void HostSession::WriteSnapshot(const std::string& file) {
  PumpUntilQuiet();
  const auto path = (std::filesystem::path(outDir_) / file).string();
  if (!CaptureShown().WritePng(path)) throw ScriptError("cannot write " + path);
}

void HostSession::PutSurface(const std::string& choice) {
  const std::wstring text = win32::Widen(choice);
  if (RegSetKeyValueW(HKEY_CURRENT_USER, kOwnKey, L"Surface", REG_SZ, text.c_str(),
                      static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
    throw ScriptError("cannot write the add-in's own key");
}

void HostSession::SetRenderer(script::Renderer renderer) {
  if (renderer == renderer_) return;
  renderer_ = renderer;
  ApplyRenderer();
  if (windows_) windows_->RepaintAll();
}

void HostSession::ApplyRenderer() {
  if (renderer_ != script::Renderer::Flip) {
    HideDrawingOnGrids(nullptr);
    return;
  }
  HideDrawingOnGrids([this](HWND grid, HDC into) { return windows_ && windows_->PaintGridPicture(grid, into); });
}

void HostSession::RedrawOwnPicture() {
  if (renderer_ != script::Renderer::Composed || !windows_) return;
  windows_->RedrawOwnPicture();
  // Wine takes what was drawn through a window's DC to the screen when the
  // thread next looks at its queue; the compositor has it there at once.
  MSG message;
  PeekMessageW(&message, nullptr, WM_NULL, WM_NULL, PM_NOREMOVE);
}

void HostSession::MoveMainWindow(int dx, int dy) {
  windows_->MoveMain(dx, dy);
  PumpNow();
}

}  // namespace rowtint::host
