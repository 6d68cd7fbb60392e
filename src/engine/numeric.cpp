#include "engine/numeric.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "platform/error.h"

namespace rowtint::engine {
namespace err = platform::err;

namespace {
double RoundHalfEven(double value) {
  double floor = std::floor(value);
  double diff = value - floor;
  if (diff > 0.5) return floor + 1;
  if (diff < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

template <class Int>
Int ToInt(double value) {
  if (!std::isfinite(value)) platform::Raise(err::kOverflow, "Overflow");
  double r = RoundHalfEven(value);
  if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
      r > static_cast<double>(std::numeric_limits<Int>::max()))
    platform::Raise(err::kOverflow, "Overflow");
  return static_cast<Int>(r);
}

// The C library's classification and strtod follow the process's locale,
// which another add-in in the same host may change: these do not.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trimmed(std::string_view t) {
  while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
  while (!t.empty() && IsBlank(t.back())) t.remove_suffix(1);
  return t;
}

// Reads an optionally signed decimal number at the start of t; returns how
// many characters it took (0 when there is no number there).
std::size_t ReadNumber(std::string_view t, double& value) {
  const bool negative = !t.empty() && t.front() == '-';
  const std::size_t sign = !t.empty() && (t.front() == '-' || t.front() == '+') ? 1 : 0;
  if (sign < t.size() && !IsDigit(t[sign]) && t[sign] != '.') return 0;
  const char* first = t.data() + sign;
  const auto [end, ec] = std::from_chars(first, t.data() + t.size(), value, std::chars_format::general);
  if (ec == std::errc::invalid_argument) return 0;
  if (ec == std::errc::result_out_of_range) value = std::numeric_limits<double>::infinity();
  if (negative) value = -value;
  return static_cast<std::size_t>(end - t.data());
}
}  // namespace

std::int32_t ToInt32(double value) { return ToInt<std::int32_t>(value); }
std::int16_t ToInt16(double value) { return ToInt<std::int16_t>(value); }

double LeadingNumber(const std::string& text) {
  // Digits with at most one decimal point: "12.0.4518" is 12.0, and no exponent.
  std::string_view t = Trimmed(text);
  std::size_t i = !t.empty() && (t[0] == '+' || t[0] == '-') ? 1 : 0;
  const std::size_t digitsStart = i;
  while (i < t.size() && IsDigit(t[i])) ++i;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && IsDigit(t[i])) ++i;
  }
  if (i == digitsStart || (i == digitsStart + 1 && t[digitsStart] == '.')) return 0;
  double value = 0;
  ReadNumber(t.substr(0, i), value);
  return value;
}

double DecimalTextToNumber(const std::string& text) {
  const std::string_view t = Trimmed(text);
  std::size_t i = !t.empty() && (t[0] == '+' || t[0] == '-') ? 1 : 0;
  std::size_t digits = 0;
  for (; i < t.size() && IsDigit(t[i]); ++i) ++digits;
  if (i < t.size() && t[i] == '.')
    for (++i; i < t.size() && IsDigit(t[i]); ++i) ++digits;
  if (digits == 0 || i != t.size()) platform::Raise(err::kTypeMismatch, "Type mismatch");
  return TextToNumber(text);
}

double TextToNumber(const std::string& text) {
  const std::string_view t = Trimmed(text);
  double value = 0;
  if (t.empty() || ReadNumber(t, value) != t.size() || !std::isfinite(value))
    platform::Raise(err::kTypeMismatch, "Type mismatch");
  return value;
}

}  // namespace rowtint::engine
