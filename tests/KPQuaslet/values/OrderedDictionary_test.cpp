#include "KPQuaslet/values/OrderedDictionary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <unordered_map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/foundation/Describe.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Ordered = kp::OrderedDictionary<std::string, int>;

Ordered abc() {
  Ordered d;
  d.set("a", 1);
  d.set("b", 2);
  d.set("c", 3);
  return d;
}

// Checks the invariant: the same keys on both sides, each once in the order.
void expectConsistent(const Ordered& d) {
  EXPECT_EQ(d.array().size(), d.dictionary().size());
  for (const std::string& key : d.array()) EXPECT_EQ(d.dictionary().count(key), 1u) << key;
}

TEST(OrderedDictionary, InsertMovesAndAppends) {
  struct Row {
    const char* name;
    std::string key;
    std::int64_t index;
    std::vector<std::string> order;
    std::optional<int> previous;
  };
  const Row rows[] = {
      {"present key forward", "a", 2, {"b", "a", "c"}, 1},
      {"present key to the end", "a", 3, {"b", "c", "a"}, 1},
      {"present key backward", "c", 0, {"c", "a", "b"}, 3},
      {"present key one back", "c", 1, {"a", "c", "b"}, 3},
      {"present key at its own place", "b", 1, {"a", "b", "c"}, 2},
      {"present key one ahead stays", "b", 2, {"a", "b", "c"}, 2},
      {"new key at the end", "d", 3, {"a", "b", "c", "d"}, std::nullopt},
      {"new key at the front", "d", 0, {"d", "a", "b", "c"}, std::nullopt},
      {"new key in the middle", "d", 2, {"a", "b", "d", "c"}, std::nullopt},
  };
  for (const Row& row : rows) {
    Ordered d = abc();
    EXPECT_EQ(d.insert(9, row.key, row.index), row.previous) << row.name;
    EXPECT_THAT(d.array(), ElementsAreArray(row.order)) << row.name;
    EXPECT_EQ(d.get(row.key), 9) << row.name;
    expectConsistent(d);
  }
}

TEST(OrderedDictionary, KeySubscriptSetRules) {
  Ordered d = abc();
  d.set("b", 20);  // present: keeps its place
  EXPECT_THAT(d.array(), ElementsAre("a", "b", "c"));
  EXPECT_EQ(d.get("b"), 20);

  d.set("b", std::nullopt);  // present: removed from both sides
  EXPECT_THAT(d.array(), ElementsAre("a", "c"));
  EXPECT_EQ(d.count(), 2);
  EXPECT_EQ(d.get("b"), std::nullopt);
  expectConsistent(d);

  d.set("zz", std::nullopt);  // absent: nothing happens
  EXPECT_EQ(d.count(), 2);

  d.modify("a", [](std::optional<int>& v) { *v += 5; });
  d.modify("n", [](std::optional<int>& v) { v = 1; });              // creates, appended
  d.modify("c", [](std::optional<int>& v) { v = std::nullopt; });  // removes
  EXPECT_THAT(d.array(), ElementsAre("a", "n"));
  EXPECT_EQ(d.get("a"), 6);
  EXPECT_THROW(d.modify("a", [](std::optional<int>& v) {
    v = 100;
    throw std::runtime_error("no");
  }),
               std::runtime_error);
  EXPECT_EQ(d.get("a"), 6);  // nothing written when the change throws
  expectConsistent(d);
}

TEST(OrderedDictionary, PositionsAndRemoval) {
  Ordered d = abc();
  EXPECT_EQ(d.at(1), (std::pair<std::string, int>("b", 2)));
  EXPECT_EQ(d.removeAt(0), (std::pair<std::string, int>("a", 1)));
  EXPECT_THAT(d.array(), ElementsAre("b", "c"));
  EXPECT_FALSE(d.dictionary().contains("a"));
  expectConsistent(d);
  EXPECT_EQ(ios::describe(d), "[\"b\": 2, \"c\": 3]");
  EXPECT_EQ(ios::describe(Ordered()), "[:]");
}

TEST(OrderedDictionary, CopiesAreIndependent) {
  Ordered original = abc();
  Ordered copy = original;
  copy.insert(7, "c", 0);
  copy.set("a", std::nullopt);
  EXPECT_THAT(original.array(), ElementsAre("a", "b", "c"));
  EXPECT_THAT(copy.array(), ElementsAre("c", "b"));
  EXPECT_NE(original, copy);
  EXPECT_EQ(original, abc());
}

// Removing keys from the front, the back, the middle and at random, interleaved with
// insertions, lookups by position and copies, keeps the same order and values as a plain
// key vector and map doing the same work.
TEST(OrderedDictionary, RemovalsAnywhereKeepTheOrder) {
  struct Model {
    std::vector<std::string> order;
    std::unordered_map<std::string, int> values;
  };
  const auto expectSame = [](const Ordered& d, const Model& m, const std::string& step) {
    ASSERT_EQ(d.array(), m.order) << step;
    ASSERT_EQ(d.count(), static_cast<std::int64_t>(m.order.size())) << step;
    for (std::size_t i = 0; i < m.order.size(); ++i) {
      ASSERT_EQ(d.at(static_cast<std::int64_t>(i)), (std::pair<std::string, int>(m.order[i], m.values.at(m.order[i]))))
          << step << " at " << i;
    }
    expectConsistent(d);
  };
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    Ordered d;
    Model m;
    for (int i = 0; i < 60; ++i) {
      const std::string key = "k" + std::to_string(i);
      d.set(key, i);
      m.order.push_back(key);
      m.values[key] = i;
    }
    for (int step = 0; step < 120 && !m.order.empty(); ++step) {
      const std::string name = "round " + std::to_string(round) + " step " + std::to_string(step);
      const auto pick = std::uniform_int_distribution<std::size_t>(0, m.order.size() - 1)(random);
      switch (random() % 6) {
        case 0:  // the oldest key
          d.set(m.order.front(), std::nullopt);
          m.values.erase(m.order.front());
          m.order.erase(m.order.begin());
          break;
        case 1:  // the newest key
          d.set(m.order.back(), std::nullopt);
          m.values.erase(m.order.back());
          m.order.pop_back();
          break;
        case 2: {  // any key
          d.set(m.order[pick], std::nullopt);
          m.values.erase(m.order[pick]);
          m.order.erase(m.order.begin() + static_cast<std::ptrdiff_t>(pick));
          break;
        }
        case 3: {  // by position
          const auto removed = d.removeAt(static_cast<std::int64_t>(pick));
          ASSERT_EQ(removed.first, m.order[pick]) << name;
          ASSERT_EQ(removed.second, m.values.at(m.order[pick])) << name;
          m.values.erase(m.order[pick]);
          m.order.erase(m.order.begin() + static_cast<std::ptrdiff_t>(pick));
          break;
        }
        case 4: {  // a new key somewhere
          const std::string key = "n" + std::to_string(step);
          d.insert(step, key, static_cast<std::int64_t>(pick));
          m.order.insert(m.order.begin() + static_cast<std::ptrdiff_t>(pick), key);
          m.values[key] = step;
          break;
        }
        default: {  // a present key moved to the end, through a copy
          Ordered copy = d;
          copy.insert(-1, m.order[pick], copy.count());
          d = copy;
          const std::string key = m.order[pick];
          m.order.erase(m.order.begin() + static_cast<std::ptrdiff_t>(pick));
          m.order.push_back(key);
          m.values[key] = -1;
          break;
        }
      }
      expectSame(d, m, name);
    }
  }
}

TEST(OrderedDictionaryDeathTest, PositionsOutsideTheRangeStop) {
  Ordered d = abc();
  EXPECT_DEATH(d.insert(1, "x", 4), "Index out of range");
  EXPECT_DEATH(d.insert(1, "x", -1), "Index out of range");
  EXPECT_DEATH((void)d.removeAt(3), "Index out of range");
  EXPECT_DEATH((void)d.at(-1), "Index out of range");
}

}  // namespace
