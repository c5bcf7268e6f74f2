#include "platform/foundation/Random.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

TEST(Random, ScopedSourceFeedsEveryFunctionAndNests) {
  std::vector<std::uint32_t> words = {0xFFFFFFFF, 0x80000000, 7, 0x01020304, 0x05060708};
  std::size_t next = 0;
  ios::testing::ScopedRandomSource source([&] { return words[next++ % words.size()]; });
  EXPECT_EQ(ios::arc4random(), 0xFFFFFFFFu);
  // Only values below 2^32 mod 3 = 1 are rejected for bound 3.
  EXPECT_EQ(ios::arc4random_uniform(3), 0x80000000u % 3);
  EXPECT_EQ(ios::arc4random_uniform(1), 0u);
  std::uint8_t bytes[6] = {};
  ios::arc4random_buf(bytes, sizeof bytes);  // 7, then 0x01020304 (first two bytes)
  EXPECT_EQ(bytes[0], 7);
  EXPECT_EQ(bytes[4], 0x04);
  EXPECT_EQ(bytes[5], 0x03);
  {
    ios::testing::ScopedRandomSource inner([] { return 0u; });
    EXPECT_EQ(ios::drand48(), 0.0);
  }
  // 0x05060708 then 0xFFFFFFFF: (0x05060708 << 16 | 0xFFFF) / 2^48
  EXPECT_DOUBLE_EQ(ios::drand48(), static_cast<double>((0x05060708ull << 16) | 0xFFFF) / 281474976710656.0);
}

TEST(Random, SystemSourceStaysInRange) {
  for (int i = 0; i < 1000; ++i) {
    EXPECT_LT(ios::arc4random_uniform(10), 10u);
    const double d = ios::drand48();
    EXPECT_GE(d, 0.0);
    EXPECT_LT(d, 1.0);
  }
}

}  // namespace
