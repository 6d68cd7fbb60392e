#include "live_gdi_objects.h"

#include <windows.h>

#include <cstdint>

namespace rowtint::host {

long LiveGdiObjects() {
  if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<long>(n);
  long live = 0;
  for (std::uintptr_t slot = 1; slot <= 0xFFFF; ++slot)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0) ++live;
  return live;
}

}  // namespace rowtint::host
