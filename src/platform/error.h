// The one way a failure travels through the system: a raised error carrying
// an error number and a description, as the host's automation errors do.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace rowtint::platform {

// Error numbers the system raises itself; host failures carry the host's own.
namespace err {
inline constexpr std::int32_t kInvalidCall = 5;
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kObjectNotSet = 91;
inline constexpr std::int32_t kNotSupported = 438;
inline constexpr std::int32_t kHostFailed = 1004;  // application-defined or object-defined error
}  // namespace err

class PlatformError : public std::runtime_error {
 public:
  PlatformError(std::int32_t number, std::string description)
      : std::runtime_error(description), number_(number), description_(std::move(description)) {}
  std::int32_t Number() const noexcept { return number_; }
  const std::string& Description() const noexcept { return description_; }

 private:
  std::int32_t number_;
  std::string description_;
};

[[noreturn]] inline void Raise(std::int32_t number, std::string description) {
  throw PlatformError(number, std::move(description));
}

// The object a reference holds, or the host language's "object not set" when it holds none.
template <class T>
T& Required(T* object) {
  if (!object) Raise(err::kObjectNotSet, "Object variable or With block variable not set");
  return *object;
}

template <class Pointer>
auto& Required(const Pointer& object) {
  return Required(object.get());
}

}  // namespace rowtint::platform
