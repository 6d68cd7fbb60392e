// Reading the host's absolute address texts ($A$1:$P$30, $C$5).
#pragma once

#include <cstdint>
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

// The absolute address of a block, its corners given by row and column ($C$5:$E$9; $C$5 for one cell).
std::string BlockAddress(std::int32_t firstRow, std::int32_t firstColumn, std::int32_t lastRow,
                         std::int32_t lastColumn);

}  // namespace rowtint::engine
