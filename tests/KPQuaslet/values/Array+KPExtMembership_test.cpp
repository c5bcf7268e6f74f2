#include "KPQuaslet/values/Array+KPExtMembership.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <any>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <functional>
#include <string>
#include <vector>

// Equal when the last digits agree, while its hash looks at the whole number: a hash
// that disagrees with ==, which only a linear scan answers by ==.
struct LastDigit {
  int value;
  bool operator==(const LastDigit& other) const { return value % 10 == other.value % 10; }
};

template <>
struct std::hash<LastDigit> {
  std::size_t operator()(const LastDigit& d) const noexcept { return std::hash<int>{}(d.value); }
};

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using V = std::vector<int>;

// Equatable but not hashable: takes the linear-scan path.
struct Plain {
  int value;
  bool operator==(const Plain&) const = default;
};

std::vector<Plain> plain(const V& v) {
  std::vector<Plain> out;
  for (int x : v) out.push_back({x});
  return out;
}

TEST(ArrayKPExtMembership, Contains) {
  const V v{1, 2};
  EXPECT_TRUE(kp::contains(v));
  EXPECT_TRUE(kp::contains(v, V{}));
  EXPECT_FALSE(kp::contains(v, 2, 3));
  EXPECT_TRUE(kp::contains(v, 2, 1));
  EXPECT_TRUE(kp::contains(v, 1));
  EXPECT_FALSE(kp::contains(v, V{2, 3}));
  EXPECT_TRUE(kp::contains(v, {2, 1, 2}));
  EXPECT_TRUE(kp::contains(std::vector<std::string>{"a", "b"}, "b"));
  // Arrays of arrays: an element is an array, a list is an array of arrays.
  const std::vector<V> nested{{1}, {2, 3}};
  EXPECT_TRUE(kp::contains(nested, V{2, 3}));
  EXPECT_FALSE(kp::contains(nested, std::vector<V>{{1}, {3}}));
}

TEST(ArrayKPExtMembership, IndexesAndRemovalByValue) {
  EXPECT_THAT(kp::indexes(V{1, 2, 1}, 1), ElementsAre(0, 2));
  EXPECT_THAT(kp::indexes(V{1, 2, 1}, 5), IsEmpty());

  struct Row {
    const char* name;
    void (*change)(V&);
    V expected;
  };
  const Row rows[] = {
      {"remove first only", [](V& v) { kp::remove(v, 1); }, {2, 1}},
      {"remove missing", [](V& v) { kp::remove(v, 9); }, {1, 2, 1}},
      {"removeAll element", [](V& v) { kp::removeAll(v, 1); }, {2}},
      {"removeObjects", [](V& v) { kp::removeObjects(v, 1); }, {2}},
  };
  for (const Row& row : rows) {
    V v{1, 2, 1};
    row.change(v);
    EXPECT_EQ(v, row.expected) << row.name;
  }

  const Row listRows[] = {
      {"list", [](V& v) { kp::removeAll(v, V{1, 3}); }, {2}},
      {"empty list", [](V& v) { kp::removeAll(v, V{}); }, {1, 2, 1, 3}},
      {"nothing gathered", [](V& v) { kp::removeAll(v, std::nullopt); }, {1, 2, 1, 3}},
      {"only the rest", [](V& v) { kp::removeAll(v, std::nullopt, 3); }, {1, 2, 1}},
      {"first and rest", [](V& v) { kp::removeAll(v, std::optional<int>(1), 3); }, {2}},
  };
  for (const Row& row : listRows) {
    V v{1, 2, 1, 3};
    row.change(v);
    EXPECT_EQ(v, row.expected) << row.name;
  }
}

TEST(ArrayKPExtMembership, Duplicates) {
  const V input{3, 1, 3, 2, 1};
  EXPECT_THAT(kp::withoutDuplicates(input), ElementsAre(3, 1, 2));
  EXPECT_THAT(kp::unique(input), ElementsAre(3, 1, 2));
  V v = input;
  kp::removeDuplicates(v);
  EXPECT_THAT(v, ElementsAre(3, 1, 2));
  std::vector<Plain> p = plain(input);
  kp::removeDuplicates(p);
  EXPECT_EQ(p, plain({3, 1, 2}));
  std::vector<std::string> words{"b", "a", "b", "b"};
  kp::removeDuplicates(words);
  EXPECT_THAT(words, ElementsAre("b", "a"));
  // NaN never equals itself, so every NaN stays; 0.0 and -0.0 are one value.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const auto doubles = kp::unique(std::vector<double>{nan, 0.0, nan, -0.0});
  ASSERT_EQ(doubles.size(), 3u);
  EXPECT_TRUE(std::isnan(doubles[0]) && std::isnan(doubles[2]));
}

TEST(ArrayKPExtMembership, SetOperationsWithRepetitions) {
  struct Row {
    const char* name;
    V result;
    V expected;
  };
  const Row rows[] = {
      {"difference", kp::difference(V{1, 2, 2, 3}, V{2}, V{5}), {1, 3}},
      {"difference without arguments", kp::difference(V{1, 2, 2, 3}), {1, 2, 2, 3}},
      {"difference with everything", kp::difference(V{1, 1}, V{1}), {}},
      {"union", kp::union_(V{1, 1, 2}, V{2, 3, 3}, V{4, 1}), {1, 1, 2, 3, 4}},
      {"union without arguments", kp::union_(V{1, 1, 2}), {1, 1, 2}},
      {"union into empty", kp::union_(V{}, V{5, 5, 6}), {5, 6}},
      {"intersection", kp::intersection(V{1, 2, 3, 4}, V{4, 3, 3, 9}), {4, 3, 3}},
      {"intersection twice", kp::intersection(V{1, 2, 3, 4}, V{4, 3, 3, 9}, V{3, 4, 4}), {3, 4, 4}},
      {"intersection without arguments", kp::intersection(V{1, 2}), {}},
      {"intersection that empties", kp::intersection(V{1, 2}, V{2}, V{1}, V{1, 2}), {}},
  };
  for (const Row& row : rows) EXPECT_EQ(row.result, row.expected) << row.name;

  // The linear path gives the same answers.
  EXPECT_EQ(kp::union_(plain({1, 1, 2}), plain({2, 3, 3}), plain({4, 1})), plain({1, 1, 2, 3, 4}));
  EXPECT_EQ(kp::intersection(plain({1, 2, 3, 4}), plain({4, 3, 3, 9}), plain({3, 4, 4})), plain({3, 4, 4}));
  EXPECT_EQ(kp::difference(plain({1, 2, 2, 3}), plain({2}), plain({5})), plain({1, 3}));
  std::vector<Plain> p = plain({1, 2, 1, 3});
  kp::removeAll(p, plain({1, 3}));
  EXPECT_EQ(p, plain({2}));
}

std::vector<int> values(const std::vector<LastDigit>& digits) {
  std::vector<int> out;
  for (const LastDigit& d : digits) out.push_back(d.value);
  return out;
}

TEST(ArrayKPExtMembership, MembershipIsDecidedByEqualityNotByAHash) {
  using D = std::vector<LastDigit>;
  const D a{{1}, {11}, {2}, {21}, {3}};
  EXPECT_THAT(values(kp::unique(a)), ElementsAre(1, 2, 3));
  EXPECT_THAT(values(kp::withoutDuplicates(a)), ElementsAre(1, 2, 3));
  D deduplicated = a;
  kp::removeDuplicates(deduplicated);
  EXPECT_THAT(values(deduplicated), ElementsAre(1, 2, 3));
  EXPECT_THAT(values(kp::difference(a, D{{31}})), ElementsAre(2, 3));
  EXPECT_THAT(values(kp::union_(D{{1}}, D{{41}, {5}})), ElementsAre(1, 5));
  EXPECT_THAT(values(kp::intersection(a, D{{51}, {4}, {12}})), ElementsAre(51, 12));
  D removed = a;
  kp::removeAll(removed, D{{61}, {73}});
  EXPECT_THAT(values(removed), ElementsAre(2));
  EXPECT_TRUE(kp::contains(a, D{{91}}));
  // The standard types whose hash agrees with == keep the hash set; NaN is never contained
  // either way, and -0.0 equals 0.0.
  const std::vector<double> doubles{0.0, std::nan(""), -0.0, std::nan("")};
  EXPECT_EQ(kp::unique(doubles).size(), 3u);
  EXPECT_TRUE(kp::difference(doubles, std::vector<double>{-0.0, std::nan("")}).size() == 2);
}

struct Base {
  virtual ~Base() = default;
};
struct Derived : Base {};

TEST(ArrayKPExtMembership, ContainsInstanceOfUsesTheExactDynamicType) {
  const std::vector<std::shared_ptr<Base>> onlyDerived{std::make_shared<Derived>(), nullptr};
  EXPECT_FALSE(kp::containsInstanceOf(onlyDerived, std::make_shared<Base>()));
  EXPECT_TRUE(kp::containsInstanceOf(onlyDerived, std::make_shared<Derived>()));
  EXPECT_TRUE(kp::containsType(onlyDerived, std::shared_ptr<Base>(std::make_shared<Derived>())));
  EXPECT_FALSE(kp::containsInstanceOf(onlyDerived, std::shared_ptr<Base>()));  // null matches nothing

  const std::vector<std::any> mixed{1, std::string("x"), std::any()};
  EXPECT_TRUE(kp::containsInstanceOf(mixed, 5));
  EXPECT_TRUE(kp::containsType(mixed, std::string("y")));
  EXPECT_FALSE(kp::containsInstanceOf(mixed, 1.0));
  EXPECT_FALSE(kp::containsInstanceOf(mixed, std::any()));
  EXPECT_FALSE(kp::containsInstanceOf(V{}, 1));
  EXPECT_TRUE(kp::containsInstanceOf(V{3}, 1));
}

}  // namespace
