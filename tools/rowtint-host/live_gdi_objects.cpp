#include "live_gdi_objects.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace rowtint::host {
namespace {
// One entry of the shared handle table (the 64-bit layout, as on Windows).
struct HandleEntry {
  std::uint64_t object;
  std::uint16_t processId;
  std::uint16_t count;
  std::uint16_t unique;
  std::uint8_t type;
  std::uint8_t flags;
  std::uint64_t userPointer;
};
static_assert(sizeof(HandleEntry) == 24);
constexpr std::size_t kMaxHandles = 0x10000;
constexpr std::size_t kTableInPeb = sizeof(void*) == 8 ? 0xF8 : 0x94;
}  // namespace

long LiveGdiObjects() {
  if (sizeof(void*) != 8) return -1;
  // The TEB's pointer to the PEB sits at 0x60 on 64-bit Windows.
  const auto* teb = reinterpret_cast<const std::byte*>(NtCurrentTeb());
  const auto* peb = *reinterpret_cast<const std::byte* const*>(teb + 0x60);
  const auto* table = *reinterpret_cast<const HandleEntry* const*>(peb + kTableInPeb);
  if (!table) return -1;
  const auto self = static_cast<std::uint16_t>(GetCurrentProcessId());
  long live = 0;
  for (std::size_t i = 0; i < kMaxHandles; ++i)
    if (table[i].type != 0 && table[i].processId == self) ++live;
  return live;
}

}  // namespace rowtint::host
