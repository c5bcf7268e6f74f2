#include "KPQuaslet/text/URL+KPExt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <unordered_map>

namespace {

using Parameters = std::unordered_map<std::string, std::string>;

ios::URL url(const char* text) {
  auto parsed = ios::URL::fromString(text);
  EXPECT_TRUE(parsed) << text;
  return parsed.value_or(ios::URL::fileURLWithPath("/"));
}

TEST(URLKPExt, QueryParametersKeepTheLastValueAndDropValuelessItems) {
  struct Row {
    const char* text;
    std::optional<Parameters> expected;
  };
  const Row rows[] = {
      {"https://h/p", std::nullopt},
      {"https://h/p?", std::nullopt},
      {"https://h/p?a=1&a=2", Parameters{{"a", "2"}}},
      {"https://h/p?a&b=1", Parameters{{"b", "1"}}},
      {"https://h/p?a=1&a", Parameters{}},
      {"https://h/p?a=&b=x%26y%3Dz+w&c=caf%C3%A9", Parameters{{"a", ""}, {"b", "x&y=z+w"}, {"c", "caf\u00e9"}}},
      {"https://h/p?q=%E2%82%AC#a=9", Parameters{{"q", "\u20ac"}}},
  };
  for (const Row& row : rows) EXPECT_EQ(kp::queryParameters(url(row.text)), row.expected) << row.text;
}

TEST(URLKPExt, QueryValueTakesTheFirstItemAndComparesNamesExactly) {
  const ios::URL u = url("https://h/p?a=1&a=2&B=3&flag&caf%C3%A9=4");
  EXPECT_EQ(kp::queryValue(u, "a"), "1");
  EXPECT_EQ(kp::queryValue(u, "B"), "3");
  EXPECT_EQ(kp::queryValue(u, "b"), std::nullopt);
  EXPECT_EQ(kp::queryValue(u, "flag"), std::nullopt);
  EXPECT_EQ(kp::queryValue(u, "missing"), std::nullopt);
  EXPECT_EQ(kp::queryValue(u, "cafe\u0301"), "4") << "canonically equivalent names are equal";
  EXPECT_EQ(kp::queryValue(url("https://h/p"), "a"), std::nullopt);
}

TEST(URLKPExt, AppendingQueryParametersKeepsItemsAndOrdersNewOnesByName) {
  EXPECT_EQ(kp::appendingQueryParameters(url("https://h/p"), {{"z", "1"}, {"a", "2"}, {"m", "3"}}).absoluteString(),
            "https://h/p?a=2&m=3&z=1");
  EXPECT_EQ(kp::appendingQueryParameters(url("https://h/p?a=0#top"), {{"a", "x&y=z+ #"}}).absoluteString(),
            "https://h/p?a=0&a=x%26y%3Dz%2B%20%23#top");
  EXPECT_EQ(kp::appendingQueryParameters(url("https://h/p?k&v=1"), {}).absoluteString(), "https://h/p?k&v=1");
  EXPECT_EQ(kp::appendingQueryParameters(url("https://h/p"), {}).absoluteString(), "https://h/p?");

  const Parameters awkward = {{"text", "caf\u00e9 & co = 100%"}, {"sum", "1+1"}, {"e=mc", "2"}};
  ios::URL u = url("https://h/p?x=1");
  kp::appendQueryParameters(u, awkward);
  Parameters expected = awkward;
  expected["x"] = "1";
  EXPECT_EQ(kp::queryParameters(u), expected);
}

TEST(URLKPExt, DeletingAllPathComponentsLeavesTheRoot) {
  const std::pair<const char*, const char*> rows[] = {
      {"https://h/a/b", "https://h/"},
      {"https://h/a/b/?q=1#f", "https://h/?q=1#f"},
      {"https://h/a", "https://h/"},
      {"https://h/", "https://h/"},
      {"https://h", "https://h"},
      {"https://h?q=1", "https://h?q=1"},
      {"file:///var/app/Store.x", "file:///"},
      {"a/b/c", "a/"},
  };
  for (const auto& [text, expected] : rows) {
    EXPECT_EQ(kp::deletingAllPathComponents(url(text)).absoluteString(), expected) << text;
    ios::URL inPlace = url(text);
    kp::deleteAllPathComponents(inPlace);
    EXPECT_EQ(inPlace.absoluteString(), expected) << text;
  }
}

}  // namespace
