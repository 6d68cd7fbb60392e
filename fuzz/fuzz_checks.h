// What a fuzz target does when a property fails: says which and aborts, so
// that libFuzzer keeps the input as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/error.h"

namespace rowtint::fuzz {

[[noreturn]] inline void Fail(const char* what, const std::string& input) {
  std::fprintf(stderr, "property failed: %s\ninput (%zu bytes): \"%s\"\n", what, input.size(), input.c_str());
  std::abort();
}

inline void Check(bool holds, const char* what, const std::string& input) {
  if (!holds) Fail(what, input);
}

// Runs a conversion that may refuse its input; a refusal must be one of the
// two error numbers the caller is prepared for. Returns whether it answered.
template <class Convert>
bool AnswersOrRaises(Convert&& convert, std::int32_t allowed1, std::int32_t allowed2, const std::string& input) {
  try {
    convert();
    return true;
  } catch (const platform::PlatformError& e) {
    if (e.Number() != allowed1 && e.Number() != allowed2) Fail("an unexpected error number", input);
    return false;
  }
}

}  // namespace rowtint::fuzz
