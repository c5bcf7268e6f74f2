// File: tests/support/ManualDispatchFixture.h
//
// A fixture for timer and queue tests: the platform is reset, dispatch runs manually on
// the test thread, and elapsed() tells the manual clock's seconds since the test began.
#pragma once

#include <cstdint>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/Clock.h"
#include "platform/testing/PlatformFixture.h"

namespace ios::testing {

class ManualDispatchFixture : public PlatformFixture {
 protected:
  // Seconds since the test began, on the manual clock.
  [[nodiscard]] double elapsed() const {
    return static_cast<double>(clock::uptimeNanoseconds() - start_) / 1e9;
  }

  ManualDispatch dispatch_{0.0};
  std::uint64_t start_ = clock::uptimeNanoseconds();
};

}  // namespace ios::testing
