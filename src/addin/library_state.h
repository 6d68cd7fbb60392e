// The add-in library's own lifetime: what a fresh load of the library starts from.
#pragma once

namespace rowtint::addin {

// Every shared variable zero, False or empty, and no form instance.
void ResetLibraryState();

}  // namespace rowtint::addin
