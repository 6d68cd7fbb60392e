// Reading the host's absolute address texts ($A$1:$P$30, $C$5).
#pragma once

#include <string>

namespace rowtint::engine {

struct AddressHalves {
  std::string topLeft;      // $A$1
  std::string bottomRight;  // $P$30
};

// Splits a block address at its ":"; a one-cell address has none and fails.
AddressHalves SplitRangeAddress(const std::string& address);

// The text after the second "$" of a cell address: its row ("30" of $P$30).
std::string RowTextOf(const std::string& cellAddress);

}  // namespace rowtint::engine
