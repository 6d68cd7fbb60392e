// The operating system, settings store and form host the add-in's core works
// with inside Excel: bound once, when the first connection object is made,
// and kept for as long as the library stays loaded.
#pragma once

namespace rowtint::win32 {

void BindWin32Platform();

}  // namespace rowtint::win32
