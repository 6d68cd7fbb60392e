// The options and About forms as the user works them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {

class OptionsFormTest : public SimTest {
 protected:
  void SetUp() override {
    Run({"select C5", "click Option"});
    Records();
  }
  std::shared_ptr<forms::OptionsForm> Form() { return Options(); }
  platform::Color Back(const char* control) { return ControlOf(*Form(), control).backColor; }
};

TEST_F(OptionsFormTest, FirstOpeningShowsTheColourInSwatchOneAndTheOthersEmpty) {
  EXPECT_EQ(Back("Lab_his1"), 14600886);
  EXPECT_EQ(Back("Lab_his2"), engine::kEmptySwatchColor);
  EXPECT_EQ(Back("Lab_his3"), engine::kEmptySwatchColor);
  EXPECT_TRUE(ControlOf(*Form(), "Opt_primi").value);
  EXPECT_FALSE(ControlOf(*Form(), "Opt_white").value);
  Run({"form click Lab_his2", "form click Lab_his3"});
  EXPECT_EQ(Back("new_color_lab"), 14600886) << "empty swatches change nothing";
  Run({"pick 1 1 1", "form click cb_Select", "form click Lab_his1"});
  EXPECT_EQ(Back("new_color_lab"), 14600886);
}

TEST_F(OptionsFormTest, ThePickedColourWaitsForOkAndCancelDropsIt) {
  Run({"pick 9 9 9", "form click cb_Select", "form click Label25"});
  EXPECT_EQ(S().HighlightColor, 14600886);
  Run("click Option");
  EXPECT_EQ(Back("new_color_lab"), 14600886) << "the next opening shows the colour again";
  Run({"pick 200 100 50", "form click Label23"});
  const platform::Color picked = 200 | 100 << 8 | 50 << 16;
  EXPECT_EQ(Back("new_color_lab"), picked);
  EXPECT_EQ(S().HighlightColor, 14600886);
  Run("form click Image2");  // any layer of OK
  EXPECT_EQ(S().HighlightColor, picked);
  EXPECT_EQ(Back("curr_color_lab"), 14600886) << "OK updates neither the current strip nor the swatches";
  EXPECT_EQ(Back("Lab_his1"), 14600886);
  EXPECT_EQ(Forms().ActiveForm(), nullptr);
}

TEST_F(OptionsFormTest, CancelledColourDialogChangesNothing) {
  Run({"pick cancel", "form click cb_Select"});
  EXPECT_EQ(Back("new_color_lab"), 14600886);
  EXPECT_FALSE(Desktop().ColorDialogShown());
  Run("form click cb_Select");  // no answer prepared: the dialog stays up, the timer keeps firing
  ASSERT_TRUE(Desktop().ColorDialogShown());
  Records();
  Run("tick");
  EXPECT_FALSE(Records().invalidated.empty()) << "the tick ran while the dialog was up";
  Run("pick cancel");
  EXPECT_FALSE(Desktop().ColorDialogShown());
  EXPECT_EQ(Back("new_color_lab"), 14600886);
}

TEST_F(OptionsFormTest, TheFontModeWaitsForOkAndOkSwitchesTheBandOnAndPaints) {
  Run({"form click Opt_white", "form click cb_cancel"});
  EXPECT_EQ(S().RopMode, 9) << "the painter's 9 stands until an OK";
  Run({"click Switch", "click Option"});
  Records();
  Run("form click cb_ok");
  EXPECT_EQ(S().RopMode, 14) << "chosen before the Cancel";
  EXPECT_FALSE(S().HighlightOff);
  const auto drawn = Records().drawn;
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].rop, 14);
  Run({"click Option", "form click Opt_primi", "form click cb_ok"});
  EXPECT_EQ(S().RopMode, 9);
}

TEST_F(OptionsFormTest, HoverPicturesShowOverTheirGroupAndHideOverTheBackground) {
  Run("form move Label24");
  EXPECT_TRUE(ControlOf(*Form(), "Image2").visible);
  Run("form move cb_cancel");
  EXPECT_TRUE(ControlOf(*Form(), "Image3").visible);
  EXPECT_TRUE(ControlOf(*Form(), "Image2").visible) << "moving onto another control keeps it";
  Run("form move background");
  EXPECT_FALSE(ControlOf(*Form(), "Image2").visible);
  EXPECT_FALSE(ControlOf(*Form(), "Image3").visible);
  Run({"form move cb_ok", "form click cb_ok", "click Option"});
  EXPECT_TRUE(ControlOf(*Form(), "Image2").visible) << "still shown at the next opening";
}

TEST_F(OptionsFormTest, ColourDialogStartsFullOpenWithBlackCustomColoursAndTheFormAsOwner) {
  Run("form move Image4");  // the owner is captured, the picture is not shown
  EXPECT_FALSE(ControlOf(*Form(), "Image4").visible);
  const auto owner = Form()->DialogOwnerWnd;
  EXPECT_EQ(owner, Forms().WindowOf(*Form()));
  Run({"form move cb_Select", "form click cb_Select", "pick cancel", "form click cb_Select", "pick cancel"});
  EXPECT_TRUE(ControlOf(*Form(), "Image4").visible);
  EXPECT_EQ(Form()->DialogOwnerWnd, owner) << "captured once";
  ASSERT_EQ(Desktop().colorDialogsSeen.size(), 2u);
  for (const auto& record : Desktop().colorDialogsSeen) {
    EXPECT_EQ(record.structSize, 36u);
    EXPECT_EQ(record.flags, 2u);
    EXPECT_EQ(record.owner, owner);
    EXPECT_EQ(record.result, 0);
  }
  for (platform::Color c : Desktop().lastCustomColors) EXPECT_EQ(c, 0) << "the second opening starts black again";
}

// What the swatches become at the unload is seen across restarts in the lifecycle tests.
TEST_F(OptionsFormTest, ClosingTheWindowUnloadsTheFormAndTheNextOpeningIsAFreshOne) {
  Run({"form click Opt_white", "form move Image4", "pick cancel", "form click cb_Select"});
  ASSERT_NE(Form()->DialogOwnerWnd, 0u);
  Run("form close");
  EXPECT_EQ(Options(), nullptr);
  Run("click Option");
  EXPECT_EQ(Back("Lab_his1"), 14600886) << "the history the closed form left";
  EXPECT_EQ(Back("Lab_his2"), engine::kEmptySwatchColor);
  EXPECT_TRUE(ControlOf(*Form(), "Opt_primi").value);
  EXPECT_EQ(Form()->DialogOwnerWnd, 0u);
}

TEST_F(OptionsFormTest, TheFormDrawsCentredOverTheSheetAndGoesAwayAtOk) {
  const auto window = Forms().WindowOf(*Form());
  const auto rect = Desktop().WindowRect(window);
  EXPECT_NEAR(rect.left + rect.right, 1280, 1);
  EXPECT_NEAR(rect.top + rect.bottom, 800, 1);
  // new_color_lab shows the pending colour inside the form's client area.
  const int x = rect.left + 3 + 120 / 15 + 5, y = rect.top + 22 + 1110 / 15 + 3;
  EXPECT_EQ(ScreenAt(x, y), 14600886u);
  Run({"pick 0 0 255", "form click cb_Select"});
  EXPECT_EQ(ScreenAt(x, y), 0xFF0000u);
  Run("form click cb_ok");
  EXPECT_NE(ScreenAt(x, y), 0xFF0000u) << "the sheet shows again where the form was";
}

// The form opens sized for the resolution of the monitor Excel is on, and
// centred; its controls lie where that resolution puts them.
TEST_F(OptionsFormTest, TheFormIsSizedForTheResolutionOfExcelsMonitor) {
  Run("form click cb_cancel");
  for (const int dpi : {96, 144}) {
    SCOPED_TRACE(dpi);
    Run({"window-dpi " + std::to_string(dpi), "click Option"});
    const auto rect = Desktop().WindowRect(Forms().WindowOf(*Form()));
    EXPECT_EQ(rect.right - rect.left - 2 * 3, Form()->ClientWidthTwips() * dpi / 1440);
    EXPECT_EQ(rect.bottom - rect.top - 22 - 3, Form()->ClientHeightTwips() * dpi / 1440);
    EXPECT_NEAR(rect.left + rect.right, 1280, 1);
    const int x = rect.left + 3 + 120 * dpi / 1440 + 5, y = rect.top + 22 + 1110 * dpi / 1440 + 3;
    EXPECT_EQ(ScreenAt(x, y), 14600886u) << "new_color_lab";
    Run("form click cb_cancel");
  }
}

class AboutFormTest : public SimTest {
 protected:
  void SetUp() override {
    Run({"select C5", "click About"});
    Records();
  }
};

// The two links: what each starts, and what a launcher that cannot start does.
TEST_F(AboutFormTest, TheLinksStartTheirProgramByItsFullPathOrTellTheHost) {
  constexpr const char* kMail = "mailto:support@rowtint.org?subject=Rowtint Support";
  struct Case {
    const char* link;
    bool launcherFails;
    const char* launched;     // the command line; nullptr: nothing started
    const char* application;  // the program started by its path; "" for what the shell opens
    const char* hostError;    // the click's outcome as the host saw it; nullptr: none
  } cases[] = {
      {"Label10", false, "\"C:\\Windows\\explorer.exe\" \"C:\\Users\\Ann Lee\\Add-ins, Excel\\Rowtint\"",
       "C:\\Windows\\explorer.exe", nullptr},
      {"Label10", true, nullptr, nullptr, "53 File not found"},
      {"Label3", false, kMail, "", nullptr},
      // No mail handler: the shell was asked, and nothing is shown or failed.
      {"Label3", true, kMail, "", nullptr},
  };
  Desktop().SetModuleFolder("C:\\Users\\Ann Lee\\Add-ins, Excel\\Rowtint");
  for (const auto& c : cases) {
    Desktop().processStartFails = c.launcherFails;
    Desktop().shellExecuteResult = c.launcherFails ? 31 : 42;
    Run(std::string("form click ") + c.link);
    const auto records = Records();
    const std::string what = std::string(c.link) + (c.launcherFails ? " failing" : "");
    if (c.launched) {
      ASSERT_EQ(records.launched.size(), 1u) << what;
      EXPECT_EQ(records.launched[0].commandText, c.launched) << what;
      EXPECT_EQ(records.launched[0].application, c.application) << what;
    } else {
      EXPECT_TRUE(records.launched.empty()) << what;
    }
    EXPECT_TRUE(records.messages.empty()) << what;
    if (c.hostError) {
      ASSERT_EQ(records.hostErrors.size(), 1u) << what;
      EXPECT_NE(records.hostErrors[0].find(c.hostError), std::string::npos) << what;
    } else {
      EXPECT_TRUE(records.hostErrors.empty()) << what;
    }
    EXPECT_NE(Forms().ActiveForm(), nullptr) << "the form stays up: " << what;
  }
}

TEST_F(AboutFormTest, HoverAndEveryLayerOfOkCloses) {
  auto form = About();
  EXPECT_FALSE(ControlOf(*form, "Image2").visible);
  Run("form move Label7");
  EXPECT_TRUE(ControlOf(*form, "Image2").visible);
  Run("form move Image1");
  EXPECT_TRUE(ControlOf(*form, "Image2").visible) << "the logo leaves it shown";
  Run("form move background");
  EXPECT_FALSE(ControlOf(*form, "Image2").visible);
  for (const char* layer : {"Label5", "Label7", "Image2"}) {
    if (!Forms().ActiveForm()) Run("click About");
    Run(std::string("form click ") + layer);
    EXPECT_EQ(Forms().ActiveForm(), nullptr) << layer;
    EXPECT_NE(About(), nullptr) << "hidden, not destroyed";
  }
  Run({"click About", "form close"});
  EXPECT_EQ(About(), nullptr);
}

// A script names a control by what it does as well as by its own name: the
// click by role lands on the control of that name, and does what it does.
class FormRolesTest : public SimTest {
 protected:
  struct Case {
    const char* open;                // the click that shows the form afresh
    std::vector<std::string> lines;  // the user's work on it, controls by role
    const char* what;                // what the user sees afterwards
    std::function<bool()> seen;
  };
  std::string LastLaunched() {
    const auto launched = Records().launched;
    return launched.empty() ? "" : launched.back().commandText;
  }
};

TEST_F(FormRolesTest, EachRoleDoesWhatItsControlDoes) {
  const platform::Color picked = 10 | 20 << 8 | 30 << 16;
  const std::vector<Case> cases = {
      {"click Option",
       {"pick 10 20 30", "form click select", "form click ok"},
       "the picked colour is the band's, the form gone",
       [=, this] { return S().HighlightColor == picked && !Forms().ActiveForm(); }},
      {"click Option",
       {"form click invert", "form click ok"},
       "\"Invert Colors Font\" confirmed",
       [this] { return S().RopMode == platform::kR2MergePenNot; }},
      {"click Option",
       {"form click primitive", "form click ok"},
       "\"Primitive Colors Font\" confirmed",
       [this] { return S().RopMode == platform::kR2MaskPen; }},
      {"click Option",
       {"form click history1", "form click new", "form click current", "form click cancel"},
       "the first swatch taken, then dropped with the form",
       [=, this] { return S().HighlightColor == picked && !Forms().ActiveForm(); }},
      {"click Option",
       {"form click history2", "form click history3"},
       "empty swatches give nothing: the new colour is still the band's",
       [=, this] { return ControlOf(*Options(), "new_color_lab").backColor == picked; }},
      {"click About",
       {"form click help"},
       "the file browser started on the add-in's folder",
       [this] { return LastLaunched().find("explorer.exe") != std::string::npos; }},
      {"click About",
       {"form click support"},
       "a mail to support",
       [this] { return LastLaunched().rfind("mailto:", 0) == 0; }},
      {"click About", {"form click ok"}, "the form gone", [this] { return !Forms().ActiveForm(); }},
  };
  for (const Case& c : cases) {
    if (Forms().ActiveForm()) Run("form close");
    Run(c.open);
    Records();
    Run(c.lines);
    EXPECT_TRUE(c.seen()) << c.open << ", " << c.lines.front() << ": " << c.what;
  }
}

TEST_F(FormRolesTest, EachRoleTakesThePointerToItsControl) {
  const struct {
    const char* open;
    const char* role;
    const char* control;
  } cases[] = {
      {"click Option", "ok", "cb_ok"},
      {"click Option", "cancel", "cb_cancel"},
      {"click Option", "select", "cb_Select"},
      {"click Option", "invert", "Opt_white"},
      {"click Option", "primitive", "Opt_primi"},
      {"click Option", "history1", "Lab_his1"},
      {"click Option", "history2", "Lab_his2"},
      {"click Option", "history3", "Lab_his3"},
      {"click Option", "new", "new_color_lab"},
      {"click Option", "current", "curr_color_lab"},
      {"click Option", "row", "Opt_row"},
      {"click Option", "column", "Opt_column"},
      {"click Option", "both", "Opt_both"},
      {"click About", "ok", "Label5"},
      {"click About", "help", "Label10"},
      {"click About", "support", "Label3"},
  };
  for (const auto& c : cases) {
    const std::string form = std::string(c.open) == "click Option" ? "fm_Option" : "fm_About";
    if (Forms().ActiveForm() && Forms().ActiveForm()->Name() != form) Run("form close");
    if (!Forms().ActiveForm()) Run(c.open);
    Run(std::string("form move ") + c.role);
    platform::Point pointer;
    Desktop().GetCursorPos(pointer);
    EXPECT_EQ(pointer, Forms().ControlCentre(*Forms().ActiveForm(), c.control)) << form << " " << c.role;
  }
}

TEST_F(FormRolesTest, ARoleOfTheOtherFormOrNoneIsAnErrorNamingIt) {
  const struct {
    const char* open;
    const char* line;
    const char* error;
  } cases[] = {
      {"click Option", "form click okay", "line 1: the form has no control 'okay'"},
      {"click Option", "form click help", "line 1: the form has no control 'help'"},
      {"click About", "form click history1", "line 1: the form has no control 'history1'"},
      {"click About", "form move cancel", "line 1: the form has no control 'cancel'"},
  };
  for (const auto& c : cases) {
    if (Forms().ActiveForm()) Run("form close");
    Run(c.open);
    EXPECT_EQ(ScriptErrorOf(std::string(c.line) + "\n"), c.error);
    EXPECT_NE(Forms().ActiveForm(), nullptr) << c.line << ": the form stays up";
  }
}

}  // namespace
}  // namespace rowtint::testing
