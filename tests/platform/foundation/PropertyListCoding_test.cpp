#include "platform/foundation/internal/PropertyListCoding.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

using ios::PropertyList;
using ios::foundation_internal::appendPropertyListText;
using ios::foundation_internal::decodePropertyListDictionary;
using ios::foundation_internal::encodePropertyList;

struct TextCase {
  const char* name;
  PropertyList value;
};

// Every kind and the characters that JSON text escapes; each row is stored under a key
// of its own and also used as a key where it is text.
const TextCase kTextCases[] = {
    {"null", nullptr},
    {"true", true},
    {"false", false},
    {"zero", 0},
    {"most negative", std::numeric_limits<std::int64_t>::min()},
    {"most positive", std::numeric_limits<std::int64_t>::max()},
    {"whole double", 2.0},
    {"negative zero", -0.0},
    {"tiny double", 1e-7},
    {"huge double", 1e300},
    {"third", 1.0 / 3.0},
    {"seventeen digits", 123456789012345680.0},
    {"denormal", std::numeric_limits<double>::denorm_min()},
    {"nan", std::numeric_limits<double>::quiet_NaN()},
    {"infinity", std::numeric_limits<double>::infinity()},
    {"minus infinity", -std::numeric_limits<double>::infinity()},
    {"empty text", ""},
    {"quotes and backslashes", "a\"b\\c\"\\"},
    {"control characters", std::string("\b\t\n\f\r\x01\x1f\x7f", 8)},
    {"nul inside", std::string("a\0b", 3)},
    {"multi-byte", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"},
    {"not UTF-8", "\xff\xfe"},
    {"bytes", PropertyList::fromData({0, 1, 0xff})},
    {"no bytes", PropertyList::fromData({})},
    {"date", ios::Date::fromTimeIntervalSinceReferenceDate(-12.5)},
    {"array", PropertyList::Array{1, "x", PropertyList::Array{}, nullptr}},
    {"dictionary", PropertyList::Dictionary{{"\n", 1}, {"b", PropertyList::Dictionary{}}}},
};

// The text written straight from the values is the JSON form's dump(), byte for byte, so
// that files written either way are the same file.
TEST(PropertyListCoding, TextIsTheJSONFormsDump) {
  for (const TextCase& row : kTextCases) {
    SCOPED_TRACE(row.name);
    PropertyList::Dictionary entries{{row.name, row.value}};
    if (const std::string* text = row.value.stringValue()) entries.insert_or_assign(*text, row.value);
    std::string text;
    appendPropertyListText(entries, text);
    EXPECT_EQ(text, encodePropertyList(entries).dump());
  }
  PropertyList::Dictionary all;
  for (const TextCase& row : kTextCases) all.insert_or_assign(row.name, row.value);
  std::string text = "kept ";
  appendPropertyListText(all, text);
  EXPECT_EQ(text, "kept " + encodePropertyList(all).dump()) << "appended, not replaced";
  const auto decoded = decodePropertyListDictionary(nlohmann::json::parse(text.substr(5)));
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(encodePropertyList(*decoded).dump(), encodePropertyList(all).dump()) << "reads back as written";
  std::string empty;
  appendPropertyListText({}, empty);
  EXPECT_EQ(empty, R"({"dict":[]})");
}

TEST(PropertyListCoding, TextRefusesWhatTheFormRefuses) {
  const PropertyList::Dictionary large{{"k", PropertyList::fromUnsignedInteger(1ULL << 63)}};
  std::string text;
  EXPECT_THROW(appendPropertyListText(large, text), std::runtime_error);
  EXPECT_THROW((void)encodePropertyList(large), std::runtime_error);
}

}  // namespace
