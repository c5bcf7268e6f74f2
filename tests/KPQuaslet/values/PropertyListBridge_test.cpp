// What a std::any holding a container is bridged to: the same as the statically typed
// value, for every registered shape, and nothing for the others.
#include "KPQuaslet/values/internal/PropertyListBridge.h"

#include <gtest/gtest.h>

#include <any>
#include <array>
#include <cmath>
#include <deque>
#include <limits>
#include <list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "KPQuaslet/values/Dictionary+KPExt.h"
#include "platform/foundation/JSONSerialization.h"
#include "platform/testing/PlatformFixture.h"

namespace {

using kp::values_internal::anyToPropertyList;
using kp::values_internal::LargeUnsigned;
using kp::values_internal::toPropertyList;
using S = std::string;
template <class T>
using Map = std::map<std::string, T>;
template <class T>
using HashMap = std::unordered_map<std::string, T>;

class PropertyListBridge : public ios::testing::PlatformFixture {};

// One value held in a std::any, beside what the typed bridge and jsonString make of the
// same value statically typed (the reference).
struct Shape {
  const char* name;
  std::any held;
  std::optional<ios::PropertyList> typed;
  std::optional<std::string> typedJson;
};

template <class T>
Shape shape(const char* name, const T& value) {
  return Shape{name, value, toPropertyList(value, 0, LargeUnsigned::keep),
               kp::jsonString(std::unordered_map<std::string, T>{{"k", value}}, false)};
}

std::optional<std::string> jsonOfHeld(const std::any& held) {
  return kp::jsonString(std::unordered_map<std::string, std::any>{{"k", held}}, false);
}

TEST_F(PropertyListBridge, AnyHoldingARegisteredShapeBridgesAsItsTypedValue) {
  const std::array<int, 16> sixteen{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  const Shape rows[] = {
      // One container of each kind, around each kind of element.
      shape("vector<bool>", std::vector<bool>{true, false}),
      shape("list<unsigned>", std::list<unsigned>{7u}),
      shape("deque<unsigned long>", std::deque<unsigned long>{8ul}),
      shape("set<float>", std::set<float>{0.5f, 0.25f}),
      shape("set<string>", std::set<S>{"b", "a"}),
      shape("map<long>", Map<long>{{"l", -4L}}),
      shape("unordered_map<unsigned long long>", HashMap<unsigned long long>{{"u", UINT64_MAX}}),
      shape("set<optional<int>>", std::set<std::optional<int>>{std::nullopt, 3}),
      shape("deque<optional<string>>", std::deque<std::optional<S>>{"x", std::nullopt}),
      shape("unordered_map<optional<double>>", HashMap<std::optional<double>>{{"d", 1.5}, {"n", std::nullopt}}),
      shape("list<short>", std::list<short>{-3}),
      shape("set<Date>", std::set<ios::Date>{}),
      // Two levels, every kind outside and inside.
      shape("vector<list<int>>", std::vector<std::list<int>>{{1, 2}, {}}),
      shape("list<deque<long long>>", std::list<std::deque<long long>>{{-1}}),
      shape("deque<set<double>>", std::deque<std::set<double>>{{2.5, 1}}),
      shape("set<map<string>>", std::set<Map<S>>{{{"a", "b"}}}),
      shape("map<unordered_map<bool>>", Map<HashMap<bool>>{{"m", {{"t", true}}}}),
      shape("unordered_map<vector<float>>", HashMap<std::vector<float>>{{"f", {0.5f}}}),
      shape("set<vector<unsigned>>", std::set<std::vector<unsigned>>{{1u, 2u}}),
      shape("map<set<unsigned long>>", Map<std::set<unsigned long>>{{"s", {9ul}}}),
      shape("unordered_map<list<unsigned long long>>", HashMap<std::list<unsigned long long>>{{"q", {1ull << 63}}}),
      shape("vector<map<long>>", std::vector<Map<long>>{{{"x", 1L}}}),
      shape("deque<vector<any>>", std::deque<std::vector<std::any>>{{1, S("a"), std::vector<int>{2}}}),
      shape("map<unordered_map<any>>", Map<HashMap<std::any>>{{"a", {{"b", 0.5}}}}),
      // Three levels around the common scalars.
      shape("vector<vector<vector<int>>>", std::vector<std::vector<std::vector<int>>>{{{1}, {2, 3}}, {}}),
      shape("list<deque<set<long long>>>", std::list<std::deque<std::set<long long>>>{{{5, -5}}}),
      shape("deque<set<map<double>>>", std::deque<std::set<Map<double>>>{{{{"d", 0.125}}}}),
      shape("set<map<list<string>>>", std::set<Map<std::list<S>>>{{{"s", {"x", "y"}}}}),
      shape("map<unordered_map<vector<bool>>>", Map<HashMap<std::vector<bool>>>{{"a", {{"b", {true}}}}}),
      shape("unordered_map<vector<deque<int>>>", HashMap<std::vector<std::deque<int>>>{{"h", {{4}}}}),
      shape("map<map<map<string>>>", Map<Map<Map<S>>>{{"a", {{"b", {{"c", "d"}}}}}}),
      shape("set<set<set<bool>>>", std::set<std::set<std::set<bool>>>{{{false}}}),
      shape("vector<unordered_map<list<long long>>>", std::vector<HashMap<std::list<long long>>>{{{"l", {7}}}}),
      // Fixed-size arrays, alone, in a vector and as a map value.
      shape("array<bool,1>", std::array<bool, 1>{true}),
      shape("array<int,16>", sixteen),
      shape("vector<array<string,7>>", std::vector<std::array<S, 7>>{{"a", "b", "c", "d", "e", "f", "g"}}),
      shape("map<array<double,16>>", Map<std::array<double, 16>>{{"z", {}}}),
      shape("unordered_map<array<unsigned,2>>", HashMap<std::array<unsigned, 2>>{{"p", {1u, 2u}}}),
  };
  for (const Shape& row : rows) {
    ASSERT_TRUE(row.typed.has_value()) << row.name;
    ASSERT_TRUE(row.typedJson.has_value()) << row.name;
    EXPECT_EQ(anyToPropertyList(row.held, 0, LargeUnsigned::keep), row.typed) << row.name;
    EXPECT_EQ(jsonOfHeld(row.held), row.typedJson) << row.name;
  }
}

// Shapes outside the registered set bridge statically typed, but not held in a std::any.
TEST_F(PropertyListBridge, AnyHoldingAnUnregisteredShapeIsNothing) {
  const Shape rows[] = {
      shape("four levels", std::vector<std::vector<std::vector<std::vector<int>>>>{{{{1}}}}),
      shape("three levels of float", std::vector<std::vector<std::vector<float>>>{{{0.5f}}}),
      shape("three levels of unsigned", Map<Map<Map<unsigned>>>{{"a", {{"b", {{"c", 1u}}}}}}),
      shape("three levels of any", std::vector<std::vector<std::vector<std::any>>>{{{1}}}),
      shape("two levels of long double", std::vector<std::vector<long double>>{{1.5L}}),
      shape("two levels of optional", std::vector<std::vector<std::optional<int>>>{{1}}),
      shape("array of 17", std::array<int, 17>{}),
      shape("array in a list", std::list<std::array<int, 2>>{{1, 2}}),
      shape("map with std::less<>", std::map<S, int, std::less<>>{{"a", 1}}),
      shape("string_view keys", std::map<std::string_view, int>{{"a", 1}}),
  };
  for (const Shape& row : rows) {
    ASSERT_TRUE(row.typed.has_value()) << row.name;
    EXPECT_EQ(anyToPropertyList(row.held, 0, LargeUnsigned::keep), std::nullopt) << row.name;
    EXPECT_EQ(jsonOfHeld(row.held), std::nullopt) << row.name;
  }
}

TEST_F(PropertyListBridge, AnyHoldingANonFiniteNumberDeepInsideHasNoJsonText) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  const std::any rows[] = {
      std::vector<std::vector<double>>{{1, nan}},
      Map<std::list<std::set<double>>>{{"a", {{infinity}}}},
      std::vector<std::array<float, 3>>{{0, 1, std::numeric_limits<float>::quiet_NaN()}},
      HashMap<std::deque<std::vector<double>>>{{"x", {{-infinity}}}},
  };
  for (const std::any& held : rows) {
    EXPECT_TRUE(anyToPropertyList(held, 0, LargeUnsigned::keep).has_value()) << held.type().name();
    EXPECT_EQ(jsonOfHeld(held), std::nullopt) << held.type().name();
  }
}

TEST_F(PropertyListBridge, DepthCountsTheContainersOfARegisteredShape) {
  // std::any arrays around a three-level shape: the dictionary, the wrappers and the
  // shape's three containers together may reach the nesting limit, not pass it.
  auto nested = [](std::size_t wrappers) {
    std::any value = std::vector<std::list<std::deque<int>>>{{{1}}};
    for (std::size_t i = 0; i < wrappers; ++i) value = std::vector<std::any>{std::move(value)};
    return value;
  };
  const std::size_t limit = ios::JSONSerialization::maximumNestingDepth;
  const std::size_t wrappersAtLimit = limit - 1 - 3;
  const std::optional<std::string> atLimit = jsonOfHeld(nested(wrappersAtLimit));
  ASSERT_TRUE(atLimit.has_value());
  EXPECT_EQ(atLimit->size(), 5 + 2 * (limit - 1) + 1 + 1);  // {"k": [[...1...]] }
  EXPECT_EQ(jsonOfHeld(nested(wrappersAtLimit + 1)), std::nullopt);
  EXPECT_EQ(anyToPropertyList(nested(0), limit - 2), std::nullopt);
  EXPECT_TRUE(anyToPropertyList(nested(0), limit - 3).has_value());
}

}  // namespace
