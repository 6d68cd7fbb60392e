// The band's arithmetic without any host: rectangles from the grid, the
// active cell's corner and its size, worked out by hand.
#include <gtest/gtest.h>

#include "engine/band_decision.h"
#include "engine/band_geometry.h"
#include "platform/error.h"

namespace rowtint::engine {
namespace {
using platform::Point;
using platform::Rect;

TEST(BandGeometry, RowHeightInPixelsIsThePointsAtTheResolutionLessTheGridlineAtTheZoom) {
  struct Case {
    double points;
    int dpi;
    double zoom;
    double pixels;
  } cases[] = {{15, 96, 1, 19}, {12.75, 96, 0.75, 12}, {15, 144, 1, 29}, {409, 96, 4, 2177.3333333333335}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(RowHeightPixels(c.points, c.dpi, c.zoom), c.pixels) << c.points;
}

TEST(BandGeometry, TheBandRunsFromTheInsetsToTheCellAndOnFromItsRightEdge) {
  struct Case {
    const char* name;
    Point cell;
    double rowHeight, cellWidth;
    BandRects band;
  } cases[] = {
      // Grid (100, 200, 900, 700), a 15-point row 48 points wide at 100 %.
      {"worked example", {300, 400}, 19, 64, {{107, 400, 300, 419}, {364, 400, 880, 419}, {107, 400, 880, 419}}},
      // Halves round to even: 12.5 down, 13.5 up.
      {"half pixels", {300, 400}, 12.5, 63.5, {{107, 400, 300, 412}, {364, 400, 880, 412}, {107, 400, 880, 412}}},
      {"cell past the right edge",
       {950, 400},
       19,
       64,
       {{107, 400, 880, 419}, {944, 400, 945, 419}, {107, 400, 945, 419}}},
      {"right part starting at the edge",
       {836, 400},
       19,
       64,
       {{107, 400, 836, 419}, {900, 400, 901, 419}, {107, 400, 901, 419}}},
      {"right part starting just inside",
       {835, 400},
       19,
       64,
       {{107, 400, 835, 419}, {899, 400, 880, 419}, {107, 400, 880, 419}}},
  };
  const Rect grid{100, 200, 900, 700};
  for (const auto& c : cases) {
    const BandRects band = PlaceBand(grid, c.cell, c.rowHeight, c.cellWidth);
    EXPECT_EQ(band.left, c.band.left) << c.name;
    EXPECT_EQ(band.right, c.band.right) << c.name;
    EXPECT_EQ(band.outer, c.band.outer) << c.name;
  }
}

TEST(BandGeometry, AnEdgeOutsideThe32BitRangeIsAnOverflow) {
  try {
    PlaceBand({0, 0, 800, 600}, {10, 10}, 19, 3e9);
    ADD_FAILURE() << "placed";
  } catch (const platform::PlatformError& e) {
    EXPECT_EQ(e.Number(), platform::err::kOverflow);
  }
}

TEST(BandGeometry, TheFitTestComparesWithoutRoundingOnBothSidesOfTheBottomMargin) {
  const Rect grid{100, 200, 900, 700};  // the margin ends at 680
  EXPECT_TRUE(BandFits(grid, 698, 19));
  EXPECT_FALSE(BandFits(grid, 699, 19));
  EXPECT_TRUE(BandFits(grid, 699, 19.5));
  EXPECT_FALSE(BandFits(grid, 680, 0));
}

TEST(BandGeometry, TheStripAfterAScrollIsAtLeastAsTallAsTheBandThatMoved) {
  const Rect band{47, 240, 1220, 259};
  EXPECT_EQ(ScrolledBandStrip(band, 300, 19), (Rect{47, 300, 1220, 319}));
  EXPECT_EQ(ScrolledBandStrip(band, 300, 17.4), (Rect{47, 300, 1220, 319})) << "rounded shorter, kept as tall";
  EXPECT_EQ(ScrolledBandStrip(band, 300, 25), (Rect{47, 300, 1220, 325})) << "a taller row takes its height";
  EXPECT_EQ(RowStrip({40, 120, 1240, 760}, 300, 19.5), (Rect{47, 300, 1220, 320}));
}

TEST(BandDecision, TheRowMustLieFromTheSecondVisibleRowToTheThirdLast) {
  // Visible rows 5 to 36, columns B to K.
  auto at = [](std::int32_t row, std::int32_t column) { return ViewPosition{row, 5, 36, column, 2, 11}; };
  struct Case {
    std::int32_t row, column;
    bool armed;
    PositionVerdict verdict;
  } cases[] = {
      {5, 3, true, PositionVerdict::GoOn},
      {4, 3, true, PositionVerdict::EndRun},
      {35, 3, true, PositionVerdict::GoOn},
      {36, 3, true, PositionVerdict::EndRun},
      {10, 12, true, PositionVerdict::EndRunAndDisarm},
      {10, 1, true, PositionVerdict::EndRunAndDisarm},
      {10, 12, false, PositionVerdict::GoOn},
      {10, 11, true, PositionVerdict::GoOn},
      {10, 2, true, PositionVerdict::GoOn},
  };
  for (const auto& c : cases)
    EXPECT_EQ(JudgePosition(at(c.row, c.column), c.armed), c.verdict) << c.row << " " << c.column << " " << c.armed;

  // The band itself keeps off the first row and the last two, and wants one row of at most two columns.
  EXPECT_FALSE(BandAllowed(5, 5, 36, 1, 1));
  EXPECT_TRUE(BandAllowed(6, 5, 36, 1, 1));
  EXPECT_TRUE(BandAllowed(34, 5, 36, 1, 2));
  EXPECT_FALSE(BandAllowed(35, 5, 36, 1, 1));
  EXPECT_FALSE(BandAllowed(10, 5, 36, 2, 1));
  EXPECT_FALSE(BandAllowed(10, 5, 36, 1, 3));
}

// In a frozen pane every row is whole: its last rows take a band too, and
// nothing below them does.
TEST(BandDecision, AFrozenPanesLastRowsAreInside) {
  const ViewPosition frozen{3, 1, 3, 2, 1, 11, true};
  EXPECT_EQ(JudgePosition(frozen, true), PositionVerdict::GoOn);
  EXPECT_EQ(JudgePosition(ViewPosition{4, 1, 3, 2, 1, 11, true}, true), PositionVerdict::EndRun);
  EXPECT_TRUE(BandAllowed(3, 1, 3, 1, 1, true));
  EXPECT_TRUE(BandAllowed(2, 1, 3, 1, 1, true));
  EXPECT_FALSE(BandAllowed(4, 1, 3, 1, 1, true));
  EXPECT_FALSE(BandAllowed(1, 1, 3, 1, 1, true)) << "the first visible row stays without";
  EXPECT_FALSE(BandAllowed(3, 1, 3, 1, 1, false)) << "a pane whose last row may be cut off";
}

}  // namespace
}  // namespace rowtint::engine
