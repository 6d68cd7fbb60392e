// The colour history and the switch across the host's runs, the add-in's
// reloads and the options form's unload, read off the form's swatches on the
// screen and off the settings store.
#include <gtest/gtest.h>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {

constexpr platform::Color kWober = 14600886, kWarm = 16366575;
constexpr platform::Color kPicked = 10 | 20 << 8 | 30 << 16, kLater = 200 | 40 << 8 | 90 << 16;

class HistoryRoundTripTest : public SimSessionTest {
 protected:
  // What a swatch of the form that is shown shows: a pixel inside it, clear of its caption.
  sim::Pixel Swatch(const char* name) {
    const auto centre = Forms().ControlCentre(*Forms().ActiveForm(), name);
    return ScreenAt(centre.x - 9, centre.y);
  }
  void PickInOptions(int r, int g, int b) {
    Run({"click Option", ("pick " + std::to_string(r) + " " + std::to_string(g) + " " + std::to_string(b)).c_str(),
         "form click cb_Select", "form click cb_ok"});
  }
};

TEST_F(HistoryRoundTripTest, ThreeDifferentEntriesKeepTheirPlacesAcrossRestartsAndTheFormsUnload) {
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

TEST_F(HistoryRoundTripTest, ASavedFirstSwatchThatDiffersFromTheColourStaysAndCanBePicked) {
  Run({"setting RGB RGB-bc 255", "setting HIS his_color1 65280", "start", "select C5", "click Option"});
  EXPECT_EQ(Swatch("Lab_his1"), 0x00FF00u) << "the saved entry, not the current colour";
  EXPECT_EQ(Options()->BackColor(forms::option::kCurrentColor), 255);
  Run({"form click Lab_his1", "form click cb_ok"});
  EXPECT_EQ(S().HighlightColor, 65280);
  const auto band = S().LeftBandRect;
  EXPECT_EQ(ScreenAt(band.left + 2, band.top + 2), 0x00FF00u) << "the band in green over the white grid";
}

TEST_F(HistoryRoundTripTest, TheSwitchWorksAfterAnUnloadAndALoadInOneHostRun) {
  Run({"start", "select C5", "unload", "load", "select C7"});
  const auto band = S().LastBandRect;
  const auto tinted = [&] {
    const auto content = Desktop().ContentSnapshot();
    int n = 0;
    for (int y = band.top; y < band.bottom; ++y)
      for (int x = band.left; x < band.right; ++x) n += ScreenAt(x, y) != content.Get(x, y);
    return n;
  };
  ASSERT_GT(tinted(), 1000);
  Run("click Switch");
  EXPECT_TRUE(engine::IsTrue(S().HighlightOff));
  EXPECT_EQ(tinted(), 0) << "the new toolbar's Switch erased the band";
  Run("click Switch");
  EXPECT_GT(tinted(), 1000);
  EXPECT_EQ(Desktop().Timers().size(), 0u) << "switching on stops the timer until the next selection";
  Run("select C8");
  EXPECT_EQ(Desktop().Timers().size(), 1u);
}

}  // namespace
}  // namespace rowtint::testing
