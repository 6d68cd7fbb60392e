#include "platform/win32/module_lifetime.h"

#include <array>

namespace rowtint::win32 {
namespace {
std::array<volatile LONG, static_cast<std::size_t>(Lifetime::kCount)> g_counts{};
HINSTANCE g_instance = nullptr;

volatile LONG& Count(Lifetime what) { return g_counts[static_cast<std::size_t>(what)]; }
}  // namespace

void Hold(Lifetime what) noexcept { InterlockedIncrement(&Count(what)); }
void Let(Lifetime what) noexcept { InterlockedDecrement(&Count(what)); }
long Held(Lifetime what) noexcept { return Count(what); }

bool AnythingAlive() noexcept {
  for (const auto& count : g_counts)
    if (count != 0) return true;
  return false;
}

HINSTANCE ModuleInstance() noexcept {
  if (!g_instance) {
    // Linked into a test program rather than loaded as the DLL: the module
    // that holds this very function.
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ModuleInstance), &g_instance);
  }
  return g_instance;
}

void SetModuleInstance(HINSTANCE instance) noexcept { g_instance = instance; }

}  // namespace rowtint::win32
