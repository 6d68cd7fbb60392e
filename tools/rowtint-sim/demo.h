#pragma once

#include <ostream>
#include <string>

namespace rowtint::simcli {

// The built-in scenario on a small table; writes PNG snapshots into outDir
// and prints the state after each of them.
void RunDemo(const std::string& outDir, std::ostream& out);

}  // namespace rowtint::simcli
