#include "platform/foundation/Random.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <thread>
#include <vector>
#include <deque>

#include "platform/testing/PlatformFixture.h"

namespace {

using ::testing::ElementsAre;

// A source that answers the scripted values in order and counts the draws.
class Script {
 public:
  explicit Script(std::initializer_list<std::uint32_t> values) : values_(values) {}
  std::function<std::uint32_t()> source() {
    return [this] {
      ++draws_;
      if (values_.empty()) ADD_FAILURE() << "more draws than scripted";
      if (values_.empty()) return std::uint32_t{0};
      const std::uint32_t v = values_.front();
      values_.pop_front();
      return v;
    };
  }
  int draws() const { return draws_; }

 private:
  std::deque<std::uint32_t> values_;
  int draws_ = 0;
};

class RandomTest : public ios::testing::PlatformFixture {};

TEST_F(RandomTest, UniformAnswersScriptedValuesBelowTheBound) {
  Script script{4, 5, 0xFFFFFFFFu, 7};
  ios::testing::ScopedRandomSource scoped(script.source());
  EXPECT_EQ(ios::arc4random_uniform(5), 4u);
  EXPECT_EQ(ios::arc4random_uniform(5), 0u);  // 5 wraps to 0
  // 2^32 mod 3 is 1: the single top value would favour 0, so it is drawn again.
  EXPECT_EQ(ios::arc4random_uniform(3), 1u);
  EXPECT_EQ(script.draws(), 4);
}

TEST_F(RandomTest, BoundsZeroAndOneDrawNothing) {
  Script script{};
  ios::testing::ScopedRandomSource scoped(script.source());
  EXPECT_EQ(ios::arc4random_uniform(0), 0u);
  EXPECT_EQ(ios::arc4random_uniform(1), 0u);
  EXPECT_EQ(script.draws(), 0);
}

TEST_F(RandomTest, BufferAndDoubleReadTheSource) {
  Script script{0x04030201u, 0x0000BBAAu, 0x80000000u, 0};
  ios::testing::ScopedRandomSource scoped(script.source());
  std::array<unsigned char, 6> bytes{};
  ios::arc4random_buf(bytes.data(), bytes.size());
  EXPECT_THAT(bytes, ElementsAre(1, 2, 3, 4, 0xAA, 0xBB));
  EXPECT_EQ(ios::drand48(), 0.5);
  EXPECT_EQ(ios::drand48(), 0.0);
  ios::arc4random_buf(nullptr, 0);
}

TEST_F(RandomTest, SourcesNestAndReset) {
  Script outer{1, 2};
  Script inner{9};
  ios::testing::ScopedRandomSource a(outer.source());
  EXPECT_EQ(ios::arc4random(), 1u);
  {
    ios::testing::ScopedRandomSource b(inner.source());
    EXPECT_EQ(ios::arc4random(), 9u);
  }
  EXPECT_EQ(ios::arc4random(), 2u);
  ios::testing::resetRandomSource();
  for (int i = 0; i < 100; ++i) {
    EXPECT_LT(ios::arc4random_uniform(7), 7u);
    const double d = ios::drand48();
    EXPECT_GE(d, 0.0);
    EXPECT_LT(d, 1.0);
  }
}

TEST_F(RandomTest, OtherThreadsDrawFromTheScriptedSource) {
  std::atomic<std::uint32_t> next{0};
  ios::testing::ScopedRandomSource scoped([&] { return next++; });
  std::vector<std::thread> threads;
  std::vector<std::uint32_t> drawn(400);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 100; ++i) drawn[static_cast<std::size_t>(t * 100 + i)] = ios::arc4random();
    });
  }
  for (auto& thread : threads) thread.join();
  std::sort(drawn.begin(), drawn.end());
  for (std::uint32_t i = 0; i < 400; ++i) EXPECT_EQ(drawn[i], i);  // every value once
}

TEST_F(RandomTest, SystemSourceReachesEveryValueOfASmallBound) {
  std::array<int, 4> seen{};
  for (int i = 0; i < 400; ++i) ++seen[ios::arc4random_uniform(4)];
  for (int count : seen) EXPECT_GT(count, 0);
}

}  // namespace
