#include <gtest/gtest.h>

#include "engine/addin_settings.h"
#include "engine/address_text.h"
#include "engine/band_choices.h"
#include "engine/numeric.h"
#include "platform/error.h"

namespace rowtint::engine {
namespace {

TEST(Numeric, DoublesRoundHalfToEven) {
  struct Case {
    double in;
    std::int32_t out;
  } cases[] = {{12.5, 12}, {13.5, 14}, {-2.5, -2}, {-3.5, -4}, {418.9999, 419}, {0.49, 0}, {2147483647.4, 2147483647}};
  for (const auto& c : cases) EXPECT_EQ(ToInt32(c.in), c.out) << c.in;
}

TEST(Numeric, OutOfRangeIsOverflow) {
  for (double v : {2147483647.5, -2147483649.0, 1e300}) {
    try {
      ToInt32(v);
      ADD_FAILURE() << v;
    } catch (const platform::PlatformError& e) {
      EXPECT_EQ(e.Number(), platform::err::kOverflow);
    }
  }
  EXPECT_THROW(ToInt16(32767.5), platform::PlatformError);
  EXPECT_EQ(ToInt16(32766.5), 32766);
}

TEST(Numeric, VersionTextGivesItsLeadingNumber) {
  EXPECT_EQ(LeadingNumber("16.0"), 16);
  EXPECT_EQ(LeadingNumber("9.0"), 9);
  EXPECT_EQ(LeadingNumber("12.0.4518"), 12);
  EXPECT_EQ(LeadingNumber("beta"), 0);
  EXPECT_EQ(ToInt16(LeadingNumber("9.5")), 10);
}

TEST(AddressText, RowTextFollowsTheSecondDollar) {
  const auto halves = SplitRangeAddress("$A$1:$P$30");
  EXPECT_EQ(halves.topLeft, "$A$1");
  EXPECT_EQ(halves.bottomRight, "$P$30");
  EXPECT_EQ(RowTextOf("$P$30"), "30");
  EXPECT_EQ(RowTextOf("$XFD$1048576"), "1048576");
  EXPECT_THROW(SplitRangeAddress("$A$1"), platform::PlatformError);
  EXPECT_THROW(TextToNumber("3x"), platform::PlatformError);
}

// The settings store's text: decimal both ways, any other text a type
// mismatch, a number past 32 bits an overflow.
TEST(SettingText, ConversionsBothWays) {
  EXPECT_EQ(ColorToSettingText(14600886), "14600886");
  EXPECT_EQ(ColorToSettingText(kEmptySwatchColor), "-2147483633");
  struct Case {
    const char* text;
    platform::Color color;
  } good[] = {{"14600886", 14600886}, {"-2147483633", -2147483633}, {"2147483647", 2147483647}, {" 255 ", 255},
              {"12.5", 12},           {"-2147483648", INT32_MIN}};
  for (const auto& c : good) EXPECT_EQ(SettingTextToColor(c.text), c.color) << c.text;
  struct Bad {
    const char* text;
    std::int32_t error;
  } bad[] = {{"", 13}, {"red", 13}, {"0x10", 13}, {"1,5", 13}, {"2147483648", 6}, {"-2147483649", 6}};
  for (const auto& c : bad) {
    try {
      SettingTextToColor(c.text);
      ADD_FAILURE() << c.text;
    } catch (const platform::PlatformError& e) {
      EXPECT_EQ(e.Number(), c.error) << c.text;
    }
  }
}

}  // namespace
}  // namespace rowtint::engine
