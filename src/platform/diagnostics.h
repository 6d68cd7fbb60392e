// A log the user can switch on to tell why the band stands where it does on
// their machine: the add-in says what it did, the platform adds what it sees
// of the windows and a timestamp.
#pragma once

#include <string>

namespace rowtint::platform {

class Diagnostics {
 public:
  virtual ~Diagnostics() = default;
  // Whether the user has switched the log on; nothing is composed otherwise.
  virtual bool Enabled() = 0;
  // One line about an event or a paint.
  virtual void Write(const std::string& what) = 0;
};

// The log of a platform that keeps none.
class NoDiagnostics final : public Diagnostics {
 public:
  bool Enabled() override { return false; }
  void Write(const std::string&) override {}
};

}  // namespace rowtint::platform
