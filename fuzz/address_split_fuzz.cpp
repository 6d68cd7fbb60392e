// The visible range's address text, whatever the host hands over: the split
// either refuses a text without ":" or gives two halves that make up the
// text again, and the row text of a half reads as a number or is refused.
#include <cstdint>
#include <string>

#include "engine/address_text.h"
#include "engine/numeric.h"
#include "fuzz_checks.h"

namespace {
using namespace rowtint;
using fuzz::AnswersOrRaises;
using fuzz::Check;
namespace err = platform::err;

bool EndsWith(const std::string& text, const std::string& tail) {
  return tail.size() <= text.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// $P$30: "$", capital letters, "$", digits.
bool IsCellAddress(const std::string& t, std::string& rowDigits) {
  std::size_t i = 0;
  if (i >= t.size() || t[i++] != '$') return false;
  const std::size_t letters = i;
  while (i < t.size() && t[i] >= 'A' && t[i] <= 'Z') ++i;
  if (i == letters || i >= t.size() || t[i++] != '$') return false;
  const std::size_t digits = i;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
  if (i == digits || i != t.size()) return false;
  rowDigits = t.substr(digits);
  return true;
}

void CheckRowText(const std::string& cell, const std::string& input) {
  const std::string row = engine::RowTextOf(cell);
  Check(EndsWith(cell, row), "the row text is not the end of the cell's address", input);
  std::string digits;
  Check(!IsCellAddress(cell, digits) || row == digits, "the row text of a cell address is not its digits", input);
  // The painter reads it as a whole number.
  AnswersOrRaises([&] { engine::TextToNumber(row); }, err::kTypeMismatch, err::kTypeMismatch, input);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string address(reinterpret_cast<const char*>(data), size);
  const bool hasColon = address.find(':') != std::string::npos;
  engine::AddressHalves halves;
  const bool splits = AnswersOrRaises([&] { halves = engine::SplitRangeAddress(address); }, err::kInvalidCall,
                                      err::kInvalidCall, address);
  Check(splits == hasColon, "split refused or accepted against its colon", address);
  if (splits) {
    Check(halves.topLeft + ":" + halves.bottomRight == address, "the halves do not make up the address", address);
    Check(halves.topLeft.find(':') == std::string::npos, "not split at the first colon", address);
    CheckRowText(halves.topLeft, address);
    CheckRowText(halves.bottomRight, address);
  }
  CheckRowText(address, address);
  return 0;
}
