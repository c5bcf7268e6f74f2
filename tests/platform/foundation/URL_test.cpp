#include "platform/foundation/URL.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace {

struct LastComponentRow {
  const char* text;
  std::optional<std::string> last;  // nothing: not a valid URL string
};

TEST(URL, ParsesOrRejectsTextAndTakesTheLastPathComponent) {
  const LastComponentRow rows[] = {
      {"Store.x", "Store.x"},
      {"/Users/dev/App/Sources/Store.x", "Store.x"},
      {"file:///var/app/Store.x", "Store.x"},
      {"https://example.com/a/b/?q=1#frag", "b"},
      {"https://example.com", ""},
      {"/", "/"},
      {"dir/sub/", "sub"},
      {"caf%C3%A9.swift", "caf\u00e9.swift"},
      {"", std::nullopt},
      {"has space.x", std::nullopt},
      {"caf\u00e9.x", std::nullopt},
      {"bad%zz", std::nullopt},
      {"truncated%4", std::nullopt},
      {"a#b#c", std::nullopt},
      {"a<b>", std::nullopt},
      {"pipe|d", std::nullopt},
      {"http://[::1]:8080/x", "x"},
      {"/a[0]", std::nullopt},
  };
  for (const auto& row : rows) {
    auto url = ios::URL::fromString(row.text);
    if (!row.last) {
      EXPECT_FALSE(url.has_value()) << row.text;
      continue;
    }
    ASSERT_TRUE(url.has_value()) << row.text;
    EXPECT_EQ(url->lastPathComponent(), *row.last) << row.text;
  }
}

// Removing several components at once leaves what removing them one by one leaves.
TEST(URL, DeletingSeveralPathComponentsIsDeletingThemOneByOne) {
  for (const char* text : {"https://h/a/b/c?q#f", "https://h/a//b//", "//host//host/x", "/a//b/", "x//y", "x/y/z",
                           "x", "./a:b/c", "https://h", "https://h/", "///", "a/b/../c/./d"}) {
    const auto url = ios::URL::fromString(text);
    ASSERT_TRUE(url) << text;
    ios::URL stepped = *url;
    for (std::size_t count = 0; count <= 5; ++count) {
      EXPECT_EQ(url->deletingLastPathComponents(count), stepped) << text << " less " << count;
      stepped = stepped.deletingLastPathComponent();
    }
  }
}

TEST(URL, ExposesItsComponents) {
  auto url = ios::URL::fromString("https://user@example.com:8080/a%20b/c?x=1&y=2#top");
  ASSERT_TRUE(url);
  EXPECT_EQ(url->scheme(), "https");
  EXPECT_EQ(url->host(), "example.com");
  EXPECT_EQ(url->path(), "/a b/c");
  EXPECT_EQ(url->query(), "x=1&y=2");
  EXPECT_EQ(url->fragment(), "top");
  EXPECT_FALSE(url->isFileURL());
  EXPECT_FALSE(ios::URL::fromString("http://host:80x/")) << "a port is digits only";
}

TEST(URL, FileURLsEscapeWhatAURLCannotHold) {
  auto url = ios::URL::fileURLWithPath("/tmp/my file.txt");
  EXPECT_EQ(url.absoluteString(), "file:///tmp/my%20file.txt");
  EXPECT_EQ(url.path(), "/tmp/my file.txt");
  EXPECT_EQ(url.lastPathComponent(), "my file.txt");
  EXPECT_TRUE(url.isFileURL());
}

TEST(URL, RelativeFilePathsNameFilesInTheCurrentDirectory) {
  std::string here = std::filesystem::current_path().string();
  if (!here.ends_with('/')) here += '/';
  struct Row {
    const char* path;
    std::string expectedPath;
  };
  const Row rows[] = {
      {"a:b", here + "a:b"},          {"c:/d", here + "c:/d"},      {"x@y:80", here + "x@y:80"},
      {"dir/f.txt", here + "dir/f.txt"}, {"//srv/share", "//srv/share"},
  };
  for (const Row& row : rows) {
    const ios::URL url = ios::URL::fileURLWithPath(row.path);
    EXPECT_TRUE(url.isFileURL()) << row.path;
    EXPECT_EQ(url.host().value_or(""), "") << row.path;
    EXPECT_EQ(url.path(), row.expectedPath) << row.path;
  }
}

TEST(URL, PercentDecodingRejectsBrokenEscapesAndBrokenUTF8) {
  EXPECT_EQ(ios::removingPercentEncoding("a%2Fb"), "a/b");
  EXPECT_EQ(ios::removingPercentEncoding("%"), std::nullopt);
  EXPECT_EQ(ios::removingPercentEncoding("%G1"), std::nullopt);
  EXPECT_EQ(ios::removingPercentEncoding("%FF"), std::nullopt);
  EXPECT_EQ(ios::removingPercentEncoding("%E2%82"), std::nullopt);
  EXPECT_EQ(ios::removingPercentEncoding("%E2%82%AC"), "\u20ac");
}

}  // namespace
