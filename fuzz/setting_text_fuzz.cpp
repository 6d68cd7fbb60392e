// The settings' text conversions take whatever the store holds: each either
// answers or refuses with the error its callers expect, and a colour that
// converts is written back as text that reads back as the same colour.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "engine/addin_settings.h"
#include "engine/numeric.h"
#include "fuzz_checks.h"

namespace {
using namespace rowtint;
using fuzz::AnswersOrRaises;
using fuzz::Check;
namespace err = platform::err;

// The text the add-in itself writes: an optional minus and digits without
// leading zeros, nothing else, within the 32-bit range.
bool IsWrittenForm(const std::string& t) {
  const std::size_t sign = !t.empty() && t[0] == '-' ? 1 : 0;
  const std::size_t digits = t.size() - sign;
  if (digits == 0 || digits > 10 || (t[sign] == '0' && (digits > 1 || sign))) return false;
  for (std::size_t i = sign; i < t.size(); ++i)
    if (t[i] < '0' || t[i] > '9') return false;
  std::int64_t v = 0;
  std::from_chars(t.data(), t.data() + t.size(), v);
  return v >= INT32_MIN && v <= INT32_MAX;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  // The host's version text may be anything: its leading number never fails.
  const double leading = engine::LeadingNumber(text);
  Check(!std::isnan(leading), "LeadingNumber gave NaN", text);

  double whole = 0;
  const bool isNumber =
      AnswersOrRaises([&] { whole = engine::TextToNumber(text); }, err::kTypeMismatch, err::kTypeMismatch, text);
  Check(!isNumber || std::isfinite(whole), "TextToNumber gave a value that is not finite", text);

  double decimal = 0;
  const bool isDecimal = AnswersOrRaises([&] { decimal = engine::DecimalTextToNumber(text); }, err::kTypeMismatch,
                                         err::kTypeMismatch, text);
  // Plain decimal text is a number as a whole, and the same one, and it is
  // also its own leading number.
  Check(!isDecimal || (isNumber && decimal == whole), "decimal text read differently as a whole number", text);
  Check(!isDecimal || leading == decimal, "decimal text has another leading number", text);

  platform::Color color = 0;
  const bool converts =
      AnswersOrRaises([&] { color = engine::SettingTextToColor(text); }, err::kTypeMismatch, err::kOverflow, text);
  Check(!converts || isDecimal, "a colour from text that is not plain decimal", text);
  Check(isDecimal == converts || std::fabs(decimal) >= 2147483647.5, "decimal text in range refused as a colour", text);
  if (converts) {
    Check(std::fabs(color - decimal) <= 0.5, "the colour is not the nearest whole number", text);
    const std::string written = engine::ColorToSettingText(color);
    Check(engine::SettingTextToColor(written) == color, "a written colour reads back differently", text);
    Check(!IsWrittenForm(text) || written == text, "text in the written form is not written back as it was", text);
  } else {
    Check(!IsWrittenForm(text), "text in the written form refused", text);
  }
  return 0;
}
