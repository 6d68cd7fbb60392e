// Puts the shared state into its starting condition at every connection.
#pragma once

namespace rowtint::engine {

// No failure is tolerated: the first failing step ends it and goes back to the caller.
void InitAddinState();

}  // namespace rowtint::engine
