#include "KPQuaslet/text/URL+KPExt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <string>
#include <unordered_map>

#include "tests/support/TemporaryDirectory.h"
#include "tests/support/VideoFixtures.h"

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

  // Items already there come back exactly as written, however they are escaped.
  struct Row {
    const char* before;
    Parameters added;
    const char* after;
  };
  const Row rows[] = {
      {"https://h.example/search?q=hello+world&lang=en", {}, "https://h.example/search?q=hello+world&lang=en"},
      {"https://h/p?q=a+b", {{"r", "c+d"}}, "https://h/p?q=a+b&r=c%2Bd"},
      {"https://h/p?path=/x/y&t=%7E", {{"n", "1"}}, "https://h/p?path=/x/y&t=%7E&n=1"},
      {"https://h/p?a=%41&&b=", {{"c", ""}}, "https://h/p?a=%41&&b=&c="},
      {"https://h/p?", {{"c", "1"}}, "https://h/p?c=1"},
      {"https://h/p?=x;y", {}, "https://h/p?=x;y"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(kp::appendingQueryParameters(url(row.before), row.added).absoluteString(), row.after) << row.before;
  }

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

// Removing 50,000 components one at a time copied the whole URL each time: minutes.
// In one pass it takes milliseconds; the bound leaves a margin of a hundred times for
// slow and instrumented builds.
TEST(URLKPExt, DeletingAllPathComponentsOfAVeryLongPathTakesOnePass) {
  std::string text = "https://h";
  for (int i = 0; i < 50000; ++i) text += "/a";
  text += "?q=1#f";
  const auto start = std::chrono::steady_clock::now();
  const ios::URL stripped = kp::deletingAllPathComponents(url(text.c_str()));
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(stripped.absoluteString(), "https://h/?q=1#f");
  EXPECT_LT(took.count(), 10.0);
}

}  // namespace

namespace {

TEST(URLKPExt, ThumbnailTakesTheFrameAtTheNearestWholeSecond) {
  kp_test::TemporaryDirectory dir;
  const std::string path = dir.path() + "/clip.mkv";
  kp_test::writeColourClip(path, {{255, 0, 0}, {0, 0, 255}});
  const ios::URL clip = ios::URL::fileURLWithPath(path);

  const std::pair<double, bool> rows[] = {{0.0, true}, {0.4, true}, {0.6, false}, {1.0, false}};  // true: red
  for (const auto& [time, isRed] : rows) {
    const auto image = kp::thumbnail(clip, time);
    ASSERT_TRUE(image) << time;
    EXPECT_EQ(image->scale(), 1.0);
    const ios::CGImage& bitmap = *image->cgImage();
    const auto bytes = bitmap.dataProvider()->bytes();
    const std::size_t at = (bitmap.height() / 2) * bitmap.bytesPerRow() + (bitmap.width() / 2) * 4;
    EXPECT_EQ(bytes[at] > 200 && bytes[at + 2] < 60, isRed) << time;
    EXPECT_EQ(bytes[at + 2] > 200 && bytes[at] < 60, !isRed) << time;
  }
  EXPECT_FALSE(kp::thumbnail(clip, 2.0)) << "past the end";
  const std::string text = dir.path() + "/readme.mov";
  std::ofstream(text) << "plain words";
  EXPECT_FALSE(kp::thumbnail(ios::URL::fileURLWithPath(text), 0));
}

}  // namespace
