// The two forms as real windows on a real screen: where they open, what they
// show, and what the mouse and the modal loop do. The test acts from a
// timer while the form's modal loop runs, as the user would.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "engine/band_choices.h"
#include "engine/highlighter.h"
#include "forms/form_set.h"
#include "platform/win32/form_painter_fonts.h"
#include "platform/win32/form_painter_pictures.h"
#include "platform/win32/hresult_errors.h"
#include "platform/win32/module_lifetime.h"
#include "platform/win32/registry_own_key.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/win32_forms_host.h"
#include "platform/win32/win32_services.h"
#include "import_patch.h"
#include "support/test_windows.h"

namespace rowtint::win32 {
namespace {

using platform::ControlState;
using platform::FormWindow;
using platform::WindowHandle;
using Model = std::shared_ptr<forms::FormModel>;

constexpr platform::Color kBandColor = 0x2080F0;

// A form with another form's layout that records what its window reports.
class RecordingForm : public FormWindow {
 public:
  RecordingForm(const FormWindow& like, bool allVisible) : like_(like), controls_(like.Controls()) {
    for (auto& c : controls_) c.visible = c.visible || allVisible;
  }
  std::string Name() const override { return like_.Name(); }
  std::string Caption() const override { return like_.Caption(); }
  std::int32_t ClientWidthTwips() const override { return like_.ClientWidthTwips(); }
  std::int32_t ClientHeightTwips() const override { return like_.ClientHeightTwips(); }
  platform::Color BackColor() const override { return like_.BackColor(); }
  const std::vector<ControlState>& Controls() const override { return controls_; }
  bool Visible() const override { return visible; }
  void Click(const std::string& c) override { clicks.push_back(c); }
  void MouseMove(const std::string& c) override { moves.push_back(c); }
  void CloseWindow() override {}

  bool visible = true;
  std::vector<std::string> clicks, moves;

 private:
  const FormWindow& like_;
  std::vector<ControlState> controls_;
};

// One thing the user does, or waits for, while a form is up: `run` answers
// whether the script may go on; a wait that never comes true fails with `what`.
struct Step {
  std::function<bool()> run;
  std::function<std::string()> what;
};
Step Do(std::function<void()> act) {
  return {[act] { return act(), true; }, nullptr};
}

// Runs the steps one per timer tick. A modal loop that goes on after the
// last step is ended by a WM_QUIT and reported.
class Script {
 public:
  explicit Script(std::vector<Step> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 25, Tick);
  }
  ~Script() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  bool Finished() const { return next_ == steps_.size(); }

 private:
  static constexpr int kPatience = 120;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) { current_->Next(); }
  void Next() {
    if (Finished()) {
      if (++tries_ == kPatience) ADD_FAILURE() << "the modal loop did not end after the last step";
      if (tries_ == kPatience) PostQuitMessage(0);
      return;
    }
    bool done = true;
    try {
      done = steps_[next_].run();
    } catch (...) {
      ADD_FAILURE() << "step " << next_ << " raised";
    }
    if (!done && ++tries_ < kPatience) return;
    if (!done) ADD_FAILURE() << "step " << next_ << ": " << steps_[next_].what();
    ++next_;
    tries_ = 0;
  }

  static inline Script* current_ = nullptr;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  int tries_ = 0;
  UINT_PTR timer_ = 0;
};

int Px(std::int32_t twips, int dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }
COLORREF Resolved(platform::Color c) { return c < 0 ? GetSysColor(c & 0xFF) : static_cast<COLORREF>(c); }
POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
// A dialog button's box, above where its caption begins.
POINT InBox(const RECT& r) { return {(r.left + r.right) / 2, r.top + 2}; }

COLORREF ScreenPixel(HWND window, POINT client) {
  ClientToScreen(window, &client);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, client.x, client.y);
  ReleaseDC(nullptr, screen);
  return c;
}

// Real input, queued in one go: a window that tracks the button in a loop
// of its own finds the release already there.
void Input(HWND window, POINT client, std::initializer_list<DWORD> buttons) {
  ClientToScreen(window, &client);
  std::vector<INPUT> in(1 + buttons.size());
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  in[0].type = INPUT_MOUSE;
  in[0].mi = {(client.x * 65536 + w - 1) / w, (client.y * 65536 + h - 1) / h, 0,
              MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE};
  std::size_t i = 1;
  for (DWORD button : buttons) {
    in[i].type = INPUT_MOUSE;
    in[i++].mi.dwFlags = button;
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

class FormsHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HDC screen = GetDC(nullptr);
    dpiX_ = GetDeviceCaps(screen, LOGPIXELSX);
    dpiY_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (const char* wanted = std::getenv("ROWTINT_TEST_DPI")) {
      ASSERT_EQ(dpiX_, std::atoi(wanted)) << "the screen's dots per inch";
    }
  }
  void TearDown() override {
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  // Shows the form modally while the steps run; all of them must have run when it returns.
  void ShowWhile(const std::function<void()>& show, std::vector<Step> steps) {
    Script script(std::move(steps));
    show();
    EXPECT_TRUE(script.Finished()) << "the showing ended before the script did";
  }
  void ShowWhile(const Model& form, std::vector<Step> steps) {
    ShowWhile([&] { form->ShowModal(band_); }, std::move(steps));
  }

  RECT Pixels(const ControlState& c) const {
    const int left = Px(c.left, dpiX_), top = Px(c.top, dpiY_);
    return {left, top, left + Px(c.width, dpiX_), top + Px(c.height, dpiY_)};
  }
  RECT Pixels(const FormWindow& form, const std::string& name) const {
    for (const auto& c : form.Controls())
      if (c.name == name) return Pixels(c);
    ADD_FAILURE() << "no control " << name;
    return {};
  }
  HWND Window(const FormWindow& form) const { return shownBy_->WindowOf(form); }

  Step PixelBecomes(const FormWindow& form, POINT client, COLORREF want, std::string what) {
    return {[=, this, &form] { return ScreenPixel(Window(form), client) == want; },
            [=, this, &form] {
              return what + ": " + std::to_string(ScreenPixel(Window(form), client)) + " not " + std::to_string(want);
            }};
  }
  Step PointerTo(const FormWindow& form, POINT client) {
    return Do([=, this, &form] { Input(Window(form), client, {}); });
  }
  Step ClickAt(const FormWindow& form, POINT client) {
    return Do([=, this, &form] { Input(Window(form), client, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}); });
  }
  // Whether an earlier visible control than `below` lies at the point.
  bool Covered(const FormWindow& form, POINT p, std::size_t below) const {
    const auto& controls = form.Controls();
    for (std::size_t j = 0; j < below && j < controls.size(); ++j) {
      const RECT r = Pixels(controls[j]);
      if (controls[j].visible && PtInRect(&r, p)) return true;
    }
    return false;
  }

  // The forms are shown without a host: the band they repaint on OK finds
  // no host application and draws nothing.
  std::shared_ptr<forms::OptionsForm> Option() {
    forms_.Options(band_.Choices().color);
    return forms_.OptionsIfLoaded();
  }
  std::shared_ptr<forms::AboutForm> About() {
    forms_.About();
    return forms_.AboutIfLoaded();
  }

  Win32Services os_;
  RegistrySettingsStore store_;
  Win32FormsHost host_;
  platform::NoDiagnostics diagnostics_;
  RegistryOwnKey ownKey_;
  engine::Services services_{os_, os_, os_, os_, os_, store_, host_, diagnostics_, os_, os_, ownKey_};
  engine::Highlighter band_{services_, engine::BandChoices{kBandColor}};
  forms::FormSet forms_{services_};
  Win32FormsHost* shownBy_ = &host_;
  int dpiX_ = 96, dpiY_ = 96;
};

// ---------------------------------------------------------------------------
using FormsHostPlacement = FormsHostTest;

TEST_F(FormsHostPlacement, BothFormsOpenActivatedAndCentredWithTheirClientAreaAtTheScreensDpi) {
  for (const Model& form : {Model(Option()), Model(About())}) {
    ShowWhile(form, {Do([&] {
                const HWND window = Window(*form);
                RECT client{}, frame{}, work{};
                GetClientRect(window, &client);
                EXPECT_EQ(client.right, Px(form->ClientWidthTwips(), dpiX_)) << form->Name();
                EXPECT_EQ(client.bottom, Px(form->ClientHeightTwips(), dpiY_)) << form->Name();
                GetWindowRect(window, &frame);
                SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
                EXPECT_NEAR(frame.left + frame.right, work.left + work.right, 1) << form->Name();
                EXPECT_NEAR(frame.top + frame.bottom, work.top + work.bottom, 1) << form->Name();
                wchar_t caption[64] = {};
                GetWindowTextW(window, caption, 64);
                EXPECT_EQ(Narrow(caption), form->Caption());
                const LONG style = GetWindowLongW(window, GWL_STYLE);
                EXPECT_TRUE(style & WS_SYSMENU) << "a close box";
                EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) << "not resizable";
                EXPECT_TRUE(IsWindowVisible(window));
                EXPECT_EQ(GetActiveWindow(), window);
                form->Hide();
              })});
  }
}

// Points this program's GetProcAddress at one whose GetDpiForWindow answers
// `dpi`, as Windows does for a window on a monitor of that resolution (Wine
// answers the system's for every window).
class DpiForWindowAnswer {
 public:
  explicit DpiForWindowAnswer(UINT dpi) {
    dpi_ = dpi;
    real_ = &::GetProcAddress;
    EXPECT_TRUE(
        host::PatchImport(GetModuleHandleW(nullptr), "kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&Find)));
  }
  ~DpiForWindowAnswer() {
    host::PatchImport(GetModuleHandleW(nullptr), "kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(real_));
  }
  DpiForWindowAnswer(const DpiForWindowAnswer&) = delete;
  DpiForWindowAnswer& operator=(const DpiForWindowAnswer&) = delete;

 private:
  static UINT WINAPI Answer(HWND) { return dpi_; }
  static FARPROC WINAPI Find(HMODULE module, LPCSTR name) {
    if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) && std::string(name) == "GetDpiForWindow")
      return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&Answer));
    return real_(module, name);
  }
  static inline UINT dpi_ = 96;
  static inline decltype(&::GetProcAddress) real_ = nullptr;
};

// A form opens on the monitor Excel's main window is on: sized for that
// monitor's resolution and centred on its work area.
TEST_F(FormsHostPlacement, AFormOpensSizedForAndCentredOnExcelsMonitor) {
  testing::TestWindow excel{L"XLMAIN", {40, 30, 640, 430}, WS_POPUP | WS_VISIBLE};
  for (const UINT dpi : {96u, 144u}) {
    DpiForWindowAnswer answer(dpi);
    const Model form = About();
    ShowWhile(form, {Do([&] {
                const HWND window = Window(*form);
                RECT client{}, frame{};
                GetClientRect(window, &client);
                EXPECT_EQ(client.right, Px(form->ClientWidthTwips(), static_cast<int>(dpi))) << dpi;
                EXPECT_EQ(client.bottom, Px(form->ClientHeightTwips(), static_cast<int>(dpi))) << dpi;
                MONITORINFO monitor{};
                monitor.cbSize = sizeof monitor;
                ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(excel.Get(), MONITOR_DEFAULTTOPRIMARY), &monitor));
                GetWindowRect(window, &frame);
                EXPECT_NEAR(frame.left + frame.right, monitor.rcWork.left + monitor.rcWork.right, 1) << dpi;
                EXPECT_NEAR(frame.top + frame.bottom, monitor.rcWork.top + monitor.rcWork.bottom, 1) << dpi;
                form->Hide();
              })});
  }
}

// Each control answers the pointer on its first and last pixel and not on
// the pixels beside them, unless an earlier control lies there. A second
// pass shows the hover pictures, which lie above their boxes.
TEST_F(FormsHostPlacement, EveryControlAnswersThePointerExactlyWithinItsPixels) {
  for (const Model& model : {Model(std::make_shared<forms::OptionsForm>(services_, kBandColor)),
                             Model(std::make_shared<forms::AboutForm>(services_))})
    for (bool allVisible : {false, true}) {
      auto form = std::make_shared<RecordingForm>(*model, allVisible);
      ShowWhile([&] { host_.ShowModal(form, 0); }, {Do([&] {
                  const HWND window = Window(*form);
                  RECT client{};
                  GetClientRect(window, &client);
                  auto answer = [&](POINT p) {
                    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
                    return form->moves.back();
                  };
                  int checked = 0;
                  const auto& controls = form->Controls();
                  for (std::size_t i = 0; i < controls.size(); ++i) {
                    const RECT r = Pixels(controls[i]);
                    const LONG left = std::max(r.left, 0L), right = std::min(r.right, client.right);
                    if (!controls[i].visible) continue;
                    for (POINT in : {POINT{left, r.top}, POINT{right - 1, r.bottom - 1}}) {
                      if (Covered(*form, in, i)) continue;
                      EXPECT_EQ(answer(in), controls[i].name) << in.x << "," << in.y;
                      ++checked;
                    }
                    for (POINT out : {POINT{r.left - 1, r.top}, POINT{r.right, r.bottom - 1}, POINT{left, r.top - 1},
                                      POINT{right - 1, r.bottom}}) {
                      if (!PtInRect(&client, out)) continue;
                      EXPECT_NE(answer(out), controls[i].name) << out.x << "," << out.y;
                    }
                  }
                  EXPECT_GE(checked, static_cast<int>(controls.size())) << model->Name();
                  EXPECT_EQ(answer({1, client.bottom - 2}), "") << "bare background";
                  form->visible = false;
                  host_.Invalidate(*form);
                })});
    }
}

// Bordered controls show their border on their corner pixels, with the
// form's ground just beside them wherever no other control lies.
TEST_F(FormsHostPlacement, BordersLieOnTheControlsOuterPixels) {
  for (const Model& form : {Model(Option()), Model(About())}) {
    std::vector<Step> steps;
    const SIZE client{Px(form->ClientWidthTwips(), dpiX_), Px(form->ClientHeightTwips(), dpiY_)};
    const auto& controls = form->Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
      const auto& c = controls[i];
      if (!c.visible || !c.bordered) continue;
      const RECT r = Pixels(c);
      const LONG left = std::max(r.left, 0L), right = std::min(r.right, client.cx);
      for (POINT in : {POINT{left, r.top}, POINT{right - 1, r.bottom - 1}})
        if (!Covered(*form, in, i)) steps.push_back(PixelBecomes(*form, in, Resolved(c.borderColor), c.name));
      for (POINT out : {POINT{left, r.top - 1}, POINT{right - 1, r.bottom}})
        if (!Covered(*form, out, controls.size()) && out.y >= 0 && out.y < client.cy)
          steps.push_back(PixelBecomes(*form, out, Resolved(form->BackColor()), "beside " + c.name));
    }
    EXPECT_GT(steps.size(), 10u);
    steps.push_back(Do([&] { form->Hide(); }));
    ShowWhile(form, steps);
  }
}

// ---------------------------------------------------------------------------
using FormsHostPixels = FormsHostTest;

// The model's colours, redrawn when they change; the radio glyph (at the
// control's left, halfway down: its middle is the dot) as the model and a
// click say; the hover picture's box above the OK caption.
TEST_F(FormsHostPixels, TheOptionsFormShowsWhatItsModelSays) {
  const auto form = Option();
  const RECT current = Pixels(*form, "curr_color_lab"), pending = Pixels(*form, "new_color_lab");
  const RECT his1 = Pixels(*form, "Lab_his1"), his2 = Pixels(*form, "Lab_his2");
  const POINT strip{current.left + 3, Centre(current).y}, pendingAt{pending.left + 3, Centre(pending).y};
  auto captionInk = [&] {  // somewhere in the middle third of the strip
    const int third = (current.right - current.left) / 3;
    for (int x = current.left + third; x < current.right - third; ++x)
      for (int y = current.top + 1; y < current.bottom - 1; ++y)
        if (ScreenPixel(Window(*form), {x, y}) == GetSysColor(COLOR_HIGHLIGHTTEXT)) return true;
    return false;
  };
  const RECT primi = Pixels(*form, "Opt_primi"), white = Pixels(*form, "Opt_white");
  const POINT primiDot{primi.left + MulDiv(6, dpiX_, 96), Centre(primi).y};
  const POINT whiteDot{white.left + MulDiv(6, dpiX_, 96), Centre(white).y};
  const COLORREF dot = GetSysColor(COLOR_WINDOWTEXT), hollow = GetSysColor(COLOR_WINDOW);
  const POINT corner = InBox(Pixels(*form, "Image2"));
  const COLORREF ground = GetSysColor(COLOR_3DLIGHT);
  ShowWhile(form, {PixelBecomes(*form, strip, kBandColor, "current strip"),
                   PixelBecomes(*form, pendingAt, kBandColor, "new strip"),
                   PixelBecomes(*form, {his1.left + 2, his1.bottom - 3}, kBandColor, "swatch 1"),
                   PixelBecomes(*form, {his2.left + 2, his2.bottom - 3}, GetSysColor(COLOR_BTNFACE), "empty swatch"),
                   {captionInk, [] { return "the current strip's caption"; }},
                   Do([&] { form->SetBackColor(forms::option::kNewColor, 0x40C040); }),
                   PixelBecomes(*form, pendingAt, 0x40C040, "new strip after a change"),
                   PixelBecomes(*form, strip, kBandColor, "current strip unchanged"),
                   PixelBecomes(*form, primiDot, dot, "selected primitive mode"),
                   PixelBecomes(*form, whiteDot, hollow, "unselected invert mode"),
                   ClickAt(*form, Centre(white)),
                   PixelBecomes(*form, whiteDot, dot, "invert mode selected by a click"),
                   PixelBecomes(*form, primiDot, hollow, "primitive mode cleared"),
                   PixelBecomes(*form, corner, ground, "the OK box before"),
                   PointerTo(*form, Centre(Pixels(*form, "Label24"))),
                   PixelBecomes(*form, corner, kHoverFaceColor, "hover picture over the OK caption"),
                   PointerTo(*form, {2, 2}),
                   PixelBecomes(*form, corner, ground, "hover picture gone"),
                   Do([&] { form->Hide(); })});
  EXPECT_TRUE(form->Value(forms::option::kInvertMode));
  EXPECT_FALSE(form->IsVisible(forms::option::kOkHover));
}

TEST_F(FormsHostPixels, TheAboutFormShowsItsLogoAndAHandOverTheSupportLink) {
  const auto form = About();
  const RECT logo = Pixels(*form, "Image1");
  auto cursorIs = [](const char* shape) -> Step {
    return {[shape] {
              CURSORINFO info{sizeof info};
              return GetCursorInfo(&info) && info.hCursor == LoadCursorA(nullptr, shape);
            },
            [] { return "pointer shape"; }};
  };
  ShowWhile(form, {PixelBecomes(*form, {logo.left + 4, logo.top + 4}, kLogoGround, "logo ground"),
                   PixelBecomes(*form, {logo.left, logo.top}, GetSysColor(COLOR_HIGHLIGHT), "logo border"),
                   PointerTo(*form, Centre(Pixels(*form, "Label3"))), cursorIs(IDC_HAND),
                   PointerTo(*form, Centre(Pixels(*form, "Label4"))), cursorIs(IDC_ARROW), Do([&] { form->Hide(); })});
}

// ---------------------------------------------------------------------------
using FormsHostMouse = FormsHostTest;

TEST_F(FormsHostMouse, AClickNeedsTheButtonToGoDownAndUpOverTheSameControl) {
  const auto model = std::make_shared<forms::OptionsForm>(services_, kBandColor);
  auto form = std::make_shared<RecordingForm>(*model, false);
  ShowWhile([&] { host_.ShowModal(form, 0); }, {Do([&] {
              auto send = [&](UINT message, POINT p) { SendMessageW(Window(*form), message, 0, MAKELPARAM(p.x, p.y)); };
              const POINT swatch = Centre(Pixels(*form, "Lab_his2")), ok = InBox(Pixels(*form, "cb_ok"));
              send(WM_LBUTTONDOWN, swatch);
              send(WM_LBUTTONUP, ok);
              EXPECT_TRUE(form->clicks.empty());
              send(WM_LBUTTONDOWN, ok);
              send(WM_MOUSEMOVE, swatch);
              send(WM_LBUTTONUP, ok);
              send(WM_LBUTTONDOWN, {2, 2});
              send(WM_LBUTTONUP, {2, 2});
              EXPECT_EQ(form->clicks, std::vector<std::string>{"cb_ok"}) << "the background is no control";
              form->visible = false;
              host_.Invalidate(*form);
            })});
}

// Without a window manager on the test screen the frame is not drawn, so
// the close box is worked by the command it sends.
TEST_F(FormsHostMouse, TheCloseBoxUnloadsTheFormAndDestroysItsWindowAndClass) {
  const auto form = Option();
  HWND window = nullptr;
  ShowWhile(form, {Do([&] {
              window = Window(*form);
              EXPECT_EQ(Held(Lifetime::FormWindow), 1);
              PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            })});
  EXPECT_EQ(forms_.OptionsIfLoaded(), nullptr);
  EXPECT_EQ(band_.Choices().history[0], kBandColor) << "the swatches became the history";
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(Held(Lifetime::FormWindow), 0);
  WNDCLASSEXW wc{sizeof wc};
  EXPECT_FALSE(GetClassInfoExW(ModuleInstance(), kFormWindowClass, &wc)) << "no window of the class is left";

  const auto again = Option();
  ShowWhile(again, {Do([&] {
              EXPECT_TRUE(IsWindowVisible(Window(*again))) << "the class registered again";
              again->Hide();
            })});
}

TEST_F(FormsHostMouse, TheWindowLivesHiddenBetweenShowingsAndGoesWithItsHost) {
  HWND first = nullptr;
  {
    Win32FormsHost local;
    engine::Services services{os_, os_, os_, os_, os_, store_, local, diagnostics_, os_, os_, ownKey_};
    forms::FormSet localForms{services};
    localForms.About();
    const auto form = localForms.AboutIfLoaded();
    shownBy_ = &local;
    for (int showing = 0; showing < 2; ++showing)
      ShowWhile(form, {Do([&] { first = first ? first : local.WindowOf(*form); }),
                       Do([&] { EXPECT_EQ(local.WindowOf(*form), first) << "the same window each time"; }),
                       ClickAt(*form, InBox(Pixels(*form, "Label5")))});
    EXPECT_TRUE(IsWindow(first));
    EXPECT_FALSE(IsWindowVisible(first));
    EXPECT_EQ(Held(Lifetime::FormWindow), 1);
  }
  shownBy_ = &host_;
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(Held(Lifetime::FormWindow), 0);
}

// At the end of a connection the windows go while the library stays loaded,
// so that none is left to be destroyed under the loader's lock.
TEST_F(FormsHostMouse, DroppedWindowsGoAndTheFormsKeepWhatTheUserLeftOnThem) {
  const auto form = Option();
  HWND window = nullptr;
  ShowWhile(form, {Do([&] { window = Window(*form); }), ClickAt(*form, Centre(Pixels(*form, "Opt_white"))),
                   ClickAt(*form, InBox(Pixels(*form, "cb_cancel")))});
  ASSERT_TRUE(IsWindow(window)) << "kept hidden between showings";
  forms_.DropWindows();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(Held(Lifetime::FormWindow), 0);
  EXPECT_EQ(forms_.OptionsIfLoaded(), form) << "the form itself stays";
  EXPECT_TRUE(form->Value(forms::option::kInvertMode));
  ShowWhile(form, {Do([&] {
              EXPECT_TRUE(IsWindowVisible(Window(*form))) << "a new window for the next showing";
              form->Hide();
            })});
}

// ---------------------------------------------------------------------------
using FormsHostModal = FormsHostTest;

HWND TopLevelWindow(bool visible) {
  HWND window =
      CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr, nullptr, nullptr, nullptr);
  if (visible) ShowWindow(window, SW_SHOW);
  return window;
}

TEST_F(FormsHostModal, TheHostsWindowsAreDisabledWhileTheFormIsUpAndGivenBackAfter) {
  HWND host = TopLevelWindow(true), disabled = TopLevelWindow(true), hidden = TopLevelWindow(false);
  EnableWindow(disabled, FALSE);
  SetActiveWindow(host);
  const auto form = Option();
  ShowWhile(form, {Do([&] {
                     EXPECT_FALSE(IsWindowEnabled(host));
                     EXPECT_FALSE(IsWindowEnabled(disabled));
                     EXPECT_TRUE(IsWindowEnabled(hidden)) << "hidden windows are left alone";
                     EXPECT_EQ(GetActiveWindow(), Window(*form));
                     EXPECT_EQ(GetWindow(Window(*form), GW_OWNER), host) << "kept above the host's window";
                   }),
                   ClickAt(*form, InBox(Pixels(*form, "cb_cancel")))});
  EXPECT_TRUE(IsWindowEnabled(host));
  EXPECT_FALSE(IsWindowEnabled(disabled)) << "only what it disabled is enabled again";
  EXPECT_EQ(GetActiveWindow(), host);
  EXPECT_EQ(GetWindow(Window(*form), GW_OWNER), nullptr);
  for (HWND w : {host, disabled, hidden}) DestroyWindow(w);
}

TEST_F(FormsHostModal, OkHidesTheFormAndGivesTheFocusBackToTheHostsChildWindowThatHadIt) {
  HWND host = TopLevelWindow(true);
  HWND grid =
      CreateWindowExW(0, L"STATIC", L"grid", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, host, nullptr, nullptr, nullptr);
  SetActiveWindow(host);
  SetFocus(grid);
  ASSERT_EQ(GetFocus(), grid);
  const auto form = Option();
  form->SetBackColor(forms::option::kNewColor, 0x123456);
  band_.ToggleHighlight();  // off: no host answers the paint
  ASSERT_TRUE(band_.Choices().off);
  ShowWhile(form, {Do([&] { EXPECT_NE(GetFocus(), grid) << "the disabled host holds no focus"; }),
                   ClickAt(*form, InBox(Pixels(*form, "cb_ok")))});
  EXPECT_EQ(GetFocus(), grid) << "the band is drawn where the focus is";
  // The click on the OK box ended the modal loop and took the form's choices.
  EXPECT_EQ(band_.Choices().color, 0x123456);
  EXPECT_EQ(band_.Choices().ropMode, platform::kR2MaskPen);
  EXPECT_FALSE(band_.Choices().off);
  EXPECT_TRUE(IsWindow(Window(*form))) << "hidden, not destroyed";
  EXPECT_FALSE(IsWindowVisible(Window(*form)));
  DestroyWindow(host);
}

int ticks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++ticks; }

TEST_F(FormsHostModal, TheModalLoopKeepsTimersFiringAndPassesAQuitOn) {
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, CountTick);
  const auto form = About();
  ShowWhile(form, {{[] { return ticks >= 5; }, [] { return std::to_string(ticks) + " ticks"; }},
                   Do([] { PostQuitMessage(7); })});
  KillTimer(nullptr, timer);
  MSG quit;
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is posted again";
  EXPECT_EQ(quit.wParam, 7u);
  EXPECT_FALSE(IsWindowVisible(Window(*form)));
}

// ---------------------------------------------------------------------------
int CALLBACK FirstFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM out) {
  *reinterpret_cast<std::wstring*>(out) = font->lfFaceName;
  return 0;
}

TEST(FormFonts, AFaceTheSystemLacksIsReplacedByOneItHas) {
  HDC screen = GetDC(nullptr);
  std::wstring present;
  LOGFONTW any{};
  any.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExW(screen, &any, FirstFace, reinterpret_cast<LPARAM>(&present), 0);
  ASSERT_FALSE(present.empty());
  EXPECT_EQ(PresentFace(screen, present, ANSI_CHARSET), present);
  for (const std::wstring wanted : {L"No Such Face Anywhere", L"Tahoma", L"\u5B8B\u4F53"}) {
    const std::wstring chosen = PresentFace(screen, wanted, GB2312_CHARSET);
    EXPECT_TRUE(chosen.empty() || FaceIsPresent(screen, chosen, GB2312_CHARSET)) << Narrow(chosen.c_str());
    EXPECT_NE(chosen, L"No Such Face Anywhere");
  }
  ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace rowtint::win32
