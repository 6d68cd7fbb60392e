// No tint stays where nothing will erase it: outside the band's own
// rectangle, after the add-in is unloaded, inside the add-in's own form; and
// a band colour that is a system colour paints as that colour.
#include <gtest/gtest.h>

#include <vector>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
using platform::Rect;
using sim::Pixel;

class BandTracesTest : public SimTest {
 protected:
  // Screen pixels that differ from what the host itself draws, outside `allowed`.
  int TintOutside(const Rect& allowed) {
    const auto content = Desktop().ContentSnapshot();
    int n = 0;
    for (int y = 0; y < 800; ++y)
      for (int x = 0; x < 1280; ++x) {
        const bool inside = x >= allowed.left && x < allowed.right && y >= allowed.top && y < allowed.bottom;
        if (!inside && ScreenAt(x, y) != content.Get(x, y)) ++n;
      }
    return n;
  }
  int TintAnywhere() { return TintOutside({}); }
  // Which pixels differ from the host's own drawing.
  std::vector<bool> TintMap() {
    const auto content = Desktop().ContentSnapshot();
    std::vector<bool> map(1280 * 800);
    for (int y = 0; y < 800; ++y)
      for (int x = 0; x < 1280; ++x) map[y * 1280 + x] = ScreenAt(x, y) != content.Get(x, y);
    return map;
  }
  // Pixels tinted now, not tinted in `before`, and outside `allowed`.
  int NewTintOutside(const std::vector<bool>& before, const Rect& allowed) {
    const auto now = TintMap();
    int n = 0;
    for (int y = 0; y < 800; ++y)
      for (int x = 0; x < 1280; ++x) {
        const bool inside = x >= allowed.left && x < allowed.right && y >= allowed.top && y < allowed.bottom;
        if (!inside && now[y * 1280 + x] && !before[y * 1280 + x]) ++n;
      }
    return n;
  }
};

TEST_F(BandTracesTest, AnActiveCellInTheFirstVisibleColumnKeepsItsPixels) {
  Run("select A5");
  // The caret sits on the grid's left edge: the left part is computed reversed.
  ASSERT_GT(S().LeftBandRect.left, S().LeftBandRect.right);
  const Rect cellStart{S().GridRect.left, S().LeftBandRect.top, S().GridRect.left + 7, S().LeftBandRect.bottom};
  EXPECT_EQ(TintOutside(S().LastBandRect), 0);
  EXPECT_EQ(TintOutside({}) - TintOutside(cellStart), 0) << "the active cell's first pixels are tinted";
  Run("select A9");
  EXPECT_EQ(TintOutside(S().LastBandRect), 0);
}

TEST_F(BandTracesTest, ACellLeftOfTheViewPaintsNothingOverTheRowHeaders) {
  Run({"select B10", "tick", "scroll 1 4", "tick"});  // the column check refuses once and disarms
  ASSERT_FALSE(engine::IsTrue(S().ColumnCheckArmed));
  const auto before = TintMap();
  Run({"paint", "paint"});
  ASSERT_LT(S().LeftBandRect.right, S().GridRect.left) << "the caret lies left of the grid";
  EXPECT_EQ(NewTintOutside(before, S().LastBandRect), 0);
  EXPECT_EQ(TintOutside(S().GridRect), 0) << "tint outside the grid window";
}

TEST_F(BandTracesTest, UnloadingErasesTheBand) {
  Run("select C5");
  ASSERT_GT(TintAnywhere(), 1000);
  Run("unload");
  EXPECT_EQ(TintAnywhere(), 0);
}

TEST_F(BandTracesTest, UnloadingAfterAnUnseenScrollErasesWhereTheBandMovedTo) {
  Run({"select C10", "tick", "scroll 4 1"});
  ASSERT_GT(TintAnywhere(), 1000);
  Run("unload");
  EXPECT_EQ(TintAnywhere(), 0);
  Run({"load", "select D12", "shutdown"});
  EXPECT_EQ(TintAnywhere(), 0) << "a host shut-down erases too";
}

TEST_F(BandTracesTest, ASystemColourBandPaintsInThatColour) {
  Run({"shutdown", "setting RGB RGB-bc -2147483633", "start", "select C5"});
  ASSERT_EQ(S().HighlightColor, -2147483633);
  const Rect& band = S().LeftBandRect;
  // R2_MASKPEN over the white grid shows the brush: the button face, not near-black.
  EXPECT_EQ(ScreenAt(band.left + 3, band.top + 3), sim::ResolveColor(platform::kColorBtnFace));
  EXPECT_EQ(S().HighlightColor, -2147483633) << "the stored colour stays the reference";
}

TEST_F(BandTracesTest, NoBandInsideTheAddInsOwnForm) {
  Run({"select C5", "click Option"});
  const platform::WindowHandle form = Forms().WindowOf(*Forms().ActiveForm());
  ASSERT_NE(form, 0u);
  const Rect formRect = Desktop().WindowRect(form);
  Records();
  Run({"paint", "tick", "paint"});
  EXPECT_TRUE(Records().drawn.empty());
  EXPECT_EQ(TintOutside({}), TintOutside(formRect)) << "tint inside the form";
  Run("form click cb_cancel");
  EXPECT_GT(TintOutside({}), 1000) << "the band is back once the form is gone";
}

TEST_F(BandTracesTest, ClosingEitherFormAnyWayLeavesNoHoleInTheBand) {
  struct Case {
    const char* open;
    const char* close;
  } cases[] = {{"click menu:About", "form click Label5"}, {"click menu:About", "form click Label7"},
               {"click menu:About", "form close"},        {"click Option", "form close"},
               {"click Option", "form click cb_ok"},      {"click Option", "form click cb_cancel"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.open) + " / " + c.close);
    // Row 20 lies under both forms, which open centred on the screen.
    Run("select C20");
    const Rect band = S().LastBandRect;
    const int tinted = TintAnywhere();
    ASSERT_GT(tinted, 1000);
    Run(c.open);
    const Rect form = Desktop().WindowRect(Forms().WindowOf(*Forms().ActiveForm()));
    ASSERT_LT(form.top, band.top);
    ASSERT_GT(form.bottom, band.bottom);
    Run(c.close);
    EXPECT_EQ(S().LastBandRect, band);
    EXPECT_EQ(TintAnywhere(), tinted) << "a hole where the form was";
    EXPECT_EQ(TintOutside(band), 0);
  }
}

}  // namespace
}  // namespace rowtint::testing
