#include "platform/foundation/JSONSerialization.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <string_view>

#include "platform/foundation/NSError.h"
#include "platform/foundation/StringCase.h"

namespace {

using ios::JSONSerialization;
using ios::PropertyList;

std::string text(const PropertyList::Data& bytes) { return std::string(bytes.begin(), bytes.end()); }

PropertyList sample() {
  return PropertyList::Dictionary{
      {"name", "Ann/Bo"},
      {"age", 42},
      {"ratio", 0.5},
      {"whole", 3.0},
      {"ok", true},
      {"none", nullptr},
      {"tags", PropertyList::Array{"a", 1, false}},
      {"empty", PropertyList::Array{}},
      {"nested", PropertyList::Dictionary{{"k", "v"}}},
  };
}

TEST(JSONSerialization, CompactFormHasNoWhitespaceAndEscapesSlashes) {
  EXPECT_EQ(text(JSONSerialization::data(sample())),
            R"({"age":42,"empty":[],"name":"Ann\/Bo","nested":{"k":"v"},"none":null,"ok":true,)"
            R"("ratio":0.5,"tags":["a",1,false],"whole":3})");
}

TEST(JSONSerialization, PrettyFormIndentsByTwoWithSpacedColons) {
  EXPECT_EQ(text(JSONSerialization::data(sample(), JSONSerialization::prettyPrinted)),
            "{\n"
            "  \"age\" : 42,\n"
            "  \"empty\" : [],\n"
            "  \"name\" : \"Ann\\/Bo\",\n"
            "  \"nested\" : {\n"
            "    \"k\" : \"v\"\n"
            "  },\n"
            "  \"none\" : null,\n"
            "  \"ok\" : true,\n"
            "  \"ratio\" : 0.5,\n"
            "  \"tags\" : [\n"
            "    \"a\",\n"
            "    1,\n"
            "    false\n"
            "  ],\n"
            "  \"whole\" : 3\n"
            "}");
}

TEST(JSONSerialization, ColonsAndSlashesInsideTextAreLeftAlone) {
  const PropertyList value = PropertyList::Dictionary{{"a:b", "c:\"d\"\\/"}};
  EXPECT_EQ(text(JSONSerialization::data(value, JSONSerialization::prettyPrinted)),
            "{\n  \"a:b\" : \"c:\\\"d\\\"\\\\\\/\"\n}");
  EXPECT_EQ(text(JSONSerialization::data(value, JSONSerialization::withoutEscapingSlashes)),
            R"({"a:b":"c:\"d\"\\/"})");
}

TEST(JSONSerialization, ValidityRules) {
  struct Row {
    const char* name;
    PropertyList value;
    bool valid;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const Row rows[] = {
      {"dictionary", sample(), true},
      {"array", PropertyList::Array{1, "x"}, true},
      {"top-level string", "x", false},
      {"top-level null", nullptr, false},
      {"NaN", PropertyList::Array{nan}, false},
      {"infinity", PropertyList::Dictionary{{"x", -inf}}, false},
      {"date", PropertyList::Dictionary{{"when", ios::Date()}}, false},
      {"bytes", PropertyList::Array{PropertyList::fromData({1, 2})}, false},
      {"invalid UTF-8 value", PropertyList::Array{std::string("\xC3\x28")}, false},
      {"invalid UTF-8 key", PropertyList::Dictionary{{std::string("\xFF"), 1}}, false},
      {"surrogate in UTF-8", PropertyList::Array{std::string("\xED\xA0\x80")}, false},
      {"overlong UTF-8", PropertyList::Array{std::string("\xC0\xAF")}, false},
      {"valid multi-byte UTF-8", PropertyList::Array{"h\xC3\xA9 \xF0\x9F\x98\x80"}, true},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(JSONSerialization::isValidJSONObject(row.value), row.valid) << row.name;
    if (!row.valid && (row.value.kind() == PropertyList::Kind::array ||
                       row.value.kind() == PropertyList::Kind::dictionary)) {
      EXPECT_THROW((void)JSONSerialization::data(row.value), JSONSerialization::InvalidObject) << row.name;
    }
  }
}

TEST(JSONSerialization, FragmentsNeedTheOption) {
  EXPECT_THROW((void)JSONSerialization::data("x"), JSONSerialization::InvalidObject);
  EXPECT_EQ(text(JSONSerialization::data("x", JSONSerialization::fragmentsAllowed)), "\"x\"");
  EXPECT_THROW((void)JSONSerialization::jsonObject(std::string_view("12")), ios::NSError);
  EXPECT_EQ(JSONSerialization::jsonObject(std::string_view("12"), JSONSerialization::readingFragmentsAllowed),
            PropertyList(12));
}

TEST(JSONSerialization, ReadsBackWhatItWrites) {
  for (auto options : {JSONSerialization::WritingOptions{0}, JSONSerialization::prettyPrinted}) {
    PropertyList back = JSONSerialization::jsonObject(JSONSerialization::data(sample(), options));
    const auto& entries = *back.dictionaryValue();
    EXPECT_EQ(entries.at("name"), PropertyList("Ann/Bo"));
    EXPECT_EQ(entries.at("age"), PropertyList(42));
    EXPECT_EQ(entries.at("ratio"), PropertyList(0.5));
    EXPECT_EQ(entries.at("whole"), PropertyList(3));  // written without a fraction
    EXPECT_EQ(entries.at("ok"), PropertyList(true));
    EXPECT_TRUE(entries.at("none").isNull());
    EXPECT_EQ(entries.at("tags"), (PropertyList::Array{"a", 1, false}));
  }
}

TEST(JSONSerialization, ReadingRejectsMalformedText) {
  for (const char* bad : {"", "{", "{\"a\":}", "[1,]", "{'a':1}", "[\"\xFF\"]"}) {
    try {
      (void)JSONSerialization::jsonObject(std::string_view(bad));
      ADD_FAILURE() << "accepted " << bad;
    } catch (const ios::NSError& error) {
      EXPECT_EQ(error, (ios::NSError{"NSCocoaErrorDomain", 3840}));
    }
  }
}

std::string nestedArrays(std::size_t depth, std::string_view inner = "1") {
  return std::string(depth, '[') + std::string(inner) + std::string(depth, ']');
}

// An array nested `depth` deep around 1, built without recursion.
PropertyList nestedValue(std::size_t depth) {
  PropertyList value = 1;
  for (std::size_t i = 0; i < depth; ++i) value = PropertyList::Array{value};
  return value;
}

bool refused(std::string_view json) {
  try {
    (void)JSONSerialization::jsonObject(json);
    return false;
  } catch (const ios::NSError& error) {
    EXPECT_EQ(error, (ios::NSError{"NSCocoaErrorDomain", 3840}));
    return true;
  }
}

TEST(JSONSerialization, ReadingStopsAtTheNestingLimit) {
  const std::size_t limit = JSONSerialization::maximumNestingDepth;
  struct Row {
    const char* name;
    std::string json;
    bool refused;
  };
  const Row rows[] = {
      {"at the limit", nestedArrays(limit), false},
      {"one past the limit", nestedArrays(limit + 1), true},
      {"20,000 arrays", nestedArrays(20'000), true},
      {"20,000 objects", std::string(20'000, '{'), true},
      {"objects and arrays", "{\"a\":" + nestedArrays(limit) + "}", true},
      {"brackets inside text", "[\"" + std::string(20'000, '[') + "\"]", false},
      {"escaped quotes inside text", "[\"\\\"[[[[\"]", false},
      {"unclosed at the limit", std::string(limit, '['), true},
  };
  for (const Row& row : rows) EXPECT_EQ(refused(row.json), row.refused) << row.name;
  EXPECT_EQ(JSONSerialization::jsonObject(nestedArrays(limit)), nestedValue(limit));
}

TEST(JSONSerialization, WritingStopsAtTheNestingLimit) {
  const std::size_t limit = JSONSerialization::maximumNestingDepth;
  EXPECT_TRUE(JSONSerialization::isValidJSONObject(nestedValue(limit)));
  EXPECT_EQ(text(JSONSerialization::data(nestedValue(limit))), nestedArrays(limit));
  const PropertyList tooDeep = nestedValue(limit + 1);
  EXPECT_FALSE(JSONSerialization::isValidJSONObject(tooDeep));
  EXPECT_THROW((void)JSONSerialization::data(tooDeep), JSONSerialization::InvalidObject);
  const PropertyList inDictionary = PropertyList::Dictionary{{"a", nestedValue(limit)}};
  EXPECT_FALSE(JSONSerialization::isValidJSONObject(inDictionary));
}

TEST(JSONSerialization, LargeNumbersKeepTheirValue) {
  const PropertyList big = PropertyList::Array{INT64_MAX, INT64_MIN, 1e300, 9007199254740994.0, -0.0};
  const PropertyList back = JSONSerialization::jsonObject(JSONSerialization::data(big));
  EXPECT_EQ(back, big);
  // Whole doubles up to 2^53 are written as integers and read back as such.
  EXPECT_EQ(JSONSerialization::jsonObject(JSONSerialization::data(PropertyList::Array{-4096.0})),
            (PropertyList::Array{-4096}));
  EXPECT_EQ(JSONSerialization::jsonObject(std::string_view("[18446744073709551615]")),
            (PropertyList::Array{18446744073709551615.0}));
}

TEST(PropertyList, KindsStayDistinct) {
  EXPECT_NE(PropertyList(1), PropertyList(true));
  EXPECT_NE(PropertyList(1), PropertyList(1.0));
  EXPECT_EQ(PropertyList(1).boolValue(), std::nullopt);
  EXPECT_EQ(PropertyList("x").integerValue(), std::nullopt);
  const PropertyList copy = PropertyList(PropertyList::Array{1, 2});
  const PropertyList other = copy;
  EXPECT_EQ(copy.arrayValue(), other.arrayValue());  // shared, immutable storage
  EXPECT_EQ(PropertyList::fromData({1, 2}).dataValue()->size(), 2u);
  EXPECT_EQ(PropertyList(PropertyList::Dictionary{{"a", 1}}).description(), "[\"a\": 1]");
}

TEST(StringCase, FullCaseMappingWithoutLocale) {
  EXPECT_EQ(ios::lowercased("HeLLo"), "hello");
  EXPECT_EQ(ios::lowercased("\xC3\x80" "B"), "\xC3\xA0" "b");    // ÀB -> àb
  EXPECT_EQ(ios::lowercased("\xC4\xB0"), "i\xCC\x87");           // İ -> i + combining dot
  EXPECT_EQ(ios::uppercased("stra\xC3\x9F" "e"), "STRASSE");      // ß -> SS
  EXPECT_EQ(ios::lowercased("\xFF" "A"), std::nullopt);
}

}  // namespace
