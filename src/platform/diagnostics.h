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
  // What the platform knows of itself for a connection's first line: the
  // add-in's version and bitness, Windows' version and build, the monitors
  // and their dots per inch.
  virtual std::string Environment() = 0;
};

// The log of a platform that keeps none.
class NoDiagnostics final : public Diagnostics {
 public:
  bool Enabled() override { return false; }
  void Write(const std::string&) override {}
  std::string Environment() override { return {}; }
};

}  // namespace rowtint::platform
