#pragma once

#include <ostream>
#include <string>

namespace rowtint::simcli {

// The built-in scenario on a small table; writes PNG snapshots into outDir
// and prints a line for each: the file and what it shows.
void RunDemo(const std::string& outDir, std::ostream& out);

}  // namespace rowtint::simcli
