// What the user sees: the band's pixels combined with the host's through
// the raster operation, the active cell left alone, and no trace of an old
// band after the next move.
#include <gtest/gtest.h>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
using platform::Rect;
using sim::Pixel;

class BandPixelsTest : public SimTest {
 protected:
  void SetUp() override { Run({"set A5 Total", "set B5 WWWW", "set D5 12345", "set E5 MMMM", "set C5 88"}); }
  bool OnOutline(const Rect& r, int x, int y) {
    return x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1;
  }
  // Every pixel of the rectangle is what the raster operation makes of the host's pixel.
  template <class Rop>
  void ExpectBand(const Rect& r, const sim::FrameBuffer& content, Pixel brush, Rop rop) {
    int mismatches = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        const Pixel pen = OnOutline(r, x, y) ? 0 : brush;
        if (ScreenAt(x, y) != (rop(pen, content.Get(x, y)) & 0xFFFFFF)) ++mismatches;
      }
    EXPECT_EQ(mismatches, 0) << "in " << r;
  }
  int PixelsDifferingFromHost(const Rect& r) {
    const auto content = Desktop().ContentSnapshot();
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (ScreenAt(x, y) != content.Get(x, y)) ++n;
    return n;
  }
  int CountPixels(const Rect& r, Pixel p) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (ScreenAt(x, y) == p) ++n;
    return n;
  }
};

TEST_F(BandPixelsTest, PrimitiveColorsKeepDarkTextDark) {
  Run("select C5");
  const auto content = Desktop().ContentSnapshot();
  auto maskPen = [](Pixel p, Pixel d) { return p & d; };
  ExpectBand(S().LeftBandRect, content, 14600886, maskPen);
  ExpectBand(S().RightBandRect, content, 14600886, maskPen);
  // Under the band the text is still black and the background is the band colour.
  EXPECT_GT(CountPixels(S().LeftBandRect, 0x000000), 20 + 2 * (S().LeftBandRect.right - S().LeftBandRect.left));
  EXPECT_EQ(ScreenAt(S().LeftBandRect.left + 1, S().LeftBandRect.top + 1), 14600886u);
}

TEST_F(BandPixelsTest, InvertColorsTurnDarkTextLight) {
  S().RopMode = 14;
  Run("select C5");
  const auto content = Desktop().ContentSnapshot();
  auto mergePenNot = [](Pixel p, Pixel d) { return p | ~d; };
  ExpectBand(S().LeftBandRect, content, 14600886, mergePenNot);
  ExpectBand(S().RightBandRect, content, 14600886, mergePenNot);
  // The text's black pixels became white; none of the band's inside is black.
  const Rect inside{S().LeftBandRect.left + 1, S().LeftBandRect.top + 1, S().LeftBandRect.right - 1,
                    S().LeftBandRect.bottom - 1};
  EXPECT_EQ(CountPixels(inside, 0x000000), 0);
  EXPECT_GT(CountPixels(inside, 0xFFFFFF), 20);
}

TEST_F(BandPixelsTest, ActiveCellIsUntouched) {
  Run("select C5");
  // C5 spans x 168..232, y 200..220 on the default grid.
  EXPECT_EQ(PixelsDifferingFromHost({168, 200, 232, 220}), 0);
  EXPECT_EQ(S().LeftBandRect.right, 168);
  EXPECT_EQ(S().RightBandRect.left, 232);
}

TEST_F(BandPixelsTest, NoPixelOfTheOldBandRemainsAfterTheNextMove) {
  Run("select C5");
  const Rect oldBand = S().LastBandRect;
  ASSERT_GT(PixelsDifferingFromHost(oldBand), 1000);
  for (const char* move : {"select C9", "select H9", "select H3:I3", "select B12"}) {
    Run(move);
    EXPECT_EQ(PixelsDifferingFromHost(oldBand), 0) << move;
  }
}

TEST_F(BandPixelsTest, ScrollingMovesTheBandWhichTheNextTickErases) {
  Run({"select C10", "tick"});
  const Rect before = S().LastBandRect;
  Run("scroll 4 1");
  // The host scrolled the band's pixels up with its row (three rows, 60 pixels).
  const Rect moved{before.left, before.top - 60, before.right, before.bottom - 60};
  EXPECT_GT(PixelsDifferingFromHost(moved), 1000);
  Run("tick");
  EXPECT_EQ(S().LastBandRect, moved);
  // The one band on the screen is the new one: outside it nothing differs from the host.
  const auto content = Desktop().ContentSnapshot();
  int strays = 0;
  for (int y = 0; y < 800; ++y)
    for (int x = 0; x < 1280; ++x) {
      const bool inBand = x >= moved.left && x < moved.right && y >= moved.top && y < moved.bottom;
      if (!inBand && ScreenAt(x, y) != content.Get(x, y)) ++strays;
    }
  EXPECT_EQ(strays, 0);
}

TEST_F(BandPixelsTest, SwitchingOffLeavesTheHostsPicture) {
  Run({"select C5", "switch"});
  EXPECT_EQ(PixelsDifferingFromHost({0, 0, 1280, 800}), 0);
  Run("switch");
  EXPECT_GT(PixelsDifferingFromHost(S().LastBandRect), 1000);
}

TEST_F(BandPixelsTest, ResourcesGoBackOnEveryPath) {
  const char* script[] = {"select C5",      "select C1",
                          "select C31",     "select C32",
                          "select C10:E10", "select T10",
                          "paint",          "select-object",
                          "tick",           "paint",
                          "select D4",      "scroll 3 2",
                          "tick",           "resize 40 120 1000 700",
                          "switch",         "tick",
                          "switch",         "warm",
                          "wober",          "print",
                          "activate-sheet", "activate-workbook",
                          "gate off",       "tick",
                          "select E6"};
  for (const char* line : script) {
    Run(line);
    EXPECT_EQ(Desktop().OpenDcCount(), 0) << line;
    EXPECT_EQ(Desktop().OpenBrushCount(), 0) << line;
  }
}

}  // namespace
}  // namespace rowtint::testing
