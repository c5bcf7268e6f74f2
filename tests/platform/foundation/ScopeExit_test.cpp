#include "platform/foundation/ScopeExit.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(ScopeExit, RunsOnceOnNormalExitAndOnException) {
  int closed = 0;
  { ios::ScopeExit close([&] { ++closed; }); }
  EXPECT_EQ(closed, 1);
  EXPECT_THROW(
      {
        ios::ScopeExit close([&] { ++closed; });
        throw std::runtime_error("raised between the pair");
      },
      std::runtime_error);
  EXPECT_EQ(closed, 2);
}

TEST(ScopeExit, ReleasedActionDoesNotRun) {
  int closed = 0;
  {
    ios::ScopeExit close([&] { ++closed; });
    close.release();
  }
  EXPECT_EQ(closed, 0);
}

}  // namespace
