// The shrinker keeps what makes a script fail and drops the rest.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/shrink_script.h"

namespace rowtint::testing {
namespace {

bool HasInOrder(const Script& script, const std::string& first, const std::string& then) {
  auto a = std::find(script.begin(), script.end(), first);
  return a != script.end() && std::find(a, script.end(), then) != script.end();
}

TEST(ShrinkScript, KeepsOnlyTheLinesThatMakeItFail) {
  Script script;
  for (int i = 0; i < 300; ++i) script.push_back("line " + std::to_string(i));
  int runs = 0;
  const auto fails = [&](const Script& s) {
    ++runs;
    return HasInOrder(s, "line 17", "line 240") && HasInOrder(s, "line 240", "line 299");
  };
  EXPECT_EQ(ShrinkScript(script, fails), (Script{"line 17", "line 240", "line 299"}));
  EXPECT_LT(runs, 300);
}

TEST(ShrinkScript, StopsWhenItsRunsAreSpent) {
  Script script(100, "x");
  script[50] = "y";
  const auto shrunk = ShrinkScript(
      script, [](const Script& s) { return std::count(s.begin(), s.end(), "y") == 1; }, 3);
  EXPECT_LT(shrunk.size(), script.size());
  EXPECT_GT(shrunk.size(), 1u);
}

}  // namespace
}  // namespace rowtint::testing
