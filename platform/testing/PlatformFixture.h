// File: platform/testing/PlatformFixture.h
//
// The GoogleTest fixture that puts every process-wide stand-in back to its initial
// state around each test (captured output, substituted process identity, overridden
// time zone and locale, and the other stand-ins' state as they are added).
//
//   class LoggerTest : public ios::testing::PlatformFixture {};
//
// Test code only: this header includes GoogleTest.
#pragma once

#include <gtest/gtest.h>

#include "platform/testing/PlatformReset.h"

namespace ios::testing {

class PlatformFixture : public ::testing::Test {
 protected:
  // Reset on construction and destruction, so that members of a derived fixture (scoped
  // overrides, captured output) take effect in between.
  PlatformFixture() { resetPlatform(); }
  ~PlatformFixture() override { resetPlatform(); }
};

}  // namespace ios::testing
