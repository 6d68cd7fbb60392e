// The guards of the library's function-local statics, in place of the C++
// runtime's. The statically linked runtime (win32 threads) guards them all
// with one recursive mutex it makes at the first such static: a kernel
// semaphore it never closes, so that each time COM frees the library and
// loads it again one handle more stays behind in Excel. These guards hold no
// kernel object: a static's own guard word tells whether it is made (its
// first byte, which the compiled code reads) and which thread is making it
// (its upper half); another thread that finds it being made yields until it
// is made or given up.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <exception>

// The guard is the 64-bit integer of the Itanium C++ ABI, as <cxxabi.h> declares it.
using Guard = std::int64_t;

namespace {
constexpr Guard kMade = 1;

Guard MadeBy(DWORD thread) { return static_cast<Guard>(static_cast<std::uint64_t>(thread) << 32); }
}  // namespace

extern "C" int __cxa_guard_acquire(Guard* guard) {
  std::atomic_ref<Guard> word(*guard);
  const Guard self = MadeBy(GetCurrentThreadId());
  for (;;) {
    Guard seen = 0;
    if (word.compare_exchange_strong(seen, self, std::memory_order_acquire)) return 1;
    if (seen & kMade) return 0;
    // Reached again while this thread makes it: the runtime's guard ends the
    // program here too, where waiting would never end.
    if (seen == self) std::terminate();
    SwitchToThread();
  }
}

extern "C" void __cxa_guard_release(Guard* guard) {
  std::atomic_ref<Guard>(*guard).store(kMade, std::memory_order_release);
}

extern "C" void __cxa_guard_abort(Guard* guard) { std::atomic_ref<Guard>(*guard).store(0, std::memory_order_release); }
