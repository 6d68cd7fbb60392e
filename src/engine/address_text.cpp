#include "engine/address_text.h"

#include "platform/error.h"

namespace rowtint::engine {

AddressHalves SplitRangeAddress(const std::string& address) {
  auto colon = address.find(':');
  if (colon == std::string::npos) platform::Raise(platform::err::kInvalidCall, "Invalid procedure call or argument");
  return {address.substr(0, colon), address.substr(colon + 1)};
}

std::string RowTextOf(const std::string& cellAddress) {
  // The search starts at the second character, past the column's own "$".
  auto dollar = cellAddress.size() > 1 ? cellAddress.find('$', 1) : std::string::npos;
  if (dollar == std::string::npos) return cellAddress;
  return cellAddress.substr(dollar + 1);
}

}  // namespace rowtint::engine

namespace rowtint::engine {
namespace {
std::string CellText(std::int32_t row, std::int32_t column) {
  std::string letters;
  for (std::int32_t c = column; c > 0; c = (c - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
  return "$" + letters + "$" + std::to_string(row);
}
}  // namespace

std::string BlockAddress(std::int32_t firstRow, std::int32_t firstColumn, std::int32_t lastRow,
                         std::int32_t lastColumn) {
  std::string first = CellText(firstRow, firstColumn);
  if (firstRow == lastRow && firstColumn == lastColumn) return first;
  return first + ":" + CellText(lastRow, lastColumn);
}

}  // namespace rowtint::engine
