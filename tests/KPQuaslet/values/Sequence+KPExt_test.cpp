#include "KPQuaslet/values/Sequence+KPExt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <numeric>
#include <forward_list>
#include <functional>
#include <limits>
#include <list>
#include <ranges>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "KPQuaslet/values/Collection+KPExt.h"
#include "platform/foundation/Random.h"
#include "platform/testing/PlatformFixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class SequenceKPExt : public ios::testing::PlatformFixture {};

const auto even = [](int x) { return x % 2 == 0; };

TEST_F(SequenceKPExt, QuantifiersOnEmptyAndNonEmptySequences) {
  const std::vector<int> empty;
  EXPECT_FALSE(kp::any(empty, even));
  EXPECT_TRUE(kp::all(empty, even));
  EXPECT_TRUE(kp::none(empty, even));
  const std::list<int> mixed{1, 2, 3};
  EXPECT_TRUE(kp::any(mixed, even));
  EXPECT_FALSE(kp::all(mixed, even));
  EXPECT_FALSE(kp::none(mixed, even));
  EXPECT_EQ(kp::count(mixed, even), 1);
}

TEST_F(SequenceKPExt, QuantifiersStopAtTheDecidingElement) {
  const std::vector<int> v{2, 3, 4, 5};
  int calls = 0;
  auto counting = [&](int x) {
    ++calls;
    return even(x);
  };
  EXPECT_FALSE(kp::all(v, counting));
  EXPECT_EQ(calls, 2);
  calls = 0;
  EXPECT_TRUE(kp::any(v, counting));
  EXPECT_EQ(calls, 1);
  calls = 0;
  EXPECT_EQ(kp::last(v, counting), 4);
  EXPECT_EQ(calls, 2);  // 5, then 4
}

TEST_F(SequenceKPExt, LastOnEveryKindOfSequence) {
  EXPECT_EQ(kp::last(std::vector<int>{1, 2, 3, 4}, even), 4);
  EXPECT_EQ(kp::last(std::vector<int>{1, 3}, even), std::nullopt);
  EXPECT_EQ(kp::last(std::forward_list<int>{1, 2, 3, 4, 5}, even), 4);  // copied, then scanned
  std::istringstream in("1 2 3 4 5");
  EXPECT_EQ(kp::last(std::views::istream<int>(in), even), 4);  // single pass
  EXPECT_EQ(kp::last(std::views::iota(1, 10) | std::views::filter(even), [](int x) { return x < 7; }), 6);
}

TEST_F(SequenceKPExt, FilteringAndIteration) {
  const std::vector<int> v{1, 2, 3, 4};
  EXPECT_THAT(kp::reject(v, even), ElementsAre(1, 3));
  int mapped = 0;
  EXPECT_THAT(kp::filtered(v, even,
                           [&](int x) {
                             ++mapped;
                             return std::to_string(x * 10);
                           }),
              ElementsAre("20", "40"));
  EXPECT_EQ(mapped, 2);  // only included elements are mapped

  std::vector<int> reversed;
  kp::forEachReversed(v, [&](int x) { reversed.push_back(x); });
  EXPECT_THAT(reversed, ElementsAre(4, 3, 2, 1));
  reversed.clear();
  kp::forEachReversed(std::forward_list<int>{1, 2, 3}, [&](int x) { reversed.push_back(x); });
  EXPECT_THAT(reversed, ElementsAre(3, 2, 1));

  std::vector<int> picked;
  kp::forEach(v, even, [&](int x) { picked.push_back(x); });
  EXPECT_THAT(picked, ElementsAre(2, 4));
}

TEST_F(SequenceKPExt, AccumulateListsRunningValues) {
  EXPECT_THAT(kp::accumulate(std::vector<int>{1, 2, 3}, 0, std::plus<>{}), ElementsAre(1, 3, 6));
  EXPECT_THAT(kp::accumulate(std::vector<int>{1, 2}, 10, std::plus<>{}), ElementsAre(11, 13));
  EXPECT_THAT(kp::accumulate(std::vector<int>{}, 10, std::plus<>{}), IsEmpty());
  EXPECT_THAT(kp::accumulate(std::vector<std::string>{"a", "b"}, std::string(">"),
                             [](const std::string& s, const std::string& x) { return s + x; }),
              ElementsAre(">a", ">ab"));
}

TEST_F(SequenceKPExt, ClosureExceptionsStopAndPropagate) {
  const std::vector<int> v{1, 2, 3};
  int calls = 0;
  auto failOnTwo = [&](int x) -> bool {
    ++calls;
    if (x == 2) throw std::runtime_error("two");
    return true;
  };
  EXPECT_THROW((void)kp::reject(v, failOnTwo), std::runtime_error);
  EXPECT_EQ(calls, 2);
  EXPECT_THROW(kp::forEach(v, failOnTwo, [](int) {}), std::runtime_error);
}

TEST_F(SequenceKPExt, ContainsAList) {
  const std::list<int> s{1, 2};
  EXPECT_TRUE(kp::contains(s, {}));
  EXPECT_FALSE(kp::contains(s, {2, 3}));
  EXPECT_TRUE(kp::contains(s, {2, 1, 2}));
}

TEST_F(SequenceKPExt, SumAndAverage) {
  EXPECT_EQ(kp::sum(std::vector<int>{}), 0);
  EXPECT_EQ(kp::sum(std::vector<int>{1, 2, 3}), 6);
  EXPECT_EQ(kp::sum(std::vector<double>{0.5, 0.25}), 0.75);
  EXPECT_EQ(kp::sum(std::list<std::int64_t>{INT64_MAX, -1, 1}), INT64_MAX);
  EXPECT_EQ(kp::average(std::vector<int>{1, 2}), 1.5);
  EXPECT_EQ(kp::average(std::vector<int>{}), 0.0);
  EXPECT_EQ(kp::average(std::vector<double>{}), 0.0);
  EXPECT_EQ(kp::average(std::vector<float>{1.0f, 2.0f}), 1.5f);
  EXPECT_EQ(kp::average(std::vector<std::uint64_t>{UINT64_MAX / 4, UINT64_MAX / 4}),
            static_cast<double>(UINT64_MAX / 4));
}

TEST_F(SequenceKPExt, IntegerTotalsThatOverflowStop) {
  EXPECT_DEATH((void)kp::sum(std::vector<std::int64_t>{INT64_MAX, 1}), "arithmetic overflow");
  EXPECT_DEATH((void)kp::sum(std::vector<std::uint8_t>{200, 100}), "arithmetic overflow");
  EXPECT_DEATH((void)kp::average(std::vector<std::int64_t>{INT64_MIN, -1}), "arithmetic overflow");
  EXPECT_DEATH((void)kp::average(std::vector<std::uint64_t>{UINT64_MAX}), "arithmetic overflow");
}

TEST_F(SequenceKPExt, SafeAccessCountsFromTheFirstElement) {
  const std::vector<int> v{10, 20, 30, 40, 50, 60, 70, 80};
  const std::span<const int> slice(v.data() + 5, 3);  // positions 5..<8
  struct Row {
    std::int64_t position;
    std::optional<int> whole;
    std::optional<int> part;
  };
  const Row rows[] = {{-1, std::nullopt, std::nullopt}, {0, 10, 60}, {2, 30, 80}, {3, 40, std::nullopt},
                      {8, std::nullopt, std::nullopt}};
  for (const Row& row : rows) {
    EXPECT_EQ(kp::safe(v, row.position), row.whole) << row.position;
    EXPECT_EQ(kp::safe(slice, row.position), row.part) << row.position;
  }
  EXPECT_EQ(kp::safe(std::list<int>{1, 2}, 1), 2);
  EXPECT_EQ(kp::safe(std::list<int>{1, 2}, 2), std::nullopt);
}

TEST_F(SequenceKPExt, RandomItemStaysInsideTheCollection) {
  EXPECT_EQ(kp::randomItem(std::vector<int>{}), std::nullopt);
  const std::vector<int> v{10, 20, 30, 40, 50, 60, 70, 80};
  const std::span<const int> slice(v.data() + 5, 3);
  for (std::uint32_t draw : {0u, 1u, 2u, 5u}) {
    ios::testing::ScopedRandomSource source([draw] { return draw; });
    EXPECT_EQ(kp::randomItem(slice), v[5 + draw % 3]) << draw;
  }
  for (int i = 0; i < 50; ++i) {
    const auto item = kp::randomItem(slice);
    ASSERT_TRUE(item);
    EXPECT_TRUE(*item == 60 || *item == 70 || *item == 80);
  }
}

}  // namespace

namespace {

TEST(CollectionKPExtParallel, EveryElementOnceOnAnyKindOfCollection) {
  std::vector<std::atomic<int>> visits(1000);
  std::vector<int> positions(1000);
  std::iota(positions.begin(), positions.end(), 0);
  kp::forEachInParallel(positions, [&](int i) { visits[static_cast<std::size_t>(i)].fetch_add(1); });
  for (const auto& v : visits) ASSERT_EQ(v.load(), 1);

  std::list<int> list{1, 2, 3, 4};
  std::atomic<int> total{0};
  kp::forEachInParallel(list, [&](int v) { total.fetch_add(v); });
  EXPECT_EQ(total.load(), 10);

  std::vector<int> empty;
  kp::forEachInParallel(empty, [](int) { FAIL() << "nothing to visit"; });
}

TEST(CollectionKPExtParallel, AThrowingBodyStopsTheRestAndReachesTheCaller) {
  // Every call throws, so each thread taking part runs at most one call.
  std::vector<int> values(100000, 1);
  std::atomic<int> calls{0};
  EXPECT_THROW(kp::forEachInParallel(values,
                                     [&](int) {
                                       calls.fetch_add(1);
                                       throw std::runtime_error("stop");
                                     }),
               std::runtime_error);
  EXPECT_LE(calls.load(), static_cast<int>(std::max(4u, std::thread::hardware_concurrency())) + 1);
}

}  // namespace
