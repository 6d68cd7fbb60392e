// A test over fakes: by its end every fake is gone (each reference the
// code under test took was released) and every COM object of the library
// it created (event sinks) is gone too.
#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "fake_dispatch.h"
#include "platform/error.h"
#include "platform/win32/module_lifetime.h"

namespace rowtint::win32::fakes {

class FakeHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fakesBefore_ = LiveFakes();
    objectsBefore_ = Held(Lifetime::ComObject);
  }
  void TearDown() override {
    EXPECT_EQ(LiveFakes(), fakesBefore_) << "a reference to a fake was never released";
    EXPECT_EQ(Held(Lifetime::ComObject), objectsBefore_) << "a COM object of the library outlived the test";
  }

 private:
  long fakesBefore_ = 0;
  long objectsBefore_ = 0;
};

// The error a call raised, or none.
template <class Body>
std::optional<platform::PlatformError> RaisedBy(Body&& body) {
  try {
    body();
  } catch (const platform::PlatformError& e) {
    return e;
  }
  return std::nullopt;
}

}  // namespace rowtint::win32::fakes
