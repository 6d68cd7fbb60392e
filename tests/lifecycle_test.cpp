// Connection, shut-down, unloading and loading again, as the host drives
// them: the settings store read at the start and written at the end, the
// colour history across runs, the toolbar and menu, the timer.
#include <gtest/gtest.h>

#include "addin/connect.h"
#include "engine/addin_settings.h"
#include "platform/error.h"
#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {

constexpr platform::Color kWober = 14600886, kWarm = 16366575;
constexpr platform::Color kPicked = 10 | 20 << 8 | 30 << 16, kLater = 200 | 40 << 8 | 90 << 16;

// What the store holds before a start (nullptr: nothing), what the add-in
// reads of it, and the history it writes at the shut-down: the band colour
// moved to the front.
struct StoreCase {
  const char* name;
  const char* stored[4];  // RGB-bc, his_color1..3
  platform::Color colour;
  platform::Color history[3];
  platform::Color saved[3];
  friend void PrintTo(const StoreCase& c, std::ostream* os) { *os << c.name; }
};

class StoreRoundTrip : public SimSessionTest, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(StoreRoundTrip, ReadAtTheStartAndWrittenAtTheShutdown) {
  const auto& c = GetParam();
  const char* keys[] = {"RGB RGB-bc ", "HIS his_color1 ", "HIS his_color2 ", "HIS his_color3 "};
  for (int i = 0; i < 4; ++i)
    if (c.stored[i]) Run(std::string("setting ") + keys[i] + c.stored[i]);
  Run("start");
  EXPECT_EQ(S().HighlightColor, c.colour);
  EXPECT_EQ(S().HistoryColor1, c.history[0]);
  EXPECT_EQ(S().HistoryColor2, c.history[1]);
  EXPECT_EQ(S().HistoryColor3, c.history[2]);
  // Whatever the store held, the start-up went on to the end.
  EXPECT_FALSE(S().HighlightOff);
  EXPECT_EQ(S().RopMode, 0);
  EXPECT_TRUE(S().ColumnCheckArmed);
  EXPECT_EQ(S().ExcelMainWnd, Host().MainWindow());
  EXPECT_EQ(TimerInterval(), 200u);
  EXPECT_EQ(Popups().size(), 1u);
  Run("shutdown");
  EXPECT_EQ(Setting("RGB", "RGB-bc"), std::to_string(c.colour));
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(Setting("HIS", "his_color" + std::to_string(i + 1)), std::to_string(c.saved[i]));
}

constexpr platform::Color E = engine::kEmptySwatchColor, D = kWober, R = 255, G = 65280, B = 16711680, N = 12345;
INSTANTIATE_TEST_SUITE_P(
    Stores, StoreRoundTrip,
    ::testing::Values(
        StoreCase{"Empty", {}, D, {E, E, E}, {D, E, E}},
        StoreCase{"EachMissingKeyTakesItsOwnDefault", {nullptr, nullptr, "65280"}, D, {E, G, E}, {D, E, G}},
        StoreCase{"AnUnreadableColour", {"blue", "255", nullptr, "65280"}, D, {R, E, G}, {D, R, E}},
        StoreCase{"AnEmptyText", {nullptr, nullptr, "", "255"}, D, {E, E, R}, {D, E, E}},
        StoreCase{"Negatives", {nullptr, nullptr, "-5", "-2147483633"}, D, {E, -5, E}, {D, E, -5}},
        // A stored text that does not convert, too large or no number at all (every other way is
        // the conversion's own test), among valid neighbours, which survive; the bad entry comes
        // back as an empty slot.
        StoreCase{"TooLarge", {"255", "2147483648", "65280", "16711680"}, R, {E, G, B}, {R, E, G}},
        StoreCase{"Words", {"255", "red", "65280", "16711680"}, R, {E, G, B}, {R, E, G}},
        // Text after the digits makes the whole value unreadable, not the number before it.
        StoreCase{"TextAfterTheDigits", {"255px", "65280 green", "12345", nullptr}, D, {E, N, E}, {D, E, N}},
        // The band colour goes to the front; met further back it moves up, the entries before it step down.
        StoreCase{"NewColour", {"255", "65280", "16711680", "12345"}, R, {G, B, N}, {R, G, B}},
        StoreCase{"SecondEntry", {"255", "65280", "255", "12345"}, R, {G, R, N}, {R, G, N}},
        StoreCase{"ThirdEntry", {"255", "65280", "16711680", "255"}, R, {G, B, R}, {R, G, B}},
        StoreCase{"AlreadyFirst", {"255", "255", "65280", "16711680"}, R, {R, G, B}, {R, G, B}},
        StoreCase{"FirstAndThird", {"255", "255", "65280", "255"}, R, {R, G, R}, {R, R, G}}),
    [](const auto& info) { return std::string(info.param.name); });

class LifecycleTest : public SimSessionTest {
 protected:
  // What a swatch of the form that is shown shows: a pixel inside it, clear of its caption.
  sim::Pixel Swatch(const char* name) {
    const auto centre = Forms().ControlCentre(*Forms().ActiveForm(), name);
    return ScreenAt(centre.x - 9, centre.y);
  }
  void PickInOptions(int r, int g, int b) {
    Run({"click Option", "pick " + std::to_string(r) + " " + std::to_string(g) + " " + std::to_string(b),
         "form click cb_Select", "form click cb_ok"});
  }
};

TEST_F(LifecycleTest, ThreeDifferentEntriesKeepTheirPlacesAcrossRestartsAndTheFormsUnload) {
  Run({"start", "warm", "shutdown", "start"});
  PickInOptions(10, 20, 30);
  Run({"shutdown", "start", "wober", "shutdown", "start", "click Option"});
  EXPECT_EQ(Setting("HIS", "his_color1"), std::to_string(kWober));
  EXPECT_EQ(Setting("HIS", "his_color2"), std::to_string(kPicked));
  EXPECT_EQ(Setting("HIS", "his_color3"), std::to_string(kWarm));
  EXPECT_EQ(Swatch("Lab_his1"), static_cast<sim::Pixel>(kWober));
  EXPECT_EQ(Swatch("Lab_his2"), static_cast<sim::Pixel>(kPicked));
  EXPECT_EQ(Swatch("Lab_his3"), static_cast<sim::Pixel>(kWarm));

  // Closing the window unloads the form: the history is what its swatches showed.
  Run("form close");
  PickInOptions(200, 40, 90);  // a fresh form; the history stays as it was
  Run("shutdown");
  EXPECT_EQ(Setting("RGB", "RGB-bc"), std::to_string(kLater));
  EXPECT_EQ(Setting("HIS", "his_color1"), std::to_string(kLater));
  EXPECT_EQ(Setting("HIS", "his_color2"), std::to_string(kWober));
  EXPECT_EQ(Setting("HIS", "his_color3"), std::to_string(kPicked));
  Run({"start", "click Option"});
  EXPECT_EQ(Swatch("Lab_his1"), static_cast<sim::Pixel>(kLater));
  EXPECT_EQ(Swatch("Lab_his2"), static_cast<sim::Pixel>(kWober));
  EXPECT_EQ(Swatch("Lab_his3"), static_cast<sim::Pixel>(kPicked));
}

TEST_F(LifecycleTest, ASavedFirstSwatchThatDiffersFromTheColourStaysAndCanBePicked) {
  Run({"setting RGB RGB-bc 255", "setting HIS his_color1 65280", "start", "select C5", "click Option"});
  EXPECT_EQ(Swatch("Lab_his1"), 0x00FF00u) << "the saved entry, not the current colour";
  EXPECT_EQ(Options()->BackColor(forms::option::kCurrentColor), 255);
  Run({"form click Lab_his1", "form click cb_ok"});
  EXPECT_EQ(S().HighlightColor, 65280);
  const auto band = S().LeftBandRect;
  EXPECT_EQ(ScreenAt(band.left + 2, band.top + 2), 0x00FF00u) << "the band in green over the white grid";
}

TEST_F(LifecycleTest, SwitchAndFontModeAreNotRestored) {
  Run({"start", "select C5", "click Option", "form click Opt_white", "form click cb_ok", "click Switch"});
  ASSERT_EQ(S().RopMode, 14);
  ASSERT_TRUE(S().HighlightOff);
  Run({"shutdown", "start"});
  EXPECT_EQ(S().RopMode, 0);
  EXPECT_FALSE(S().HighlightOff);
}

// Loading again within one run of the host keeps the library, and with it the
// band: start-up itself switches the band on and forgets the text mode.
TEST_F(LifecycleTest, StartUpSwitchesTheBandOnAndForgetsTheTextModeAfterAnUnload) {
  // The library stays loaded while the host keeps the connection object: the start-up resets what it held.
  Run({"start", "select C5", "click Option", "form click Opt_white", "form click cb_ok", "click Switch",
       "unload keep"});
  ASSERT_TRUE(S().HighlightOff);
  ASSERT_EQ(S().RopMode, 14);
  Run("load");
  EXPECT_FALSE(S().HighlightOff);
  EXPECT_EQ(S().RopMode, 0);
  Records();
  Run("select C6");
  EXPECT_EQ(Records().drawn.size(), 2u);
  EXPECT_EQ(NotBand(S().LeftBandRect), 0) << "drawn in the primitive mode again";
}

// A tick with a shape selected erases the band but leaves the switch as it was.
TEST_F(LifecycleTest, TheSwitchAfterATickThatOnlyErased) {
  Run({"start", "select C5", "select-object", "tick"});
  ASSERT_EQ(TintOutside(), 0);
  ASSERT_FALSE(S().HighlightOff);
  Run("click Switch");
  EXPECT_TRUE(S().HighlightOff) << "one click switches the band off";
  Run("select C6");
  EXPECT_EQ(TintOutside(), 0);
  Run({"click Switch", "select C7"});
  EXPECT_FALSE(S().HighlightOff);
  EXPECT_EQ(NotBand(S().LeftBandRect) + NotBand(S().RightBandRect), 0);
}

TEST_F(LifecycleTest, ShutdownKeepsTheToolbarAndTheNextRunRebindsIt) {
  Run({"start", "shutdown"});
  ASSERT_EQ(Toolbars().size(), 1u);
  EXPECT_TRUE(Popups().empty()) << "the popup is temporary";
  const auto toolbar = Toolbars()[0];
  Run({"start"});
  ASSERT_EQ(Toolbars().size(), 1u);
  EXPECT_EQ(Toolbars()[0], toolbar) << "no second toolbar";
  EXPECT_EQ(Popups().size(), 1u);
  Run({"select C5", "click Switch"});
  EXPECT_TRUE(S().HighlightOff) << "the old toolbar's buttons are bound again";
}

TEST_F(LifecycleTest, UnloadingRemovesToolbarAndMenuStopsTheTimerAndSavesNothing) {
  Run({"start", "warm"});
  // The host's other notifications change nothing.
  Records();
  session_.AddIn()->OnStartupComplete();
  session_.AddIn()->OnAddInsUpdate();
  EXPECT_TRUE(Records().invalidated.empty());
  Run("unload");
  EXPECT_FALSE(S().HostApp) << "no host reference outlives the connection";
  EXPECT_TRUE(Toolbars().empty());
  EXPECT_TRUE(Popups().empty());
  EXPECT_FALSE(TimerRunning());
  EXPECT_TRUE(session_.Settings().Values().empty());
  Run({"load"});
  EXPECT_EQ(Toolbars().size(), 1u);
  EXPECT_EQ(Popups().size(), 1u);
  EXPECT_EQ(S().HighlightColor, 14600886) << "loading again reads the store, not memory";
  Run({"unload", "load", "unload", "load"});
  EXPECT_EQ(Toolbars().size(), 1u);
  EXPECT_EQ(Popups().size(), 1u);
  EXPECT_TRUE(TimerRunning());
}

TEST_F(LifecycleTest, FailingSaveLeavesLaterKeysAndDeletesTheToolbar) {
  Run({"setting HIS his_color3 7", "start", "warm"});
  session_.Settings().FailWritesAfter(2);
  Run("shutdown");
  EXPECT_EQ(Setting("RGB", "RGB-bc"), "16366575");
  EXPECT_EQ(Setting("HIS", "his_color1"), "16366575");
  EXPECT_EQ(Setting("HIS", "his_color3"), "7") << "the write after the failing one is not made";
  EXPECT_TRUE(Toolbars().empty()) << "the flag stayed set, so disconnection deleted the toolbar";
  EXPECT_FALSE(TimerRunning());
  EXPECT_NE(Records().hostErrors.size(), 0u);
}

TEST_F(LifecycleTest, AnApplicationWithoutTheExcelInterfaceIsATypeMismatch) {
  class NotExcel : public platform::host::Object {
   public:
    std::string TypeName() override { return "Word"; }
    std::shared_ptr<platform::host::Range> AsRange() override { return nullptr; }
  };
  Run({"start", "unload"});
  const auto barsBefore = session_.Bars().bars.size();
  addin::Connect connect(session_.Library());
  try {
    connect.OnConnection(std::make_shared<NotExcel>(), platform::ext_cm_AfterStartup, nullptr);
    ADD_FAILURE() << "connection succeeded";
  } catch (const platform::PlatformError& e) {
    EXPECT_EQ(e.Number(), 13);
  }
  EXPECT_EQ(session_.Bars().bars.size(), barsBefore);
  EXPECT_FALSE(TimerRunning());
  EXPECT_FALSE(connect.RemovesToolbarOnDisconnection());
}

// The forms live in the add-in's library: what the user left on the options
// form lasts into a new connection while the library stays loaded (the host
// kept the old connection object), and goes with the library once the host
// let go of every object of it and COM freed it.
TEST_F(LifecycleTest, WhatTheUserLeftOnTheOptionsFormLastsAsLongAsTheLibrary) {
  struct Case {
    const char* unload;
    bool lasts;
  };
  for (const Case& c : {Case{"unload keep", true}, Case{"unload", false}}) {
    SCOPED_TRACE(c.unload);
    Run({"start", "click Option", "form move cb_Select", "form click Opt_white", "form click cb_cancel"});
    const auto owner = Options()->DialogOwnerWnd;
    ASSERT_NE(owner, 0u);
    Run({c.unload, "load", "click Option"});
    EXPECT_EQ(ControlOf(*Options(), "Opt_white").value, c.lasts);
    EXPECT_EQ(Options()->DialogOwnerWnd == owner, c.lasts);
    Run("form click cb_ok");
    EXPECT_EQ(S().RopMode, c.lasts ? platform::kR2MergePenNot : platform::kR2MaskPen)
        << "the mode the form shows when OK is clicked applies";
  }
}

// The timer belongs to a window of the add-in's own, which no host window's
// closing takes along; neither outlives its connection.
TEST_F(LifecycleTest, NoTimerNorItsWindowOutlivesItsConnection) {
  Run("start");
  ASSERT_EQ(Desktop().Timers().size(), 1u);
  const auto owner = Desktop().Timers()[0].owner;
  EXPECT_NE(owner, S().ExcelMainWnd);
  EXPECT_FALSE(Desktop().IsProcessWindow(owner) && Desktop().GetRootWindow(owner) == S().ExcelMainWnd);
  Run("select C6");
  EXPECT_EQ(Desktop().Timers().size(), 1u);
  EXPECT_EQ(Desktop().Timers()[0].owner, owner);
  Run("unload");
  EXPECT_TRUE(Desktop().Timers().empty());
  EXPECT_FALSE(Desktop().IsWindow(owner));

  Run("load");
  Band().StartRepaintTimer(300);
  Band().StartRepaintTimer(300);
  EXPECT_EQ(Desktop().Timers().size(), 1u) << "a second start replaces the first";
  Run("print");
  EXPECT_TRUE(Desktop().Timers().empty());
  Band().StartRepaintTimer(300);
  Run("shutdown");
  EXPECT_TRUE(Desktop().Timers().empty());
}

// Without its own window (none could be made) the timer runs under an
// identifier Windows hands out; once the window can be made, the next start
// stops that timer rather than leaving it running beside the new one.
TEST_F(LifecycleTest, ATimerStartedAgainUnderAnotherOwnerReplacesTheFirst) {
  Desktop().messageWindowsRefused = 1;
  Run("start");
  ASSERT_EQ(Desktop().Timers().size(), 1u);
  EXPECT_EQ(Desktop().Timers()[0].owner, 0u);
  Run("select C5");
  ASSERT_EQ(Desktop().Timers().size(), 1u);
  const auto owner = Desktop().Timers()[0].owner;
  EXPECT_NE(owner, 0u);
  EXPECT_EQ(Desktop().WindowClassName(owner), "RowtintTimers");
  EXPECT_EQ(Desktop().Timers()[0].intervalMs, 300u);
  Run("print");
  EXPECT_TRUE(Desktop().Timers().empty());
}

// Every path a user can take hands nothing back to the host as a failure
// (and, as after every line, leaves no handle open and no stray tint).
TEST_F(LifecycleTest, EveryPathReportsNothingToTheHost) {
  for (const char* line : {"start",
                           "select C5",
                           "click Option",
                           "form move cb_ok",
                           "pick 1 2 3",
                           "form click cb_Select",
                           "tick",
                           "form click cb_ok",
                           "click Switch",
                           "click Switch",
                           "click FindLastrow",
                           "click Wober",
                           "click Warm",
                           "click About",
                           "form click Label7",
                           "select-object",
                           "tick",
                           "shutdown",
                           "start",
                           "select D4",
                           "unload",
                           "load",
                           "select D5",
                           "select C1",
                           "select C31",
                           "select C32",
                           "select C10:E10",
                           "select T10",
                           "paint",
                           "select-object",
                           "tick",
                           "paint",
                           "select C9",
                           "select H9",
                           "select H3:I3",
                           "select B12",
                           "scroll 3 2",
                           "tick",
                           "resize 40 120 1000 700",
                           "switch",
                           "tick",
                           "switch",
                           "warm",
                           "wober",
                           "print",
                           "activate-sheet",
                           "activate-workbook",
                           "gate off",
                           "tick",
                           "select E6"}) {
    Run(line);
    EXPECT_TRUE(Records().hostErrors.empty()) << line;
  }
}

}  // namespace
}  // namespace rowtint::testing
