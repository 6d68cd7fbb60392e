// Start-up from the settings store, and the store's text conversions.
#include <gtest/gtest.h>

#include "engine/addin_settings.h"
#include "platform/error.h"
#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {

TEST(SettingText, ConversionsBothWays) {
  EXPECT_EQ(engine::ColorToSettingText(14600886), "14600886");
  EXPECT_EQ(engine::ColorToSettingText(engine::kEmptySwatchColor), "-2147483633");
  struct Case {
    const char* text;
    platform::Color color;
  } good[] = {{"14600886", 14600886}, {"-2147483633", -2147483633}, {"2147483647", 2147483647}, {" 255 ", 255},
              {"12.5", 12},           {"-2147483648", INT32_MIN}};
  for (const auto& c : good) EXPECT_EQ(engine::SettingTextToColor(c.text), c.color) << c.text;
  struct Bad {
    const char* text;
    std::int32_t error;
  } bad[] = {{"", 13}, {"red", 13}, {"0x10", 13}, {"1,5", 13}, {"2147483648", 6}, {"-2147483649", 6}};
  for (const auto& c : bad) {
    try {
      engine::SettingTextToColor(c.text);
      ADD_FAILURE() << c.text;
    } catch (const platform::PlatformError& e) {
      EXPECT_EQ(e.Number(), c.error) << c.text;
    }
  }
}

class StartupTest : public SimSessionTest {};

TEST_F(StartupTest, EmptyStoreGivesTheDefaultsAndAPlainRunSavesThem) {
  Run("start");
  EXPECT_EQ(S().HighlightColor, 14600886);
  EXPECT_EQ(S().HistoryColor1, engine::kEmptySwatchColor);
  EXPECT_EQ(S().HistoryColor2, engine::kEmptySwatchColor);
  EXPECT_EQ(S().HistoryColor3, engine::kEmptySwatchColor);
  EXPECT_FALSE(engine::IsTrue(S().HighlightOff));
  EXPECT_EQ(S().RopMode, 0);
  EXPECT_TRUE(engine::IsTrue(S().ColumnCheckArmed));
  EXPECT_EQ(TimerInterval(), 200u);
  EXPECT_EQ(S().ExcelMainWnd, Host().MainWindow());
  Run("shutdown");
  EXPECT_EQ(Setting("RGB", "RGB-bc"), "14600886");
  EXPECT_EQ(Setting("HIS", "his_color1"), "14600886");
  EXPECT_EQ(Setting("HIS", "his_color2"), "-2147483633");
  EXPECT_EQ(Setting("HIS", "his_color3"), "-2147483633");
}

TEST_F(StartupTest, StoredColourIsTheBandColour) {
  Run({"setting RGB RGB-bc 255", "select C5"});
  const auto drawn = Records().drawn;
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].color, 255);
}

TEST_F(StartupTest, EachMissingKeyTakesItsOwnDefault) {
  Run({"setting HIS his_color2 65280", "start"});
  EXPECT_EQ(S().HistoryColor1, engine::kEmptySwatchColor);
  EXPECT_EQ(S().HistoryColor2, 65280);
  EXPECT_EQ(S().HistoryColor3, engine::kEmptySwatchColor);
  EXPECT_EQ(S().HighlightColor, 14600886);
}

TEST_F(StartupTest, AnUnreadableColourTakesItsDefaultAndTheOtherKeysLoad) {
  Run({"setting RGB RGB-bc blue", "setting HIS his_color1 255", "setting HIS his_color3 65280", "start"});
  EXPECT_EQ(S().HighlightColor, 14600886);
  EXPECT_EQ(S().HistoryColor1, 255);
  EXPECT_EQ(S().HistoryColor2, engine::kEmptySwatchColor);
  EXPECT_EQ(S().HistoryColor3, 65280);
  EXPECT_NE(S().ExcelMainWnd, 0u) << "start-up went on to the main window";
  EXPECT_TRUE(TimerRunning());
  EXPECT_EQ(Popups().size(), 1u);
}

TEST_F(StartupTest, TheUsersValidKeysSurviveABadOneAStartAndAShutdown) {
  // Every way a stored text can fail to convert, each in the middle of valid neighbours.
  for (const char* bad : {"2147483648", "-2147483649", "red", "0x10", "1,5"}) {
    SCOPED_TRACE(bad);
    Run({"setting RGB RGB-bc 255", (std::string("setting HIS his_color1 ") + bad).c_str(),
         "setting HIS his_color2 65280", "setting HIS his_color3 16711680", "start", "shutdown"});
    EXPECT_EQ(Setting("RGB", "RGB-bc"), "255");
    // The band colour moves to the front; the bad entry came back as an empty slot and drops out.
    EXPECT_EQ(Setting("HIS", "his_color1"), "255");
    EXPECT_EQ(Setting("HIS", "his_color2"), "-2147483633");
    EXPECT_EQ(Setting("HIS", "his_color3"), "65280");
  }
}

TEST_F(StartupTest, AnEmptyStoredTextTakesItsDefault) {
  Run({"setting HIS his_color2 ", "setting HIS his_color3 255", "start"});
  EXPECT_EQ(S().HistoryColor2, engine::kEmptySwatchColor);
  EXPECT_EQ(S().HistoryColor3, 255);
  EXPECT_TRUE(TimerRunning());
}

TEST_F(StartupTest, NegativeValuesSurviveASaveAndALoad) {
  Run({"setting HIS his_color3 -2147483633", "setting HIS his_color2 -5", "start", "shutdown", "start"});
  EXPECT_EQ(S().HistoryColor3, -5) << "moved down one place behind the current colour";
  EXPECT_EQ(Setting("HIS", "his_color3"), "-5");
}

TEST_F(StartupTest, SwitchAndFontModeAreNotRestored) {
  Run({"start", "select C5", "click Option", "form click Opt_white", "form click cb_ok", "click Switch"});
  ASSERT_EQ(S().RopMode, 14);
  ASSERT_TRUE(engine::IsTrue(S().HighlightOff));
  Run({"shutdown", "start"});
  EXPECT_EQ(S().RopMode, 0);
  EXPECT_FALSE(engine::IsTrue(S().HighlightOff));
}

}  // namespace
}  // namespace rowtint::testing
