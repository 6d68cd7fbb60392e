// A busy host: its calls fail at random with the set probability, the same
// ones for the same seed, and each failure takes the add-in's own path.
#include <gtest/gtest.h>

#include <vector>

#include "platform/error.h"
#include "platform/sim/host_faults.h"
#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {

std::vector<int> Failures(double probability, std::uint64_t seed, int calls) {
  sim::HostFaults faults;
  faults.Set(probability, seed);
  std::vector<int> failed;
  for (int i = 0; i < calls; ++i) {
    try {
      faults.MaybeFail();
    } catch (const platform::PlatformError& e) {
      EXPECT_TRUE(e.Number() == sim::HostFaults::kBusy || e.Number() == 1004) << e.Number();
      failed.push_back(i);
    }
  }
  EXPECT_EQ(faults.Injected(), failed.size());
  return failed;
}

TEST(HostFaults, SeededAtTheSetRateOffAtZeroAndTheSameForTheSameSeed) {
  const auto first = Failures(0.25, 42, 10000);
  EXPECT_NEAR(static_cast<double>(first.size()), 2500, 200);
  EXPECT_EQ(Failures(0.25, 42, 10000), first);
  EXPECT_NE(Failures(0.25, 43, 10000), first);
  EXPECT_TRUE(Failures(0, 42, 10000).empty());
  EXPECT_EQ(Failures(1, 7, 100).size(), 100u);
  // And so a whole run under faults, with all the add-in's paths, plays again the same.
  auto run = [](const char* faults) {
    simcli::SimSession session;
    std::ostringstream out;
    for (const char* line : {"start", faults, "select C5", "tick", "scroll 3 1", "tick", "click Warm", "select D9",
                             "click FindLastrow", "tick", "faults 0 0", "state"})
      session.RunLine(line, out);
    return out.str();
  };
  EXPECT_EQ(run("faults 0.3 77"), run("faults 0.3 77"));
  EXPECT_NE(run("faults 0.3 78"), run("faults 0.3 77"));
}

class FaultsTest : public SimSessionTest {};

TEST_F(FaultsTest, ABusyHostAtConnectionGetsItsErrorBackAndNothingElseHappens) {
  Run({"faults 1 5", "start"});
  const auto records = Records();
  ASSERT_EQ(records.hostErrors.size(), 1u);
  const std::string& error = records.hostErrors[0];
  EXPECT_TRUE(error == "OnConnection: -2146777998 Application busy" ||
              error == "OnConnection: 1004 Application-defined or object-defined error")
      << error;
  EXPECT_TRUE(records.messages.empty());
  EXPECT_TRUE(Toolbars().empty());
  EXPECT_TRUE(Popups().empty());
  EXPECT_FALSE(TimerRunning());
  EXPECT_FALSE(S().HostApp);
  Run("state");
  EXPECT_NE(lastOutput_.find("\"faults\":{\"probability\":1,\"injected\":"), std::string::npos) << lastOutput_;
  // Without the host's object a paint touches nothing.
  Run("faults 0 0");
  Records();
  Run("paint");
  const auto after = Records();
  EXPECT_TRUE(after.invalidated.empty());
  EXPECT_TRUE(after.drawn.empty());
}

TEST_F(FaultsTest, ASelectionWhileTheHostIsBusyOnlyRestartsTheTimer) {
  Run({"start", "select C5", "tick", "faults 1 9"});
  Records();
  Run("select C9");
  const auto records = Records();
  EXPECT_TRUE(records.invalidated.empty()) << "the painter ends at its first host call, before erasing";
  EXPECT_TRUE(records.drawn.empty());
  EXPECT_TRUE(records.hostErrors.empty()) << "the handler skips its failures";
  EXPECT_TRUE(S().RedrawWholeGrid) << "a test that cannot be evaluated counts as holding";
  EXPECT_EQ(TimerInterval(), 300u);
  Run({"faults 0 0", "select C10"});
  EXPECT_EQ(Records().invalidated.front(), Host().GridRect()) << "the whole grid, as asked for while busy";
  EXPECT_EQ(S().LastBandRect.top, S().GridRect.top + 9 * 20);
}

TEST_F(FaultsTest, AClickOnABusyHostFailsBackToIt) {
  Run({"start", "select C5", "faults 1 11", "click Switch"});
  const auto errors = Records().hostErrors;
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(errors[0] == "Click: -2146777998 Application busy" ||
              errors[0] == "Click: 1004 Application-defined or object-defined error")
      << errors[0];
  EXPECT_FALSE(S().HighlightOff);
}

}  // namespace
}  // namespace rowtint::testing
