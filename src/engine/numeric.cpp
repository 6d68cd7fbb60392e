#include "engine/numeric.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

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

std::string Trimmed(const std::string& text) {
  std::size_t b = 0, e = text.size();
  while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
  return text.substr(b, e - b);
}
}  // namespace

std::int32_t ToInt32(double value) { return ToInt<std::int32_t>(value); }
std::int16_t ToInt16(double value) { return ToInt<std::int16_t>(value); }

double LeadingNumber(const std::string& text) {
  std::string t = Trimmed(text);
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t digitsStart = i;
  while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i;
  }
  if (i == digitsStart) return 0;
  return std::strtod(t.substr(0, i).c_str(), nullptr);
}

double TextToNumber(const std::string& text) {
  std::string t = Trimmed(text);
  if (t.empty()) platform::Raise(err::kTypeMismatch, "Type mismatch");
  char* end = nullptr;
  double v = std::strtod(t.c_str(), &end);
  if (end != t.c_str() + t.size() || !std::isfinite(v)) platform::Raise(err::kTypeMismatch, "Type mismatch");
  return v;
}

}  // namespace rowtint::engine
