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
