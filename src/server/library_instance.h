// The add-in's library inside Excel: one per loaded Rowtint.dll, over the
// Windows services, made when the first connection object is and kept for
// as long as the library stays loaded.
#pragma once

#include "addin/library.h"

namespace rowtint::win32 {

addin::Library& LoadedLibrary();

}  // namespace rowtint::win32
