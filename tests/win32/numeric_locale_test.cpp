// Another add-in in Excel may switch the C runtime's locale to one with a
// decimal comma: the add-in's own reading of numbers must not change.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "engine/addin_settings.h"
#include "engine/numeric.h"
#include "platform/error.h"

namespace rowtint::engine {
namespace {

class NumericLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "German_Germany.1252") && !std::setlocale(LC_ALL, "de-DE"))
      GTEST_SKIP() << "no German locale on this system";
  }
  void TearDown() override { std::setlocale(LC_ALL, previous_.c_str()); }
  std::string previous_;
};

TEST_F(NumericLocale, ADecimalCommaLocaleChangesNothing) {
  // The runtime itself now reads "1.5" as 1: the locale is in force.
  ASSERT_EQ(std::strtod("1.5", nullptr), 1.0);
  EXPECT_EQ(TextToNumber("1.5"), 1.5);
  EXPECT_EQ(LeadingNumber("16.0"), 16);
  EXPECT_EQ(ToInt16(LeadingNumber("9.5")), 10);
  EXPECT_EQ(SettingTextToColor(" -2147483633 "), -2147483633);
  EXPECT_EQ(SettingTextToColor("12.5"), 12);
  EXPECT_THROW(SettingTextToColor("12,5"), platform::PlatformError);
}

}  // namespace
}  // namespace rowtint::engine
