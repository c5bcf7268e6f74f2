#include "KPQuaslet/values/Dictionary+KPExt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <any>
#include <array>
#include <cmath>
#include <deque>
#include <limits>
#include <list>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "KPQuaslet/values/Sequence+KPExt.h"
#include "platform/foundation/Data.h"
#include "platform/foundation/JSONSerialization.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/Random.h"
#include "platform/testing/PlatformFixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;
using Dict = std::unordered_map<std::string, int>;

class DictionaryKPExt : public ios::testing::PlatformFixture {};

TEST_F(DictionaryKPExt, MergeWinners) {
  const Dict receiver{{"a", 1}, {"r", 5}};
  const Dict argument{{"a", 2}, {"g", 7}};
  const Dict argumentWins{{"a", 2}, {"r", 5}, {"g", 7}};
  const Dict receiverWins{{"a", 1}, {"r", 5}, {"g", 7}};

  EXPECT_EQ(kp::mergeWith(receiver, argument), argumentWins);
  EXPECT_EQ(kp::dictionaryByAddingEntiesFrom(receiver, argument), argumentWins);
  EXPECT_EQ(kp::union_(receiver, argument), receiverWins);
  {
    using namespace kp::operators;
    EXPECT_EQ(receiver + argument, argumentWins);
    Dict left = receiver;
    left += argument;
    EXPECT_EQ(left, argumentWins);
  }
  Dict added = receiver;
  kp::addEntriesFrom(added, argument);
  EXPECT_EQ(added, argumentWins);
  // The non-mutating forms leave both sides alone.
  EXPECT_EQ(receiver, (Dict{{"a", 1}, {"r", 5}}));
  EXPECT_EQ(argument, (Dict{{"a", 2}, {"g", 7}}));
}

TEST_F(DictionaryKPExt, KeyTestsCountAPresentEmptyOptional) {
  std::unordered_map<std::string, std::optional<int>> d{{"nil", std::nullopt}, {"one", 1}};
  EXPECT_TRUE(kp::containsKey(d, "nil"));
  EXPECT_TRUE(kp::has(d, "nil"));
  EXPECT_FALSE(kp::has(d, "two"));
  EXPECT_EQ(kp::removeKeys(d, std::vector<std::string>{"nil", "two"}), 1);
  EXPECT_THAT(d, ElementsAre(std::pair<const std::string, std::optional<int>>("one", 1)));
}

TEST_F(DictionaryKPExt, CopyCountEachAndKeysForValue) {
  const Dict d{{"a", 1}, {"b", 2}, {"c", 1}};
  EXPECT_EQ(kp::makeDictionary(d), d);
  EXPECT_EQ(kp::count(d, [](const std::string&, int v) { return v == 1; }), 2);
  EXPECT_EQ(kp::count(d, [](const Dict::value_type& pair) { return pair.first == "b"; }), 1);
  std::vector<std::string> seen;
  kp::each(d, [&](const std::string& key, int value) { seen.push_back(key + std::to_string(value)); });
  EXPECT_THAT(seen, UnorderedElementsAre("a1", "b2", "c1"));
  EXPECT_THAT(kp::allKeysForValue(d, 1), UnorderedElementsAre("a", "c"));
  EXPECT_THAT(kp::allKeysForValue(d, 9), IsEmpty());
  // An exception from the predicate ends the count and reaches the caller.
  int calls = 0;
  EXPECT_THROW((void)kp::count(d,
                               [&](const std::string&, int) -> bool {
                                 ++calls;
                                 throw std::runtime_error("stop");
                               }),
               std::runtime_error);
  EXPECT_EQ(calls, 1);
}

TEST_F(DictionaryKPExt, RemoveKeysCountsRemovalsThatFoundAValue) {
  struct Row {
    const char* name;
    Dict start;
    std::vector<std::string> keys;
    std::int64_t removed;
    Dict end;
  };
  const Row rows[] = {
      {"repeated and missing keys", {{"a", 1}}, {"a", "a", "z"}, 1, {}},
      {"no keys", {{"a", 1}}, {}, 0, {{"a", 1}}},
      {"two of three", {{"a", 1}, {"b", 2}, {"c", 3}}, {"c", "a"}, 2, {{"b", 2}}},
      {"empty dictionary", {}, {"a"}, 0, {}},
  };
  for (const Row& row : rows) {
    Dict d = row.start;
    EXPECT_EQ(kp::removeKeys(d, row.keys), row.removed) << row.name;
    EXPECT_EQ(d, row.end) << row.name;
    Dict viaRemoveAll = row.start;
    kp::removeAll(viaRemoveAll, row.keys);
    EXPECT_EQ(viaRemoveAll, row.end) << row.name;
    using namespace kp::operators;
    EXPECT_EQ(row.start - row.keys, row.end) << row.name;
    Dict viaOperator = row.start;
    viaOperator -= row.keys;
    EXPECT_EQ(viaOperator, row.end) << row.name;
  }
  // Any sequence of keys serves.
  Dict d{{"a", 1}, {"b", 2}};
  EXPECT_EQ(kp::removeKeys(d, std::list<std::string>{"b"}), 1);
}

TEST_F(DictionaryKPExt, RemoveValueForRandomKeyUsesThePlatformSource) {
  Dict empty;
  EXPECT_EQ(kp::removeValueForRandomKey(empty), std::nullopt);

  const Dict start{{"a", 1}, {"b", 2}, {"c", 3}};
  for (std::uint32_t draw = 0; draw < 3; ++draw) {
    Dict d = start;
    // The draw picks the pair at that position of the iteration order.
    const auto expected = *std::next(d.begin(), draw);
    ios::testing::ScopedRandomSource source([draw] { return draw; });
    EXPECT_EQ(kp::removeValueForRandomKey(d), expected.second);
    EXPECT_EQ(d.size(), 2u);
    EXPECT_FALSE(kp::containsKey(d, expected.first));
  }
}

TEST_F(DictionaryKPExt, DifferenceKeepsPairsNoArgumentHoldsEqually) {
  const Dict receiver{{"a", 1}, {"b", 2}, {"c", 3}};
  EXPECT_EQ(kp::difference(receiver, Dict{{"a", 1}, {"b", 3}}), (Dict{{"b", 2}, {"c", 3}}));
  EXPECT_EQ(kp::difference(receiver, Dict{{"a", 1}}, Dict{{"c", 3}}, Dict{{"b", 9}}), (Dict{{"b", 2}}));
  EXPECT_EQ(kp::difference(receiver, Dict{}), receiver);
  EXPECT_EQ(kp::difference<int>(receiver), receiver);

  // Only values that are exactly the requested type take part.
  const std::unordered_map<std::string, std::any> mixed{{"i", 1}, {"d", 1.0}, {"s", std::string("x")}, {"e", {}}};
  EXPECT_EQ(kp::difference<int>(mixed), (Dict{{"i", 1}}));
  EXPECT_EQ(kp::difference(mixed, Dict{{"i", 1}}), Dict{});
  const std::unordered_map<std::string, std::variant<int, std::string>> variants{{"i", 4}, {"s", "x"}};
  EXPECT_EQ(kp::difference<std::string>(variants),
            (std::unordered_map<std::string, std::string>{{"s", "x"}}));
  const std::unordered_map<std::string, std::optional<int>> optionals{{"some", 2}, {"none", std::nullopt}};
  EXPECT_EQ(kp::difference<int>(optionals), (Dict{{"some", 2}}));
}

TEST_F(DictionaryKPExt, JsonStringCompactPrettyAndInvalid) {
  const std::unordered_map<std::string, std::any> d{
      {"name", std::string("Ann")}, {"n", 2}, {"ok", true}, {"list", std::vector<std::any>{1, std::string("/")}}};
  EXPECT_EQ(kp::jsonString(d, false), R"({"list":[1,"\/"],"n":2,"name":"Ann","ok":true})");
  EXPECT_EQ(kp::jsonString(d, true),
            "{\n  \"list\" : [\n    1,\n    \"\\/\"\n  ],\n  \"n\" : 2,\n  \"name\" : \"Ann\",\n  \"ok\" : true\n}");
  // The compact and pretty forms hold the same value.
  EXPECT_EQ(ios::JSONSerialization::jsonObject(*kp::jsonString(d, false)),
            ios::JSONSerialization::jsonObject(*kp::jsonString(d, true)));

  const std::unordered_map<std::string, std::optional<double>> optionals{{"x", std::nullopt}, {"y", 1.5}};
  EXPECT_EQ(kp::jsonString(optionals, false), R"({"x":null,"y":1.5})");
  EXPECT_EQ(kp::jsonString(Dict{}, false), "{}");
  EXPECT_EQ(kp::jsonString(std::unordered_map<std::string, std::vector<bool>>{{"b", {true, false}}}, false),
            R"({"b":[true,false]})");

  struct Opaque {};
  const std::unordered_map<std::string, std::any> withDate{{"when", ios::Date()}};
  const std::unordered_map<std::string, std::any> withOpaque{{"x", Opaque{}}};
  const std::unordered_map<std::string, double> withNaN{{"x", std::numeric_limits<double>::quiet_NaN()}};
  const std::unordered_map<std::string, double> withInfinity{{"x", std::numeric_limits<double>::infinity()}};
  const Dict badKey{{std::string("\xC3\x28"), 1}};
  const std::unordered_map<std::string, std::string> badValue{{"x", std::string("ab\xFF")}};
  const std::unordered_map<int, int> intKeys{{1, 2}};
  const std::unordered_map<std::string, std::map<int, int>> nestedIntKeys{{"m", {{1, 2}}}};
  const std::unordered_map<std::string, std::uint64_t> hugeUnsigned{{"u", UINT64_MAX}};
  EXPECT_EQ(kp::jsonString(withDate, false), std::nullopt);
  EXPECT_EQ(kp::jsonString(withOpaque, true), std::nullopt);
  EXPECT_EQ(kp::jsonString(withNaN, false), std::nullopt);
  EXPECT_EQ(kp::jsonString(withInfinity, false), std::nullopt);
  EXPECT_EQ(kp::jsonString(badKey, false), std::nullopt);
  EXPECT_EQ(kp::jsonString(badValue, true), std::nullopt);
  EXPECT_EQ(kp::jsonString(intKeys, false), std::nullopt);
  EXPECT_EQ(kp::jsonString(nestedIntKeys, false), std::nullopt);
  EXPECT_EQ(kp::jsonString(hugeUnsigned, false), R"({"u":18446744073709551615})");
}

// Every value that stands for a JSON object is written, whether held in a std::any or
// statically typed; values with no JSON form give nothing.
TEST_F(DictionaryKPExt, JsonStringBridgesEveryJSONCompatibleValue) {
  struct Opaque {};
  struct Row {
    const char* name;
    std::any value;
    std::optional<std::string> json;  // of {"k": value}
  };
  const std::string_view view = "v/w";
  const Row rows[] = {
      {"int8", std::int8_t{-8}, R"({"k":-8})"},
      {"uint8", std::uint8_t{200}, R"({"k":200})"},
      {"int16", std::int16_t{-300}, R"({"k":-300})"},
      {"uint16", std::uint16_t{60000}, R"({"k":60000})"},
      {"int32", std::int32_t{-70000}, R"({"k":-70000})"},
      {"uint32", std::uint32_t{4000000000u}, R"({"k":4000000000})"},
      {"int64", std::int64_t{-5}, R"({"k":-5})"},
      {"long long", -6LL, R"({"k":-6})"},
      {"uint64", std::uint64_t{7}, R"({"k":7})"},
      {"uint64 above Int.max", std::uint64_t{UINT64_MAX}, R"({"k":18446744073709551615})"},
      {"unsigned long long above Int.max", 9223372036854775808ULL, R"({"k":9223372036854775808})"},
      {"vector<uint64> above Int.max", std::vector<std::uint64_t>{1, UINT64_MAX}, R"({"k":[1,18446744073709551615]})"},
      {"float", 0.5f, R"({"k":0.5})"},
      {"double", 2.25, R"({"k":2.25})"},
      {"long double", 1.5L, R"({"k":1.5})"},
      {"bool", false, R"({"k":false})"},
      {"string", std::string("s"), R"({"k":"s"})"},
      {"string_view", view, R"({"k":"v\/w"})"},
      {"C string", "c", R"({"k":"c"})"},
      {"nullptr", nullptr, R"({"k":null})"},
      {"nullopt", std::nullopt, R"({"k":null})"},
      {"empty any", std::any(), R"({"k":null})"},
      {"optional int", std::optional<int>(3), R"({"k":3})"},
      {"empty optional int", std::optional<int>(), R"({"k":null})"},
      {"optional string", std::optional<std::string>("o"), R"({"k":"o"})"},
      {"vector<int>", std::vector<int>{1, 2}, R"({"k":[1,2]})"},
      {"vector<double>", std::vector<double>{0.5, 3}, R"({"k":[0.5,3]})"},
      {"vector<string>", std::vector<std::string>{"a", "b"}, R"({"k":["a","b"]})"},
      {"vector<bool>", std::vector<bool>{true}, R"({"k":[true]})"},
      {"vector<uint16>", std::vector<std::uint16_t>{9}, R"({"k":[9]})"},
      {"vector<optional<int>>", std::vector<std::optional<int>>{1, std::nullopt}, R"({"k":[1,null]})"},
      {"vector<any>", std::vector<std::any>{1, std::string("x"), std::vector<int>{2}}, R"({"k":[1,"x",[2]]})"},
      {"map<string,int>", std::map<std::string, int>{{"a", 1}}, R"({"k":{"a":1}})"},
      {"unordered_map<string,int>", std::unordered_map<std::string, int>{{"a", 1}}, R"({"k":{"a":1}})"},
      {"map<string,any>", std::map<std::string, std::any>{{"a", std::vector<double>{}}}, R"({"k":{"a":[]}})"},
      {"NSNumber", ios::NSNumber(4.5), R"({"k":4.5})"},
      {"PropertyList", ios::PropertyList(ios::PropertyList::Array{1, "p"}), R"({"k":[1,"p"]})"},
      // No JSON form.
      {"char", 'c', std::nullopt},
      {"Data", ios::Data{1, 2}, std::nullopt},
      {"Date", ios::Date(), std::nullopt},
      {"user type", Opaque{}, std::nullopt},
      // Nested and other containers held in a std::any.
      {"list<int>", std::list<int>{1}, R"({"k":[1]})"},
      {"deque<string>", std::deque<std::string>{"d"}, R"({"k":["d"]})"},
      {"array<double,3>", std::array<double, 3>{1, 2, 0.5}, R"({"k":[1,2,0.5]})"},
      {"vector<array<int,2>>", std::vector<std::array<int, 2>>{{1, 2}}, R"({"k":[[1,2]]})"},
      {"vector<vector<int>>", std::vector<std::vector<int>>{{1}, {}}, R"({"k":[[1],[]]})"},
      {"map<string,vector<double>>", std::map<std::string, std::vector<double>>{{"a", {0.5}}},
       R"({"k":{"a":[0.5]}})"},
      {"vector<map<string,string>>", std::vector<std::map<std::string, std::string>>{{{"a", "b"}}},
       R"({"k":[{"a":"b"}]})"},
      {"unordered_map<string,vector<bool>>", std::unordered_map<std::string, std::vector<bool>>{{"t", {true}}},
       R"({"k":{"t":[true]}})"},
      {"vector<uint8_t>: numbers", std::vector<std::uint8_t>{1, 200}, R"({"k":[1,200]})"},
      {"list<any>", std::list<std::any>{1, std::vector<std::vector<int>>{{2}}}, R"({"k":[1,[[2]]]})"},
      {"map<int,int>", std::map<int, int>{{1, 2}}, std::nullopt},
      {"vector<any> holding a user type", std::vector<std::any>{Opaque{}}, std::nullopt},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(kp::jsonString(std::unordered_map<std::string, std::any>{{"k", row.value}}, false), row.json)
        << row.name;
  }

  // Statically typed values bridge by their type, at any depth.
  EXPECT_EQ(kp::jsonString(std::unordered_map<std::string, std::list<std::vector<std::uint8_t>>>{{"k", {{7}}}}, false),
            R"({"k":[[7]]})");
  EXPECT_EQ(kp::jsonString(std::unordered_map<std::string, std::vector<std::vector<int>>>{{"k", {{1}, {}}}}, false),
            R"({"k":[[1],[]]})");
  EXPECT_EQ(kp::jsonString(std::unordered_map<std::string, std::string_view>{{"k", "v"}}, false), R"({"k":"v"})");
  EXPECT_EQ(kp::jsonString(std::unordered_map<std::string, std::variant<int, std::string>>{{"k", "x"}}, false),
            R"({"k":"x"})");
  EXPECT_EQ(kp::jsonString(std::unordered_map<std::string, std::vector<std::uint8_t>>{{"k", {1}}}, false),
            R"({"k":[1]})");  // numbers, as every integer vector
  EXPECT_EQ(kp::jsonString(std::unordered_map<std::string, ios::Data>{{"k", {1}}}, false), std::nullopt);  // bytes
}

TEST_F(DictionaryKPExt, JsonStringOfValuesNestedTooDeeplyIsNothing) {
  // A chain of std::any arrays: at the limit it is written, one deeper it is not.
  auto nested = [](std::size_t arrays) {
    std::any value = 1;
    for (std::size_t i = 0; i < arrays; ++i) {
      std::vector<std::any> wrapper;
      wrapper.push_back(std::move(value));  // moved, not copied: linear in the depth
      value = std::move(wrapper);
    }
    return std::unordered_map<std::string, std::any>{{"k", value}};
  };
  const std::size_t limit = ios::JSONSerialization::maximumNestingDepth;
  const auto atLimit = kp::jsonString(nested(limit - 1), false);  // the dictionary is one level
  ASSERT_TRUE(atLimit.has_value());
  EXPECT_EQ(atLimit->size(), 5 + 2 * (limit - 1) + 1 + 1);  // {"k": [[...1...]] }
  EXPECT_EQ(kp::jsonString(nested(limit), false), std::nullopt);
  EXPECT_EQ(kp::jsonString(nested(2000), true), std::nullopt);
}

TEST_F(DictionaryKPExt, ConstructionFromSequences) {
  const std::vector<std::string> words{"apple", "avocado", "banana", "", "cherry"};
  const auto byInitial = kp::makeDictionary(words, [](const std::string& w) -> std::optional<char> {
    if (w.empty()) return std::nullopt;
    return w.front();
  });
  EXPECT_EQ(byInitial,
            (std::unordered_map<char, std::string>{{'a', "avocado"}, {'b', "banana"}, {'c', "cherry"}}));

  EXPECT_EQ(kp::makeDictionary(std::vector<std::string>{"a", "b", "c"}, std::vector<int>{1, 2}),
            (Dict{{"a", 1}, {"b", 2}}));
  EXPECT_EQ(kp::makeDictionary(std::vector<std::string>{"a", "b", "a"}, std::vector<int>{1, 2, 3}),
            (Dict{{"a", 3}, {"b", 2}}));
}

TEST_F(DictionaryKPExt, LowercaseAllKeys) {
  struct Row {
    const char* name;
    Dict start;
    Dict end;
  };
  const Row rows[] = {
      {"collision keeps the upper-case spelling's value", {{"A", 1}, {"a", 2}}, {{"a", 1}}},
      {"already lower case", {{"x", 1}, {"y", 2}}, {{"x", 1}, {"y", 2}}},
      {"mixed", {{"HeLLo", 1}, {"World", 2}}, {{"hello", 1}, {"world", 2}}},
      {"full case mapping", {{"\xC3\x84PFEL", 1}}, {{"\xC3\xA4pfel", 1}}},
      {"invalid UTF-8 key stays", {{std::string("\xFF" "A"), 1}}, {{std::string("\xFF" "A"), 1}}},
      {"empty", {}, {}},
  };
  for (const Row& row : rows) {
    // The result must not depend on the iteration order: try several bucket layouts.
    for (std::size_t buckets : {1u, 7u, 64u}) {
      Dict d(row.start.begin(), row.start.end(), buckets);
      kp::lowercaseAllKeys(d);
      EXPECT_EQ(d, row.end) << row.name << " with " << buckets << " buckets";
    }
  }
}

}  // namespace
