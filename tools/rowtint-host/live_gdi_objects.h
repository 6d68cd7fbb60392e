// The GDI objects this process holds. GetGuiResources is a stub under Wine,
// so they are counted in the shared handle table that the process
// environment block points to, as Windows' own tools count them: every
// entry in use whose owner is this process.
#pragma once

namespace rowtint::host {

// -1 when the table cannot be read.
long LiveGdiObjects();

}  // namespace rowtint::host
