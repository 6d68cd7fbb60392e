// Conversions between host values and the engine's integers, with the
// host language's rules: doubles round to the nearest integer, halves to
// the even neighbour, and a value that does not fit is an overflow.
#pragma once

#include <cstdint>
#include <string>

namespace rowtint::engine {

std::int32_t ToInt32(double value);
std::int16_t ToInt16(double value);

// The leading numeric part of a text ("16.0" gives 16, "9.5 beta" gives 9.5, "x" gives 0).
double LeadingNumber(const std::string& text);

// A whole text read as a number ("30" gives 30); anything else is a type mismatch.
double TextToNumber(const std::string& text);

// Plain decimal text only: an optional sign, digits with an optional
// fraction, surrounding blanks ignored. Anything else (the empty text, an
// exponent, a hexadecimal or a thousands separator) is a type mismatch.
double DecimalTextToNumber(const std::string& text);

}  // namespace rowtint::engine
