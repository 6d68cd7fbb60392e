// The real painter against a small fake host, drawing on the real screen
// through the Windows services: what a user would see, read back pixel by
// pixel, and no GDI object left behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/highlighter.h"
#include "live_gdi_objects.h"
#include "platform/error.h"
#include "platform/host.h"
#include "platform/win32/diagnostics_log.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/registry_own_key.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/win32_forms_host.h"
#include "platform/win32/win32_services.h"
#include "support/test_windows.h"

namespace rowtint::win32 {
namespace {
using namespace platform::host;
using testing::PumpFor;
using testing::TestWindow;

[[noreturn]] void NotInThisHost() { platform::Raise(platform::err::kNotSupported, "not in this host"); }

// A cell or block given by its absolute address ($C$5, $A$1:$P$30); the
// row and column are those of its first cell.
class FakeRange : public Range, public std::enable_shared_from_this<FakeRange> {
 public:
  explicit FakeRange(std::string address, std::int32_t count = 1) : address_(std::move(address)), count_(count) {
    std::size_t i = 1;
    while (i < address_.size() && std::isalpha(static_cast<unsigned char>(address_[i])))
      column_ = column_ * 26 + (address_[i++] - 'A' + 1);
    row_ = std::stoi(address_.substr(i + 1));
  }
  std::string TypeName() override { return "Range"; }
  std::shared_ptr<Range> AsRange() override { return shared_from_this(); }
  std::string Address() override { return address_; }
  std::int32_t Row() override { return row_; }
  std::int32_t Column() override { return column_; }
  // The test's grid has rows of 20 pixels and, left of C, columns of 75; C and on are 64.
  double Height() override { return 15; }
  double Width() override { return column_ < 3 ? 56.25 : 48; }
  double Left() override { return (column_ - 1) * 56.25; }
  double Top() override { return (row_ - 1) * 15.0; }
  // Its blocks are asked for within A to B, or within C and on.
  std::optional<double> RowHeight() override { return 15; }
  std::optional<double> ColumnWidth() override { return column_ < 3 ? 10 : 8.43; }
  std::shared_ptr<Range> Rows() override { return std::make_shared<FakeRange>(address_, 1); }
  std::shared_ptr<Range> Columns() override { return std::make_shared<FakeRange>(address_, 1); }
  std::int32_t Count() override { return count_; }
  std::shared_ptr<Range> Find(const std::string&, std::int32_t, std::int32_t, const SearchOptions&) override {
    NotInThisHost();
  }
  std::shared_ptr<Range> Item(std::int32_t, std::int32_t) override { NotInThisHost(); }
  void Select() override { NotInThisHost(); }

 private:
  std::string address_;
  std::int32_t count_;
  std::int32_t row_ = 0;
  std::int32_t column_ = 0;
};

// The one pane of a grid whose client area begins at (100, 100) on the screen, not scrolled.
class FakePane : public Pane {
 public:
  std::int32_t ScrollRow() override { return 1; }
  std::int32_t ScrollColumn() override { return 1; }
  std::shared_ptr<Range> VisibleRange() override { return std::make_shared<FakeRange>("$A$1:$P$30"); }
  std::int32_t PointsToScreenPixelsX(std::int32_t points) override { return 100 + points * 4 / 3; }
  std::int32_t PointsToScreenPixelsY(std::int32_t points) override { return 100 + points * 4 / 3; }
};

class FakeWindow : public Window {
 public:
  explicit FakeWindow(const std::string& activeCell) : activeCell_(activeCell) {}
  double Zoom() override { return 100; }
  std::int32_t ScrollRow() override { return 1; }
  std::int32_t ScrollColumn() override { return 1; }
  std::shared_ptr<Range> VisibleRange() override { return std::make_shared<FakeRange>("$A$1:$P$30"); }
  std::shared_ptr<Range> ActiveCell() override { return std::make_shared<FakeRange>(activeCell_); }
  std::shared_ptr<Pane> ActivePane() override { return std::make_shared<FakePane>(); }
  bool FreezePanes() override { return false; }
  std::int32_t SplitRow() override { return 0; }
  std::int32_t SplitColumn() override { return 0; }
  std::int32_t PaneCount() override { return 1; }
  std::shared_ptr<Pane> PaneAt(std::int32_t) override { return ActivePane(); }
  // The cell under a point of the grid, whose client area begins at (100, 100).
  std::shared_ptr<Range> RangeFromPoint(std::int32_t x, std::int32_t y) override {
    if (x < 100 || y < 100) return nullptr;
    const int column = x < 250 ? (x - 100) / 75 + 1 : (x - 250) / 64 + 3, row = (y - 100) / 20 + 1;
    const std::string letters(1, static_cast<char>('A' + column - 1));
    return std::make_shared<FakeRange>("$" + letters + "$" + std::to_string(row));
  }

 private:
  const std::string& activeCell_;
};

// The "File" bar's second control, whose Enabled gates the add-in's commands.
class FakeGate : public platform::CommandBarControl,
                 public platform::CommandBarControls,
                 public std::enable_shared_from_this<FakeGate> {
 public:
  bool open = true;
  platform::VbBool Enabled() override { return platform::ToVbBool(open); }
  std::shared_ptr<platform::CommandBarControl> Item(std::int16_t index) override {
    if (index != 2) NotInThisHost();
    return shared_from_this();
  }
  std::shared_ptr<platform::CommandBarControl> Item(const std::string&) override { NotInThisHost(); }
  std::string Caption() override { NotInThisHost(); }
  void SetCaption(const std::string&) override { NotInThisHost(); }
  platform::VbBool BeginGroup() override { NotInThisHost(); }
  void SetBeginGroup(platform::VbBool) override { NotInThisHost(); }
  std::string TooltipText() override { NotInThisHost(); }
  void SetTooltipText(const std::string&) override { NotInThisHost(); }
  void SetEnabled(platform::VbBool) override { NotInThisHost(); }
  std::string Tag() override { NotInThisHost(); }
  void SetTag(const std::string&) override { NotInThisHost(); }
  void Delete() override { NotInThisHost(); }
  std::shared_ptr<platform::CommandBar> PopupBar() override { NotInThisHost(); }
  std::shared_ptr<platform::CommandBarButton> AsButton() override { NotInThisHost(); }
  std::shared_ptr<platform::CommandBarControl> Add(const platform::ControlAddArgs&) override { NotInThisHost(); }
  std::int32_t Count() override { NotInThisHost(); }
};

// The host's bars, of which only the "File" bar is asked for.
class FakeFileBar : public platform::CommandBars,
                    public platform::CommandBar,
                    public std::enable_shared_from_this<FakeFileBar> {
 public:
  std::shared_ptr<FakeGate> gate = std::make_shared<FakeGate>();
  std::shared_ptr<platform::CommandBar> Item(const std::string& name) override {
    if (name != "File") NotInThisHost();
    return shared_from_this();
  }
  std::shared_ptr<platform::CommandBarControls> Controls() override { return gate; }
  std::string Name() override { return "File"; }
  void SetProtection(std::int32_t) override { NotInThisHost(); }
  void SetVisible(platform::VbBool) override { NotInThisHost(); }
  void Delete() override { NotInThisHost(); }
  std::shared_ptr<platform::CommandBar> Add(const platform::BarAddArgs&) override { NotInThisHost(); }
  std::vector<std::shared_ptr<platform::CommandBar>> Enumerate() override { NotInThisHost(); }
  std::shared_ptr<platform::CommandBar> ActiveMenuBar() override { NotInThisHost(); }
  std::shared_ptr<platform::CommandBarControls> FindControls(const std::string&) override { NotInThisHost(); }
};

// Zoom 100, version 16.0, $A$1:$P$30 visible, one cell selected, 15 by 48 points.
class FakeApplication : public Application {
 public:
  std::string activeCell = "$C$5";
  bool versionFails = false;  // as Excel's calls do while a cell is edited
  platform::WindowHandle hwnd = 0;
  int calls = 0;  // of the members every paint asks first

  std::shared_ptr<Window> ActiveWindow() override {
    ++calls;
    return std::make_shared<FakeWindow>(activeCell);
  }
  std::shared_ptr<Range> ActiveCell() override { return std::make_shared<FakeRange>(activeCell); }
  std::shared_ptr<Object> Selection() override { return std::make_shared<FakeRange>(activeCell); }
  std::string Version() override {
    ++calls;
    if (versionFails) platform::Raise(-2146827284, "Application-defined or object-defined error");
    return "16.0";
  }
  std::int32_t Build() override { return 18025; }
  platform::WindowHandle Hwnd() override { return hwnd; }
  std::shared_ptr<Range> GetRange(const std::string& cell1) override { return std::make_shared<FakeRange>(cell1); }
  std::shared_ptr<Range> Cells() override { NotInThisHost(); }
  std::shared_ptr<platform::host::WorksheetFunction> GetWorksheetFunction() override { NotInThisHost(); }
  std::shared_ptr<FakeFileBar> bars = std::make_shared<FakeFileBar>();
  std::shared_ptr<platform::CommandBars> GetCommandBars() override { return bars; }
  std::unique_ptr<EventConnection> AdviseEvents(AppEvents&) override { NotInThisHost(); }
  std::shared_ptr<Range> AsRange() override { NotInThisHost(); }
};

LRESULT CALLBACK WhiteWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      ScopedPaint paint(hwnd);
      FillRect(paint.Dc(), &paint.Area(), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

LRESULT CALLBACK MagentaWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_PAINT) return msg == WM_ERASEBKGND ? 1 : DefWindowProcW(hwnd, msg, wp, lp);
  ScopedPaint paint(hwnd);
  UniqueBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
  FillRect(paint.Dc(), &paint.Area(), magenta.Get());
  return 0;
}

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr platform::Color kBand = 0x00DECAB6;
constexpr RECT kWindow{100, 100, 700, 500};
// The caret at the active cell's top-left corner, in the window's client area.
constexpr POINT kCaretAtC5{150, 80};
constexpr POINT kCaretAtC8{150, 140};

class BandOnScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(grid.Get());
    SetForegroundWindow(main.Get());
    SetFocus(grid.Get());
    ASSERT_TRUE(CreateCaret(grid.Get(), nullptr, 1, 19));  // created hidden: it never blinks over the pixels
    PumpFor(300);                                          // mapped and painted before anything is drawn over it
    ASSERT_EQ(Pixel(400, 300), kWhite);

    band.Attach(app);
    app->hwnd = testing::AsHandle(main.Get());
  }
  void TearDown() override { DestroyCaret(); }

  void PaintAt(const char* cell, POINT caret) {
    app->activeCell = cell;
    SetCaretPos(caret.x, caret.y);
    band.PaintRowBand();
    // Drawing through a window's DC reaches the screen once the thread next
    // looks for messages (under Wine, as under the desktop compositor); one
    // look that takes none lets the pixels below be read.
    MSG none;
    PeekMessageW(&none, reinterpret_cast<HWND>(-1), WM_APP + 0x3FFF, WM_APP + 0x3FFF, PM_NOREMOVE);
  }

  static COLORREF Pixel(int x, int y) {
    ScopedWindowDC screen(nullptr, ScopedWindowDC::Area::Client);
    return GetPixel(screen.Get(), x, y);
  }

  // The band is read back from the grid surface, the default: a surface a
  // user (or an earlier test in the same prefix) fixed is not this test's.
  struct DefaultSurface {
    DefaultSurface() { RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Rowtint", L"Surface"); }
  } defaultSurface;
  Win32Services os;
  RegistrySettingsStore store;
  Win32FormsHost forms;
  DiagnosticsLog log;
  RegistryOwnKey ownKey;
  engine::Highlighter band{engine::Services{os, os, os, os, os, store, forms, log, os, os, ownKey},
                           engine::BandChoices{kBand, platform::kR2MaskPen}};
  std::shared_ptr<FakeApplication> app = std::make_shared<FakeApplication>();
  // The host's main window and, filling it, the grid window with the focus and the caret.
  TestWindow main{L"XLMAIN", kWindow, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, &WhiteWindowProc};
  TestWindow grid{L"EXCEL7",
                  {0, 0, kWindow.right - kWindow.left, kWindow.bottom - kWindow.top},
                  WS_CHILD | WS_VISIBLE,
                  &WhiteWindowProc,
                  main.Get()};
};

TEST_F(BandOnScreen, TheBandLiesAcrossTheActiveCellsRowInItsColour) {
  ASSERT_EQ(os.ScreenDpi(), 96);  // 15 points are 20 pixels
  PaintAt("$C$5", kCaretAtC5);
  const auto s = band.Snapshot();
  EXPECT_EQ(s.ExcelMainWnd, testing::AsHandle(main.Get()));
  // Caret (250, 180) on the screen; rows of 19 pixels; the active cell 64 pixels wide.
  EXPECT_EQ(s.LeftBandRect, (platform::Rect{107, 180, 250, 199}));
  EXPECT_EQ(s.RightBandRect, (platform::Rect{314, 180, 680, 199}));

  // Mask-pen fill on white is the band colour; the default pen's outline is
  // black; around it the window shows through: above, below, left of the
  // inset, the active cell itself, and the right margin.
  const COLORREF band = kBand;
  const struct {
    int x, y;
    COLORREF colour;
  } expected[] = {{180, 190, band},   {500, 190, band},   {108, 181, band},   {107, 190, kBlack}, {249, 190, kBlack},
                  {180, 180, kBlack}, {180, 198, kBlack}, {314, 190, kBlack}, {679, 190, kBlack}, {180, 179, kWhite},
                  {180, 199, kWhite}, {106, 190, kWhite}, {280, 190, kWhite}, {680, 190, kWhite}};
  for (const auto& e : expected) EXPECT_EQ(Pixel(e.x, e.y), e.colour) << e.x << "," << e.y;
}

TEST_F(BandOnScreen, ThePaintAtAnotherRowErasesTheFirstBand) {
  PaintAt("$C$5", kCaretAtC5);
  ASSERT_EQ(Pixel(180, 190), static_cast<COLORREF>(kBand));
  // The windows' repaint of the erased grid reached the screen before the
  // band did: the band outlives the host's loop running on.
  PumpFor(200);
  ASSERT_EQ(Pixel(180, 190), static_cast<COLORREF>(kBand));
  PaintAt("$C$8", kCaretAtC8);
  PumpFor(200);
  for (const POINT p : {POINT{180, 190}, POINT{107, 190}, POINT{500, 180}}) EXPECT_EQ(Pixel(p.x, p.y), kWhite);
  EXPECT_EQ(Pixel(180, 250), static_cast<COLORREF>(kBand));
  EXPECT_EQ(Pixel(500, 250), static_cast<COLORREF>(kBand));
  EXPECT_EQ(Pixel(180, 240), kBlack);

  // Switched off, the band is erased.
  band.ToggleHighlight();
  PumpFor(200);
  EXPECT_EQ(Pixel(180, 250), kWhite);
  EXPECT_EQ(Pixel(180, 240), kWhite);
}

TEST_F(BandOnScreen, NothingIsDrawnIntoAWindowOutsideTheHost) {
  // The focus in a window of its own, as in one of the add-in's forms.
  TestWindow form{L"RowtintTestForm", kWindow, WS_POPUP | WS_VISIBLE, &WhiteWindowProc};
  SetForegroundWindow(form.Get());
  SetFocus(form.Get());
  PumpFor(200);
  PaintAt("$C$5", kCaretAtC5);
  EXPECT_EQ(Pixel(180, 190), kWhite);
  EXPECT_EQ(Pixel(107, 190), kWhite);
}

// A window lying over the grid's row (another program's, never activated)
// keeps its pixels: the band is drawn through the grid's own DC.
TEST_F(BandOnScreen, AWindowLyingOverTheRowKeepsItsPixels) {
  TestWindow cover{L"RowtintTestCover", {330, 170, 430, 215}, WS_POPUP, &MagentaWindowProc};
  SetWindowPos(cover.Get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  PumpFor(200);
  ASSERT_EQ(GetFocus(), grid.Get());
  PaintAt("$C$5", kCaretAtC5);
  PaintAt("$C$5", kCaretAtC5);  // and its erase asks no repaint of it
  PumpFor(200);
  for (const POINT p : {POINT{340, 190}, POINT{420, 181}, POINT{380, 205}}) EXPECT_EQ(Pixel(p.x, p.y), kMagenta);
  EXPECT_EQ(Pixel(180, 190), static_cast<COLORREF>(kBand));
  EXPECT_EQ(Pixel(500, 190), static_cast<COLORREF>(kBand));
}

// While a cell is edited the focus is in Excel's edit box, and Excel
// refuses its object model: a paint asks nothing and draws nothing.
TEST_F(BandOnScreen, NothingIsAskedOrDrawnWhileACellIsEdited) {
  for (const wchar_t* editor : {L"EXCEL6", L"EXCEL<"}) {
    TestWindow box{editor, {50, 80, 114, 99}, WS_CHILD | WS_VISIBLE, &WhiteWindowProc, grid.Get()};
    SetFocus(box.Get());
    app->calls = 0;
    PaintAt("$C$5", kCaretAtC5);
    PumpFor(100);
    EXPECT_EQ(app->calls, 0);
    EXPECT_EQ(Pixel(500, 190), kWhite);
  }
  SetFocus(grid.Get());
  PaintAt("$C$5", kCaretAtC5);
  EXPECT_EQ(Pixel(500, 190), static_cast<COLORREF>(kBand));
}

// The diagnostics log, switched on and off as a user would, in a folder of the test's own.
class DiagnosticsSwitch {
 public:
  explicit DiagnosticsSwitch(DWORD value) {
    CreateDirectoryW(Folder().c_str(), nullptr);
    SetEnvironmentVariableW(L"LOCALAPPDATA", Folder().c_str());
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Rowtint", L"Diagnostics", REG_DWORD, &value, sizeof value);
    DeleteFileW(DiagnosticsLog::LogPath().c_str());
    DeleteFileW((DiagnosticsLog::LogPath() + L".1").c_str());
  }
  ~DiagnosticsSwitch() { RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Rowtint", L"Diagnostics"); }
  DiagnosticsSwitch(const DiagnosticsSwitch&) = delete;
  DiagnosticsSwitch& operator=(const DiagnosticsSwitch&) = delete;

  static std::wstring Folder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"rowtint-diagnostics";
  }
  static std::string Read(const std::wstring& path) {
    std::string text;
    if (FILE* f = _wfopen(path.c_str(), L"rb")) {
      char buffer[4096];
      for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
      std::fclose(f);
    }
    return text;
  }
};

TEST_F(BandOnScreen, TheDiagnosticsLogTellsWhatEachPaintSawAndDidOnlyWhenSwitchedOn) {
  {
    DiagnosticsSwitch off(0);
    PaintAt("$C$5", kCaretAtC5);
    EXPECT_EQ(GetFileAttributesW(DiagnosticsLog::LogPath().c_str()), INVALID_FILE_ATTRIBUTES);
  }
  DiagnosticsSwitch on(1);
  PaintAt("$C$8", kCaretAtC8);
  app->versionFails = true;
  PaintAt("$C$8", kCaretAtC8);
  app->versionFails = false;
  const std::string log = DiagnosticsSwitch::Read(DiagnosticsLog::LogPath());
  const auto first = log.substr(0, log.find("\r\n"));
  // A timestamp, the bitness, the focus chain to its root, the resolution,
  // the caret, where the cell was placed, what was erased and drawn.
  for (const char* field :
       {"| Excel 64-bit |", "| focus EXCEL7 < XLMAIN |", "| dpi awareness ", "caret in EXCEL7 [150,140,151,159]",
        "paint; Excel 16.0; cell [250,240,314,259] (by caret 250,240, by pane 250,240 confirmed by Excel, by scale "
        "250,240)",
        "; erased [107,180,680,199]; drawn [107,240,250,259] [314,240,680,259]; ended"})
    EXPECT_NE(first.find(field), std::string::npos) << field << " in " << first;
  EXPECT_EQ(first.find("20"), 0u) << "a timestamp first";
  EXPECT_NE(log.find("failed 0x800a03ec"), std::string::npos) << "a failure with its HRESULT: " << log;
}

// Whether the "File" bar's gate still follows Excel today is not documented:
// the log tells each change of it, and marks a closed gate that Excel's own
// state does not explain.
TEST_F(BandOnScreen, TheDiagnosticsLogMarksAClosedGateWhileTheGridHasTheFocusAndExcelTakesInput) {
  DiagnosticsSwitch on(1);
  app->bars->gate->open = false;
  EXPECT_FALSE(band.CommandGateOpen());
  EXPECT_FALSE(band.CommandGateOpen()) << "read again, unchanged";
  EnableWindow(main.Get(), FALSE);
  app->bars->gate->open = true;
  EXPECT_TRUE(band.CommandGateOpen());
  app->bars->gate->open = false;
  EXPECT_FALSE(band.CommandGateOpen());
  EnableWindow(main.Get(), TRUE);
  const std::string log = DiagnosticsSwitch::Read(DiagnosticsLog::LogPath());
  const std::string marked = "gate closed; focus EXCEL7; Excel's main window enabled; closed with the grid focused";
  const std::string unmarked = "gate closed; focus EXCEL7; Excel's main window disabled\r\n";
  ASSERT_NE(log.find(marked), std::string::npos) << log;
  EXPECT_EQ(log.find(marked, log.find(marked) + 1), std::string::npos) << "an unchanged gate is told once: " << log;
  EXPECT_NE(log.find("gate open; focus EXCEL7; Excel's main window disabled"), std::string::npos) << log;
  EXPECT_NE(log.find(unmarked), std::string::npos) << "a modal dialog explains a closed gate: " << log;
}

TEST_F(BandOnScreen, TheDiagnosticsLogBeginsANewFilePastOneMegabyte) {
  DiagnosticsSwitch on(1);
  DiagnosticsLog log;
  log.Write("first");
  {
    FILE* f = _wfopen(DiagnosticsLog::LogPath().c_str(), L"ab");
    ASSERT_NE(f, nullptr);
    const std::string filler(DiagnosticsLog::kRollOverBytes, 'x');
    std::fwrite(filler.data(), 1, filler.size(), f);
    std::fclose(f);
  }
  log.Write("second");
  const std::string older = DiagnosticsSwitch::Read(DiagnosticsLog::LogPath() + L".1");
  const std::string newer = DiagnosticsSwitch::Read(DiagnosticsLog::LogPath());
  EXPECT_NE(older.find("first"), std::string::npos);
  EXPECT_EQ(newer.find("first"), std::string::npos);
  EXPECT_NE(newer.find("second"), std::string::npos);
  EXPECT_LT(newer.size(), 4096u);
}

TEST_F(BandOnScreen, AThousandPaintsLeaveNoGdiObjectBehind) {
  PaintAt("$C$5", kCaretAtC5);  // the first paint may fill the system's caches
  const long before = host::LiveGdiObjects();
  ASSERT_GT(before, 0);
  for (int i = 0; i < 1000; ++i) {
    if (i % 2) {
      PaintAt("$C$5", kCaretAtC5);
    } else {
      PaintAt("$C$8", kCaretAtC8);
    }
  }
  EXPECT_EQ(host::LiveGdiObjects(), before);
  EXPECT_EQ(Pixel(180, 190), static_cast<COLORREF>(kBand));  // the last paint drew at $C$5
}

}  // namespace
}  // namespace rowtint::win32
