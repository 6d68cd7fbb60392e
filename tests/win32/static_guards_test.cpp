// The library's own guards of function-local statics: a static reached by
// several threads at once is made once and seen by each only when made, and
// one whose making threw is made at the next reach.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <stdexcept>

namespace {

std::atomic<int> g_slowMade{0};

// Its value is set only after a while, so that a thread let through before
// the making is done reads 0.
struct Slow {
  Slow() {
    ++g_slowMade;
    Sleep(100);
    value = 7;
  }
  int value = 0;
};

Slow& TheSlow() {
  static Slow slow;
  return slow;
}

struct Reached {
  const Slow* where = nullptr;
  int value = 0;
};

DWORD WINAPI Reach(LPVOID into) {
  auto* reached = static_cast<Reached*>(into);
  const Slow& slow = TheSlow();
  reached->where = &slow;
  reached->value = slow.value;
  return 0;
}

TEST(StaticGuards, AStaticReachedByFourThreadsAtOnceIsMadeOnceAndSeenMade) {
  constexpr int kThreads = 4;
  Reached reached[kThreads];
  HANDLE threads[kThreads];
  for (int i = 0; i < kThreads; ++i) {
    threads[i] = CreateThread(nullptr, 0, &Reach, &reached[i], 0, nullptr);
    ASSERT_NE(threads[i], nullptr);
  }
  EXPECT_EQ(WaitForMultipleObjects(kThreads, threads, TRUE, 10000), WAIT_OBJECT_0);
  for (HANDLE thread : threads) CloseHandle(thread);
  EXPECT_EQ(g_slowMade.load(), 1);
  for (const Reached& r : reached) {
    EXPECT_EQ(r.where, &TheSlow());
    EXPECT_EQ(r.value, 7);
  }
}

int g_flakyAttempts = 0;

struct Flaky {
  Flaky() {
    if (++g_flakyAttempts == 1) throw std::runtime_error("the first making fails");
  }
};

Flaky& TheFlaky() {
  static Flaky flaky;
  return flaky;
}

TEST(StaticGuards, AStaticWhoseMakingThrewIsMadeAtTheNextReachAndOnlyThen) {
  EXPECT_THROW(TheFlaky(), std::runtime_error);
  EXPECT_NO_THROW(TheFlaky());
  TheFlaky();
  EXPECT_EQ(g_flakyAttempts, 2);
}

}  // namespace
