// The band on every renderer Excel may use: through the grid's DC where the
// screen shows that, else on layered overlays of the add-in's own; the check
// on the user's screen that picks between them; and the overlays' opacity.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/band_surfaces.h"
#include "engine/overlay_alpha.h"
#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
using platform::Rect;
using Renderer = sim::SimHost::Renderer;

// The highest opacity, at most 0.6, at which black text on white keeps 4.5 : 1 under the band.
TEST(OverlayAlpha, TheHighestOpacityThatKeepsBlackTextReadableOnWhite) {
  const struct {
    const char* name;
    platform::Color colour;
  } colours[] = {{"Wober", engine::kWoberColor},
                 {"Warm", engine::kWarmColor},
                 {"black", 0x000000},
                 {"white", 0xFFFFFF},
                 {"red", 0x0000FF},
                 {"green", 0x00FF00},
                 {"blue", 0xFF0000},
                 {"mid grey", 0x808080}};
  for (const auto& c : colours) {
    const std::uint8_t alpha = engine::OverlayAlpha(c.colour);
    const double contrast = engine::ContrastRatio(0x000000, engine::BlendedOver(c.colour, alpha, 0xFFFFFF));
    std::printf("%-9s alpha %3d/255 (%.3f), contrast %.2f : 1\n", c.name, alpha, alpha / 255.0, contrast);
    ASSERT_LE(alpha, engine::kMostOverlayAlpha) << c.name;
    EXPECT_GE(contrast, 4.5) << c.name;
    if (alpha < engine::kMostOverlayAlpha) {
      EXPECT_LT(engine::ContrastRatio(0x000000, engine::BlendedOver(c.colour, alpha + 1, 0xFFFFFF)), 4.5)
          << c.name << ": a higher opacity still readable";
    }
  }
  // White over white never hides anything: the cap holds.
  EXPECT_EQ(engine::OverlayAlpha(0xFFFFFF), engine::kMostOverlayAlpha);
  // The contrast of the extremes, as WCAG 2 defines it.
  EXPECT_NEAR(engine::ContrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
}

TEST(ApplyRop2, TheTwoTextModesOverEachChannel) {
  EXPECT_EQ(engine::ApplyRop2(platform::kR2MaskPen, 0xDECAB6, 0xFFFFFF), 0xDECAB6);
  EXPECT_EQ(engine::ApplyRop2(platform::kR2MaskPen, 0xDECAB6, 0x000000), 0x000000);
  EXPECT_EQ(engine::ApplyRop2(platform::kR2MergePenNot, 0xDECAB6, 0xFFFFFF), 0xDECAB6);
  EXPECT_EQ(engine::ApplyRop2(platform::kR2MergePenNot, 0xDECAB6, 0x000000), 0xFFFFFF);
  EXPECT_EQ(engine::ApplyRop2(platform::kR2CopyPen, 0x123456, 0xABCDEF), 0x123456);
}

// What the compositor shows of an overlay: Windows takes the fill as
// premultiplied bytes, round(alpha * P) each, and adds round((1 - alpha) * D)
// of the pixel beneath, except where a window above the overlay hides it.
TEST(SimCompositor, AddsThePixelBeneathToThePremultipliedBytesWhereNoWindowAboveHidesIt) {
  struct Case {
    const char* what;
    platform::Color fill;
    std::uint8_t alpha;
    sim::Pixel beneath, shown;
    bool hidden;
  } cases[] = {
      // Measured under Wine: what the premultiplied bitmap holds, and the blend over white.
      {"over white", 0xDECAB6, 128, 0xFFFFFF, 0xEEE4DA, false},
      {"over black", 0xDECAB6, 128, 0x000000, 0x6F655B, false},
      // A byte premultiplied to 0 (100/255 of 1), and 155/255 of 2 rounded to 1:
      // blending the unrounded share would give 2.
      {"a share rounded before it is added", 0x000001, 100, 0x000002, 0x000001, false},
      {"under another program's window", 0xDECAB6, 128, 0x000000, 0xFF00FF, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sim::SimDesktop desktop(200, 100);
    const auto main = desktop.CreateWindow("XLMAIN", 0, {0, 0, 200, 100}, [&](sim::FrameBuffer& fb, const Rect& clip) {
      fb.Fill({0, 0, 200, 100}, clip, c.beneath);
    });
    if (c.hidden)
      desktop.CreateWindow(
          "Other", 0, {40, 10, 60, 30},
          [](sim::FrameBuffer& fb, const Rect& clip) {
            fb.Fill({40, 10, 60, 30}, clip, 0xFF00FF);
          },
          sim::SimDesktop::Program::Other);
    desktop.PaintArea(desktop.Screen().Bounds());
    const auto overlay = desktop.CreateOverlay(main);
    ASSERT_TRUE(desktop.ShowOverlay(overlay, {10, 10, 90, 30}, c.fill, c.alpha));
    EXPECT_EQ(desktop.ShownAt({50, 20}), c.shown) << std::hex << desktop.ShownAt({50, 20});
    EXPECT_EQ(desktop.Screen().Get(50, 20), c.hidden ? 0xFF00FF : c.beneath) << "the windows' own pixels stay";
    EXPECT_EQ(desktop.ShownAt({95, 20}), c.beneath) << "outside the overlay";
  }
}

class SurfaceTest : public SimSessionTest {
 protected:
  void StartWith(const char* choice, Renderer renderer) {
    if (choice)
      session_.OwnKey().texts["Surface"] = choice;
    else
      session_.OwnKey().texts.erase("Surface");
    Run("start");
    Host().SetRenderer(renderer);
  }
  const engine::BandSurfaces& Surfaces() { return Band().Surfaces(); }
  std::vector<sim::SimDesktop::OverlayView> Shown() {
    std::vector<sim::SimDesktop::OverlayView> shown;
    for (const auto& o : Desktop().Overlays())
      if (o.visible) shown.push_back(o);
    return shown;
  }
  // What the user sees in the middle of the band's left part, and what a band there should look like.
  sim::Pixel SeenAtBand() {
    const Rect r = S().LeftBandRect;
    return Desktop().ShownAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }
  sim::Pixel BandOnWhite(bool overlay) {
    const auto colour = static_cast<platform::Color>(S().HighlightColor);
    return static_cast<sim::Pixel>(overlay ? engine::BlendedOver(colour, engine::OverlayAlpha(colour), 0xFFFFFF)
                                           : colour);
  }
};

// Every renderer with every choice: where the band ends up, what the checks
// counted, and that the user sees it wherever the screen can show it.
TEST_F(SurfaceTest, EachRendererWithEachChoiceShowsTheBandWhereTheScreenShowsIt) {
  struct Case {
    const char* choice;  // nullptr: no value
    Renderer renderer;
    bool onOverlay;  // after the ticks
    bool seen;
    int checks, missed;
  } cases[] = {
      {nullptr, Renderer::Gdi, false, true, 2, 0},      {"auto", Renderer::Composed, true, true, 2, 2},
      {"auto", Renderer::Flip, true, true, 2, 2},       {"grid", Renderer::Gdi, false, true, 0, 0},
      {"grid", Renderer::Composed, false, false, 0, 0}, {"grid", Renderer::Flip, false, false, 0, 0},
      {"overlay", Renderer::Gdi, true, true, 0, 0},     {"overlay", Renderer::Composed, true, true, 0, 0},
      {"overlay", Renderer::Flip, true, true, 0, 0},    {"nonsense", Renderer::Flip, true, true, 2, 2},
  };
  const char* names[] = {"gdi", "composed", "flip"};
  for (const Case& c : cases) {
    const std::string where =
        std::string(c.choice ? c.choice : "(none)") + " on " + names[static_cast<int>(c.renderer)];
    SCOPED_TRACE(where);
    StartWith(c.choice, c.renderer);
    // The first tick after the start paints the band again where the selection
    // put it; the second checks, and the sixth.
    Run({"select C5", "tick 7"});
    EXPECT_EQ(!Shown().empty(), c.onOverlay);
    EXPECT_EQ(Surfaces().Checks(), c.checks);
    EXPECT_EQ(Surfaces().Missed(), c.missed);
    EXPECT_EQ(SeenAtBand() == BandOnWhite(c.onOverlay), c.seen) << std::hex << SeenAtBand();
    // A band on the overlay no raster operation touched the grid's pixels.
    if (c.onOverlay) {
      EXPECT_EQ(TintIn(Host().GridRect()), 0);
    }
  }
}

// The checks go on while the band stays on the grid: a renderer that stops
// showing it later is caught at the next checks; a single miss is not enough.
TEST_F(SurfaceTest, ChecksGoOnAndTwoMissesInARowMoveTheWindowsBandToTheOverlay) {
  StartWith(nullptr, Renderer::Gdi);
  Run({"select C5", "tick 10"});
  EXPECT_EQ(Surfaces().Checks(), 3) << "the first tick after the band's last paint, then every fourth";
  Host().SetRenderer(Renderer::Flip);
  Run("select C6");
  Run("tick");
  EXPECT_EQ(Surfaces().Missed(), 1);
  EXPECT_TRUE(Shown().empty()) << "one miss is not enough";
  Run("tick 4");
  EXPECT_EQ(Surfaces().Missed(), 2);
  ASSERT_EQ(Shown().size(), 2u);
  EXPECT_EQ(SeenAtBand(), BandOnWhite(true));
  Host().SetRenderer(Renderer::Gdi);
  Run({"select C8", "tick 5"});
  EXPECT_EQ(Shown().size(), 2u) << "for the rest of the connection";
  Run({"unload", "load", "select C9", "tick"});
  EXPECT_TRUE(Shown().empty()) << "a new connection checks afresh";
}

// Only where the grid itself shows is a pixel read: another program's window
// over the band is no sign that the grid fails to show it.
TEST_F(SurfaceTest, ACheckReadsNoPixelUnderAnotherProgramsWindow) {
  StartWith(nullptr, Renderer::Flip);
  Run("select C10");
  const Rect band = S().LastBandRect;
  Run({"cover " + std::to_string(band.left - 5) + " " + std::to_string(band.top - 5) + " " +
           std::to_string(band.right + 5) + " " + std::to_string(band.bottom + 5),
       "tick 9"});
  EXPECT_EQ(Surfaces().Checks(), 0);
  EXPECT_TRUE(Shown().empty());
  Run({"uncover", "tick 9"});
  EXPECT_EQ(Shown().size(), 2u);
}

// The overlay follows the band wherever the grid surface's band would go.
TEST_F(SurfaceTest, TheOverlayFollowsTheBand) {
  StartWith("overlay", Renderer::Gdi);
  auto expectOverBand = [&](const std::string& why) {
    const auto shown = Shown();
    ASSERT_EQ(shown.size(), 2u) << why;
    EXPECT_EQ(shown[0].rect.top, S().LeftBandRect.top) << why;
    EXPECT_EQ(SeenAtBand(), BandOnWhite(true)) << why;
  };
  Run("select D9");
  expectOverBand("a selection");
  Run("wheel 3");
  expectOverBand("the wheel");
  EXPECT_EQ(S().LeftBandRect.top, 120 + 20 * 5);
  Run("resize 60 140 1000 700");
  expectOverBand("a resize");
  const Rect before = Shown()[0].rect;
  Host().MoveMainWindow(30, 20);
  Run("state");
  expectOverBand("the main window moved");
  EXPECT_EQ(Shown()[0].rect, (Rect{before.left + 30, before.top + 20, before.right + 30, before.bottom + 20}))
      << "moved with the main window, as soon as it moved";
  EXPECT_EQ(Shown()[0].rect.left, Host().GridRect().left + 7);
  Run({"click Switch"});
  EXPECT_TRUE(Shown().empty()) << "switched off";
  Run({"click Switch", "select D10", "click Warm"});
  expectOverBand("a preset");
  Run("select D1");
  EXPECT_TRUE(Shown().empty()) << "the view's first row has no band, and the one before goes";
  Run("select D10");
  expectOverBand("back where a band is drawn");
  EXPECT_EQ(Shown()[0].rect.top, S().LeftBandRect.top);
  Run({"edit begin", "tick"});
  Run({"edit end", "tick"});
  expectOverBand("after an edit");
  Run("unload");
  EXPECT_TRUE(Desktop().Overlays().empty()) << "no overlay window outlives the connection";
}

// Overlays are owned by the workbook's main window: above it in the
// z-order, under another workbook's window brought in front, gone with it.
TEST_F(SurfaceTest, EachWorkbooksOverlaysStandWithItsMainWindowAndGoWithIt) {
  StartWith("overlay", Renderer::Gdi);
  Run({"version 16.0", "select C5"});
  const auto firstMain = Host().MainWindow();
  ASSERT_EQ(Shown().size(), 2u);
  for (const auto& o : Desktop().Overlays()) EXPECT_EQ(o.owner, firstMain);
  Run({"workbook new", "select D7"});
  const auto secondMain = Host().MainWindow();
  int ofSecond = 0, ofFirstShown = 0;
  for (const auto& o : Desktop().Overlays()) {
    ofSecond += o.owner == secondMain;
    ofFirstShown += o.owner == firstMain && o.visible;
  }
  EXPECT_EQ(ofSecond, 2);
  EXPECT_EQ(ofFirstShown, 0) << "the first workbook's band was erased";
  // The first window's overlays lie under the second window, which covers them.
  Run({"workbook 1", "select C6", "workbook 2"});
  const Rect first = Shown().empty() ? Rect{} : Shown()[0].rect;
  EXPECT_EQ(Desktop().ShownAt({first.left + 2, first.top + 2}), Desktop().Screen().Get(first.left + 2, first.top + 2))
      << "a window in front hides another's overlay";
  Run("workbook close 1");
  for (const auto& o : Desktop().Overlays()) EXPECT_NE(o.owner, firstMain);
}

}  // namespace
}  // namespace rowtint::testing
