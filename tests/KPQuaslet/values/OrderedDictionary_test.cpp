#include "KPQuaslet/values/OrderedDictionary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
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

  // A copy taken while the order has gaps; then both sides change the same keys.
  original.set("d", 4);
  original.set("e", 5);
  original.set("b", std::nullopt);
  Ordered second(original);
  original.set("c", std::nullopt);
  original.insert(1, "x", 1);
  second.set("d", std::nullopt);
  second.insert(9, "e", 0);
  EXPECT_THAT(original.array(), ElementsAre("a", "x", "d", "e"));
  EXPECT_THAT(second.array(), ElementsAre("e", "a", "c"));
  EXPECT_EQ(original.at(3), (std::pair<std::string, int>("e", 5)));
  EXPECT_EQ(second.at(0), (std::pair<std::string, int>("e", 9)));
  expectConsistent(original);
  expectConsistent(second);

  // Assigning over a dictionary, to itself included, and moving.
  copy = second;
  EXPECT_EQ(copy, second);
  copy.set("a", std::nullopt);
  EXPECT_THAT(second.array(), ElementsAre("e", "a", "c"));
  const Ordered& self = copy;
  copy = self;
  EXPECT_THAT(copy.array(), ElementsAre("e", "c"));
  Ordered moved(std::move(copy));
  EXPECT_THAT(moved.array(), ElementsAre("e", "c"));
  moved.set("e", std::nullopt);
  EXPECT_EQ(moved.at(0), (std::pair<std::string, int>("c", 3)));
  copy = std::move(moved);
  copy.insert(1, "f", 0);
  EXPECT_THAT(copy.array(), ElementsAre("f", "c"));
  expectConsistent(copy);
}

// A moved-from dictionary is empty and can be used again.
TEST(OrderedDictionary, MovedFromIsEmptyAndReusable) {
  Ordered source = abc();
  source.set("a", std::nullopt);  // a gap at the front of the order
  Ordered byConstruction(std::move(source));
  Ordered byAssignment;
  byAssignment = std::move(byConstruction);
  EXPECT_THAT(byAssignment.array(), ElementsAre("b", "c"));
  for (Ordered* d : {&source, &byConstruction}) {
    EXPECT_EQ(d->count(), 0);
    EXPECT_TRUE(d->array().empty());
    d->set("n", 1);
    d->insert(0, "m", 0);
    EXPECT_THAT(d->array(), ElementsAre("m", "n"));
    EXPECT_EQ(d->at(1), (std::pair<std::string, int>("n", 1)));
    expectConsistent(*d);
  }
}

// Draining by key from the front, the back or in a scattered order keeps every
// position answering the right key, with insertions at positions in between.
TEST(OrderedDictionary, DrainsKeepPositions) {
  constexpr int kKeys = 300;
  std::vector<int> scattered(kKeys);
  for (int i = 0; i < kKeys; ++i) scattered[static_cast<std::size_t>(i)] = (i * 137) % kKeys;
  std::vector<int> oldest(kKeys), newest(kKeys);
  for (int i = 0; i < kKeys; ++i) {
    oldest[static_cast<std::size_t>(i)] = i;
    newest[static_cast<std::size_t>(i)] = kKeys - 1 - i;
  }
  const std::pair<const char*, const std::vector<int>*> orders[] = {
      {"oldest first", &oldest}, {"newest first", &newest}, {"scattered", &scattered}};
  for (const auto& [name, removals] : orders) {
    Ordered d;
    std::vector<std::string> model;
    for (int i = 0; i < kKeys; ++i) {
      d.set("k" + std::to_string(i), i);
      model.push_back("k" + std::to_string(i));
    }
    for (int step = 0; step < kKeys; ++step) {
      const std::string key = "k" + std::to_string((*removals)[static_cast<std::size_t>(step)]);
      d.set(key, std::nullopt);
      model.erase(std::find(model.begin(), model.end(), key));
      if (step % 50 == 25) {  // a new key in the middle of the gaps
        const std::string added = "n" + std::to_string(step);
        const std::size_t at = model.size() / 2;
        d.insert(-step, added, static_cast<std::int64_t>(at));
        model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), added);
      }
      if (step % 7 != 0) continue;
      ASSERT_EQ(d.array(), model) << name << " step " << step;
      for (std::size_t i = 0; i < model.size(); ++i) {
        ASSERT_EQ(d.at(static_cast<std::int64_t>(i)).first, model[i]) << name << " step " << step << " at " << i;
      }
    }
    EXPECT_THAT(d.array(), ElementsAreArray(model)) << name;
    expectConsistent(d);
  }
}

// A value whose moves throw once a budget of moves is spent.
struct Fragile {
  static inline int movesLeft = -1;  // -1: unlimited
  int n = 0;
  explicit Fragile(int value) : n(value) {}
  Fragile(const Fragile&) = default;
  Fragile(Fragile&& other) : n(other.n) {
    if (movesLeft == 0) throw std::runtime_error("move");
    if (movesLeft > 0) --movesLeft;
  }
  Fragile& operator=(const Fragile&) = default;
  Fragile& operator=(Fragile&&) = default;
  bool operator==(const Fragile&) const = default;
};

// A value that fails to move at any step of an insertion leaves the dictionary as it was.
TEST(OrderedDictionary, FailedInsertChangesNothing) {
  kp::OrderedDictionary<std::string, Fragile> d;
  for (int i = 0; i < 6; ++i) d.set("k" + std::to_string(i), Fragile(i));
  d.set("k2", std::nullopt);  // a gap inside the order
  const auto before = d;
  for (const std::int64_t index : {std::int64_t{0}, std::int64_t{2}, d.count()}) {
    int failures = 0;
    for (int budget = 0;; ++budget) {
      Fragile::movesLeft = budget;
      try {
        d.insert(Fragile(99), "new", index);
        Fragile::movesLeft = -1;
        break;
      } catch (const std::runtime_error&) {
        Fragile::movesLeft = -1;
        ++failures;
        ASSERT_EQ(d, before) << index << " after " << budget << " moves";
        ASSERT_EQ(d.at(4).first, "k5") << index;
      }
    }
    EXPECT_GT(failures, 0) << index;
    EXPECT_EQ(d.at(index).first, "new") << index;
    d.set("new", std::nullopt);
  }
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
