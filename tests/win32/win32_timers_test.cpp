// Timers of the windowing system reach the core's callback through the
// trampoline, keyed by owner and identifier, and keep the library loaded.
#include <gtest/gtest.h>

#include <vector>

#include "platform/error.h"
#include "platform/win32/module_lifetime.h"
#include "platform/win32/win32_services.h"
#include "support/test_windows.h"

namespace rowtint::win32 {
namespace {
using testing::AsHandle;
using testing::PumpFor;
using testing::PumpUntil;
using testing::TestWindow;

// Which callback each tick reached.
std::vector<int> g_ticks;

class Recorder : public platform::TimerCallback {
 public:
  explicit Recorder(int name, bool raises = false) : name_(name), raises_(raises) {}
  void OnTimer() override {
    g_ticks.push_back(name_);
    if (raises_) platform::Raise(platform::err::kHostFailed, "the host refused");
  }

 private:
  int name_;
  bool raises_;
};
Recorder FirstProc(1), SecondProc(2), ThrowingProc(3, true);

class Win32Timers : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ticks.clear();
    ASSERT_EQ(Held(Lifetime::Timer), 0);
  }
  // A test that failed half-way leaves no timer behind for the next one.
  void TearDown() override {
    owner.Destroy();
    os.KillTimer(0, 0);
  }

  bool TickArrives() {
    return PumpUntil([] { return !g_ticks.empty(); }, 2000);
  }

  Win32Services os;
  TestWindow owner{L"RowtintTimerOwner", RECT{0, 0, 50, 50}, WS_POPUP};
};

TEST_F(Win32Timers, ASecondStartWithTheSameKeyReplacesTheFirst) {
  const auto hwnd = AsHandle(owner.Get());
  // Slow, then fast: ticks come at once, and only from the new callback.
  os.SetTimer(hwnd, 0, 60000, FirstProc);
  os.SetTimer(hwnd, 0, 10, SecondProc);
  EXPECT_EQ(Held(Lifetime::Timer), 1);
  ASSERT_TRUE(TickArrives());
  PumpFor(100);
  for (int tick : g_ticks) EXPECT_EQ(tick, 2);

  // Fast, then slow: the fast timer is gone.
  os.SetTimer(hwnd, 0, 60000, FirstProc);
  g_ticks.clear();
  PumpFor(200);
  EXPECT_TRUE(g_ticks.empty());
  EXPECT_EQ(Held(Lifetime::Timer), 1);
  os.KillTimer(hwnd, 0);
}

TEST_F(Win32Timers, ATickReachesItsCallbackAndKillTimerStopsTheTicksAndLetsTheLibraryGo) {
  const auto hwnd = AsHandle(owner.Get());
  ASSERT_NE(os.SetTimer(hwnd, 0, 10, FirstProc), 0u);
  ASSERT_TRUE(TickArrives());
  EXPECT_EQ(g_ticks[0], 1);
  EXPECT_EQ(Held(Lifetime::Timer), 1);
  EXPECT_TRUE(os.KillTimer(hwnd, 0));
  EXPECT_EQ(Held(Lifetime::Timer), 0);
  g_ticks.clear();
  PumpFor(200);
  EXPECT_TRUE(g_ticks.empty());
  // A second stop finds nothing and counts nothing down.
  EXPECT_FALSE(os.KillTimer(hwnd, 0));
  EXPECT_EQ(Held(Lifetime::Timer), 0);
}

TEST_F(Win32Timers, WithoutAnOwnerTheSystemsIdentifierIsTheKey) {
  const std::uintptr_t id = os.SetTimer(0, 0, 10, FirstProc);
  ASSERT_NE(id, 0u);
  ASSERT_TRUE(TickArrives());

  // Started again under that identifier, it is replaced, not doubled.
  EXPECT_EQ(os.SetTimer(0, id, 10, SecondProc), id);
  EXPECT_EQ(Held(Lifetime::Timer), 1);
  g_ticks.clear();
  ASSERT_TRUE(TickArrives());
  EXPECT_EQ(g_ticks[0], 2);

  EXPECT_TRUE(os.KillTimer(0, id));
  EXPECT_EQ(Held(Lifetime::Timer), 0);
  g_ticks.clear();
  PumpFor(100);
  EXPECT_TRUE(g_ticks.empty());
}

TEST_F(Win32Timers, EveryRunningTimerHoldsTheLibrary) {
  TestWindow other{L"RowtintTimerOwner", RECT{0, 0, 50, 50}, WS_POPUP};
  const auto a = AsHandle(owner.Get());
  const auto b = AsHandle(other.Get());
  os.SetTimer(a, 0, 60000, FirstProc);
  os.SetTimer(a, 7, 60000, FirstProc);
  os.SetTimer(b, 0, 60000, FirstProc);
  EXPECT_EQ(Held(Lifetime::Timer), 3);
  os.KillTimer(a, 7);
  EXPECT_EQ(Held(Lifetime::Timer), 2);

  // A destroyed owner takes its timers along; the hold goes at the next timer call.
  other.Destroy();
  os.KillTimer(a, 0);
  EXPECT_EQ(Held(Lifetime::Timer), 0);
  // A timer of an invalid owner neither starts nor holds.
  EXPECT_EQ(os.SetTimer(0xDEAD0, 0, 10, FirstProc), 0u);
  EXPECT_EQ(Held(Lifetime::Timer), 0);
}

TEST_F(Win32Timers, NothingEscapesTheTrampoline) {
  const auto hwnd = AsHandle(owner.Get());
  os.SetTimer(hwnd, 0, 10, ThrowingProc);
  // The message loop goes on dispatching ticks after a callback raised.
  EXPECT_TRUE(PumpUntil([] { return g_ticks.size() >= 3; }, 3000));
  os.KillTimer(hwnd, 0);
}

}  // namespace
}  // namespace rowtint::win32
