// The GDI objects this process holds. GetGuiResources answers 0 under Wine,
// so there every handle slot is probed instead: a handle whose upper word
// is 0 names its slot's object whatever its generation. A brush or DC that
// leaks adds one.
#pragma once

namespace rowtint::host {

long LiveGdiObjects();

}  // namespace rowtint::host
