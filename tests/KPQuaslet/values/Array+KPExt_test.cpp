#include "KPQuaslet/values/Array+KPExt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <any>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/foundation/Random.h"
#include "platform/testing/PlatformFixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Optional;
using ::testing::UnorderedElementsAre;

class ArrayKPExt : public ios::testing::PlatformFixture {};

TEST_F(ArrayKPExt, LenientAccess) {
  const std::vector<int> three{10, 20, 30};
  struct Row {
    std::int64_t index;
    std::optional<int> item;
    std::optional<std::int64_t> reverse;
  };
  const Row rows[] = {{-1, std::nullopt, std::nullopt}, {0, 10, 2}, {2, 30, 0}, {3, std::nullopt, std::nullopt}};
  for (const Row& row : rows) {
    EXPECT_EQ(kp::item(three, row.index), row.item) << row.index;
    EXPECT_EQ(kp::get(three, row.index), row.item) << row.index;
    EXPECT_EQ(kp::reverseIndex(three, row.index), row.reverse) << row.index;
  }
}

TEST_F(ArrayKPExt, GetWithAClosedRangeClampsBothEnds) {
  const std::vector<int> five{1, 2, 3, 4, 5};
  struct Row {
    std::int64_t lower, upper;
    std::vector<int> expected;
  };
  const Row rows[] = {
      {-2, 1, {1, 2}},
      {7, 9, {}},
      {-9, -1, {}},
      {1, 3, {2, 3, 4}},
      {4, 4, {5}},
      {0, INT64_MAX, {1, 2, 3, 4, 5}},
      {INT64_MIN, INT64_MAX, {1, 2, 3, 4, 5}},
      {5, INT64_MAX, {}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(kp::get(five, kp::ClosedRange(row.lower, row.upper)), row.expected)
        << row.lower << "..." << row.upper;
  }
  EXPECT_THAT(kp::get(std::vector<int>{}, kp::ClosedRange(0, 3)), IsEmpty());
}

TEST_F(ArrayKPExt, DecomposeTakeMaxAndStackOperations) {
  EXPECT_EQ(kp::decompose(std::vector<int>{}), std::nullopt);
  EXPECT_EQ(kp::decompose(std::vector<int>{7}), (kp::Decomposition<int>{7, {}}));
  EXPECT_EQ(kp::decompose(std::vector<int>{7, 8, 9}), (kp::Decomposition<int>{7, {8, 9}}));

  const std::vector<int> three{1, 2, 3};
  EXPECT_THAT(kp::takeMax(three, 10), ElementsAre(1, 2, 3));
  EXPECT_THAT(kp::takeMax(three, 2), ElementsAre(1, 2));
  EXPECT_THAT(kp::takeMax(three, 0), IsEmpty());
  EXPECT_THAT(kp::takeMax(three, -1), IsEmpty());

  std::vector<std::string> stack{"a", "b"};
  EXPECT_EQ(kp::pop(stack), "b");
  EXPECT_EQ(kp::pop(stack), "a");
  EXPECT_EQ(kp::pop(stack), std::nullopt);
}

TEST_F(ArrayKPExt, SwapsCheckTheirPositions) {
  std::vector<int> v{1, 2, 3};
  kp::safeSwap(v, 0, 5);
  kp::safeSwap(v, -1, 0);
  kp::safeSwap(v, 1, 1);
  EXPECT_THAT(v, ElementsAre(1, 2, 3));
  kp::safeSwap(v, 0, 2);
  EXPECT_THAT(v, ElementsAre(3, 2, 1));
  kp::swap(v, 0, 1);
  EXPECT_THAT(v, ElementsAre(2, 3, 1));
  EXPECT_DEATH(kp::swap(v, 0, 3), "Index out of range");
}

TEST_F(ArrayKPExt, PredicatesAndIteration) {
  const std::vector<int> v{1, 2, 5, 1};
  EXPECT_EQ(kp::indices(v, [](int x) { return x == 1; }), (std::vector<std::int64_t>{0, 3}));
  EXPECT_EQ(kp::indices(v, [](int x) { return x > 9; }), std::nullopt);
  EXPECT_EQ(kp::indices(std::vector<int>{}, [](int) { return true; }), std::nullopt);
  EXPECT_TRUE(kp::testAll(v, [](int x) { return x > 0; }));
  EXPECT_FALSE(kp::testAll(v, [](int x) { return x > 1; }));

  std::vector<std::string> seen;
  kp::forEachEnumerated(v, [&](std::int64_t i, int x) { seen.push_back(std::to_string(i) + ":" + std::to_string(x)); });
  EXPECT_THAT(seen, ElementsAre("0:1", "1:2", "2:5", "3:1"));
}

TEST_F(ArrayKPExt, TestAllIsBool) {
  EXPECT_TRUE(kp::testAll(std::vector<bool>{true, true}, true));
  EXPECT_FALSE(kp::testAll(std::vector<bool>{true, false}, true));
  EXPECT_TRUE(kp::testAll(std::vector<bool>{}, true));
  EXPECT_FALSE(kp::testAll(std::vector<std::any>{true, std::string("text")}, true));
  EXPECT_TRUE(kp::testAll(std::vector<std::any>{false, false}, false));
  EXPECT_FALSE(kp::testAll(std::vector<std::any>{1}, true));  // an integer is not a Bool
  EXPECT_FALSE(kp::testAll(std::vector<int>{1}, true));
  EXPECT_TRUE(kp::testAll(std::vector<int>{}, true));
  EXPECT_FALSE(kp::testAll(std::vector<std::optional<bool>>{true, std::nullopt}, true));
}

TEST_F(ArrayKPExt, CuttingAtTheFirstFailure) {
  const auto small = [](int x) { return x < 3; };
  struct Row {
    std::vector<int> input;
    std::vector<int> taken;
    std::vector<int> skipped;
  };
  const Row rows[] = {
      {{1, 2, 5, 1}, {1, 2}, {5, 1}},
      {{1, 2}, {1, 2}, {}},
      {{7, 1}, {}, {7, 1}},
      {{}, {}, {}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(kp::take(row.input, small), row.taken);
    EXPECT_EQ(kp::skip(row.input, small), row.skipped);
    std::vector<int> kept = row.input;
    kp::keep(kept, small);
    EXPECT_EQ(kept, row.taken);
  }
  // A throwing predicate leaves the array as it was.
  std::vector<int> v{1, 2, 3};
  EXPECT_THROW(kp::keep(v,
                        [](int x) -> bool {
                          if (x == 2) throw std::runtime_error("no");
                          return true;
                        }),
               std::runtime_error);
  EXPECT_THAT(v, ElementsAre(1, 2, 3));
}

TEST_F(ArrayKPExt, ChunkBoundaries) {
  using Chunks = std::vector<std::vector<int>>;
  struct Row {
    const char* name;
    std::vector<int> input;
    std::int64_t size;
    std::optional<Chunks> groups;
  };
  const Row rows[] = {
      {"remainder", {1, 2, 3, 4, 5}, 2, Chunks{{1, 2}, {3, 4}, {5}}},
      {"exact", {1, 2, 3, 4}, 2, Chunks{{1, 2}, {3, 4}}},
      {"one", {1, 2, 3}, 1, Chunks{{1}, {2}, {3}}},
      {"size equals count", {1, 2, 3}, 3, Chunks{{1, 2, 3}}},
      {"size above count", {1, 2, 3}, 4, Chunks{{1, 2, 3}}},
      {"largest size", {1, 2, 3}, INT64_MAX, Chunks{{1, 2, 3}}},
      {"zero size", {1, 2, 3}, 0, std::nullopt},
      {"negative size", {1, 2, 3}, -2, std::nullopt},
      {"empty array", {}, 2, std::nullopt},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(kp::group(row.input, row.size), row.groups) << row.name;
    Chunks visited;
    kp::forEach(row.input, row.size, [&](std::vector<int> chunk) { visited.push_back(std::move(chunk)); });
    EXPECT_EQ(visited, row.groups.value_or(Chunks{})) << row.name;
  }
}

TEST_F(ArrayKPExt, GroupByKeyKeepsArrayOrderPerKey) {
  const std::vector<int> v{1, 2, 3, 4, 5, 6};
  const auto groups = kp::groupByKey(v, [](int x) { return x % 3; });
  EXPECT_EQ(groups.size(), 3u);
  EXPECT_THAT(groups.at(0), ElementsAre(3, 6));
  EXPECT_THAT(groups.at(1), ElementsAre(1, 4));
  EXPECT_THAT(groups.at(2), ElementsAre(2, 5));
}

TEST_F(ArrayKPExt, ShuffleIsAForwardFisherYatesOverThePlatformSource) {
  // Draws 2, 0, 1 for bounds 4, 3, 2: swap(0, 2), keep 1, swap(2, 3).
  std::vector<std::uint32_t> draws{2, 0, 1};
  std::size_t next = 0;
  ios::testing::ScopedRandomSource source([&] { return draws.at(next++); });
  std::vector<char> v{'a', 'b', 'c', 'd'};
  kp::shuffle(v);
  EXPECT_THAT(v, ElementsAre('c', 'b', 'd', 'a'));
  EXPECT_EQ(next, 3u);

  next = 0;
  const std::vector<char> original{'a', 'b', 'c', 'd'};
  EXPECT_THAT(kp::shuffled(original), ElementsAre('c', 'b', 'd', 'a'));
  EXPECT_THAT(original, ElementsAre('a', 'b', 'c', 'd'));

  // Nothing is drawn for 0 or 1 element.
  next = 0;
  std::vector<char> one{'x'};
  kp::shuffle(one);
  EXPECT_EQ(next, 0u);
}

TEST_F(ArrayKPExt, RandomPicksThePositionDrawn) {
  EXPECT_EQ(kp::random(std::vector<int>{}), std::nullopt);
  for (std::uint32_t draw : {0u, 1u, 2u}) {
    ios::testing::ScopedRandomSource source([draw] { return draw; });
    EXPECT_EQ(kp::random(std::vector<int>{10, 20, 30}), 10 * static_cast<int>(draw + 1));
  }
}

struct Person {
  std::string name;
  int age = 0;
  std::optional<double> height;
};

std::vector<std::string> names(const std::vector<Person>& people) {
  std::vector<std::string> out;
  for (const Person& p : people) out.push_back(p.name);
  return out;
}

TEST_F(ArrayKPExt, SortByKey) {
  const std::vector<Person> people{{"c", 3, 1.8}, {"a", 1, 1.6}, {"b", 2, 1.7}, {"a2", 1, 1.9}};
  EXPECT_THAT(names(kp::sorted(people, &Person::age, false)), ElementsAre("c", "b", "a", "a2"));
  EXPECT_THAT(names(kp::sorted(people, &Person::age)), ElementsAre("a", "a2", "b", "c"));  // stable
  EXPECT_THAT(names(kp::sorted(people, [](const Person& p) { return p.name; })), ElementsAre("a", "a2", "b", "c"));
  // With no key absent, the optional form orders like the plain one.
  EXPECT_THAT(names(kp::sorted(people, &Person::height)), ElementsAre("a", "b", "c", "a2"));
  std::vector<Person> inPlace = people;
  kp::sort(inPlace, &Person::height, false);
  EXPECT_THAT(names(inPlace), ElementsAre("a2", "c", "b", "a"));
  EXPECT_THAT(kp::sorted(std::vector<int>{3, 1, 2}, std::identity{}, false), ElementsAre(3, 2, 1));
}

// Run under the sanitizers: a sort that assumed a strict weak ordering could read out of
// bounds here.
TEST_F(ArrayKPExt, SortWithAbsentKeysKeepsEveryElement) {
  std::vector<std::optional<double>> keys;
  std::uint32_t state = 12345;
  for (int i = 0; i < 1000; ++i) {
    state = state * 1664525u + 1013904223u;
    if (state % 10 < 3) {
      keys.push_back(std::nullopt);
    } else if (state % 37 == 0) {
      keys.push_back(std::numeric_limits<double>::quiet_NaN());
    } else {
      keys.push_back(static_cast<double>(state % 100));
    }
  }
  struct Item {
    int id;
    std::optional<double> key;
  };
  std::vector<Item> items;
  for (int i = 0; i < 1000; ++i) items.push_back({i, keys[static_cast<std::size_t>(i)]});
  for (bool ascending : {true, false}) {
    const std::vector<Item> result = kp::sorted(items, &Item::key, ascending);
    std::vector<int> ids;
    for (const Item& item : result) ids.push_back(item.id);
    std::sort(ids.begin(), ids.end());
    std::vector<int> expected(1000);
    for (int i = 0; i < 1000; ++i) expected[static_cast<std::size_t>(i)] = i;
    EXPECT_EQ(ids, expected);  // a permutation: nothing lost, nothing duplicated
    for (const Item& item : result) EXPECT_EQ(item.key.has_value(), keys[static_cast<std::size_t>(item.id)].has_value());
  }
}

TEST_F(ArrayKPExt, SortAgreesWithStdStableSortAtEverySize) {
  // Text elements catch a value lost to a moved-from or self-moved string.
  for (std::size_t n : {0u, 1u, 2u, 16u, 17u, 31u, 32u, 33u, 34u, 100u, 1000u, 4097u}) {
    for (int pattern = 0; pattern < 3; ++pattern) {
      std::vector<std::string> items;
      for (std::size_t i = 0; i < n; ++i) {
        const std::size_t key = pattern == 0 ? (i * 7919) % 101 : (pattern == 1 ? i : n - i);
        items.push_back(std::to_string(key % 1000 + 1000) + "#" + std::to_string(i));
      }
      auto prefix = [](const std::string& s) { return s.substr(0, 4); };
      std::vector<std::string> expected = items;
      std::stable_sort(expected.begin(), expected.end(),
                       [&](const std::string& a, const std::string& b) { return prefix(a) < prefix(b); });
      EXPECT_EQ(kp::sorted(items, prefix), expected) << n << " elements, pattern " << pattern;
      std::stable_sort(expected.begin(), expected.end(),
                       [&](const std::string& a, const std::string& b) { return prefix(a) > prefix(b); });
      EXPECT_EQ(kp::sorted(items, prefix, false), expected) << n << " elements, pattern " << pattern;
    }
  }
}

}  // namespace
