#include "platform/foundation/Random.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "platform/testing/PlatformFixture.h"

namespace {

using ::testing::ElementsAre;

class RandomTest : public ios::testing::PlatformFixture {};

// A source that answers the listed numbers in turn and counts its calls.
struct Script {
  std::vector<std::uint32_t> values;
  std::size_t calls = 0;
  std::uint32_t operator()() { return values.at(calls++); }
};

TEST_F(RandomTest, UniformMapsScriptedDrawsBelowTheBoundToThemselves) {
  Script script{{0, 1, 2, 5}};
  ios::testing::ScopedRandomSource source(std::ref(script));
  EXPECT_EQ(ios::arc4random_uniform(3), 0u);
  EXPECT_EQ(ios::arc4random_uniform(3), 1u);
  EXPECT_EQ(ios::arc4random_uniform(3), 2u);
  EXPECT_EQ(ios::arc4random_uniform(3), 2u);  // 5 % 3
  EXPECT_EQ(script.calls, 4u);
}

TEST_F(RandomTest, UniformDiscardsDrawsThatWouldBiasTheResult) {
  // 2^32 = 3 * 1431655765 + 1: the single top value 0xFFFFFFFF is discarded for bound 3.
  Script script{{0xFFFFFFFFu, 7}};
  ios::testing::ScopedRandomSource source(std::ref(script));
  EXPECT_EQ(ios::arc4random_uniform(3), 1u);
  EXPECT_EQ(script.calls, 2u);
}

TEST_F(RandomTest, UniformOfZeroOrOneDrawsNothing) {
  Script script{{}};
  ios::testing::ScopedRandomSource source(std::ref(script));
  EXPECT_EQ(ios::arc4random_uniform(0), 0u);
  EXPECT_EQ(ios::arc4random_uniform(1), 0u);
  EXPECT_EQ(script.calls, 0u);
}

TEST_F(RandomTest, BufferAndDoubleComeFromTheSource) {
  Script script{{0x04030201u, 0x00000605u, 0xFFFFFFFFu, 0xFFFF0000u, 0u, 0u}};
  ios::testing::ScopedRandomSource source(std::ref(script));
  std::array<unsigned char, 6> bytes{};
  ios::arc4random_buf(bytes.data(), bytes.size());
  EXPECT_THAT(bytes, ElementsAre(1, 2, 3, 4, 5, 6));
  const double high = ios::drand48();
  EXPECT_LT(high, 1.0);
  EXPECT_GT(high, 0.9999999);
  EXPECT_EQ(ios::drand48(), 0.0);
}

TEST_F(RandomTest, SourcesNestAndTheSystemSourceComesBack) {
  {
    ios::testing::ScopedRandomSource outer([] { return 7u; });
    {
      ios::testing::ScopedRandomSource inner([] { return 9u; });
      EXPECT_EQ(ios::arc4random(), 9u);
    }
    EXPECT_EQ(ios::arc4random(), 7u);
  }
  // The system source: bounded draws stay below their bound.
  for (int i = 0; i < 100; ++i) EXPECT_LT(ios::arc4random_uniform(10), 10u);
  const double d = ios::drand48();
  EXPECT_GE(d, 0.0);
  EXPECT_LT(d, 1.0);
}

}  // namespace
