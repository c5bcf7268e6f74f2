#include "platform/foundation/URLComponents.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;
using Item = ios::URLQueryItem;

TEST(URLComponents, ReadsQueryItemsInOrderDecodedWithPlusKept) {
  auto parts = ios::URLComponents::fromString("https://h/p?a=1&b&c=&d=x%20y+z&a=2&=v#f");
  ASSERT_TRUE(parts);
  EXPECT_THAT(*parts->queryItems(),
              ElementsAre(Item{"a", "1"}, Item{"b", std::nullopt}, Item{"c", ""}, Item{"d", "x y+z"},
                          Item{"a", "2"}, Item{"", "v"}));
  EXPECT_EQ(ios::URLComponents::fromString("https://h/p")->queryItems(), std::nullopt);
  EXPECT_THAT(*ios::URLComponents::fromString("https://h/p?")->queryItems(), ElementsAre());
  EXPECT_THAT(*ios::URLComponents::fromString("h?k=%FF")->queryItems(), ElementsAre(Item{"k", "%FF"}))
      << "a text that is not UTF-8 once decoded stays as written";
  EXPECT_FALSE(ios::URLComponents::fromString("has space"));
}

TEST(URLComponents, SettingItemsEncodesSeparatorsSoTheyReadBackUnchanged) {
  auto parts = ios::URLComponents::fromString("https://h/p?old=1#frag");
  ASSERT_TRUE(parts);
  const std::vector<Item> items = {{"a&b", "c=d"}, {"plus+", "1 + 1 # two"}, {"caf\u00e9", std::nullopt},
                                   {"empty", ""}, {"bytes", std::string("\xff", 1)}};
  parts->setQueryItems(items);
  EXPECT_EQ(parts->string(), "https://h/p?a%26b=c%3Dd&plus%2B=1%20%2B%201%20%23%20two&caf%C3%A9&empty=&bytes=%FF#frag");
  ASSERT_TRUE(parts->url());
  auto reread = ios::URLComponents::fromURL(*parts->url(), false)->queryItems();
  ASSERT_TRUE(reread);
  EXPECT_EQ(reread->size(), items.size());
  for (std::size_t i = 0; i + 1 < items.size(); ++i) EXPECT_EQ((*reread)[i], items[i]);

  parts->setQueryItems(std::vector<Item>{});
  EXPECT_EQ(parts->string(), "https://h/p?#frag");
  parts->setQueryItems(std::nullopt);
  EXPECT_EQ(parts->string(), "https://h/p#frag");
}

TEST(URL, DeletingTheLastPathComponentKeepsTheSlashQueryAndFragment) {
  const std::pair<const char*, const char*> rows[] = {
      {"https://h/a/b?q=1#f", "https://h/a/?q=1#f"},
      {"https://h/a/b/", "https://h/a/"},
      {"https://h/a", "https://h/"},
      {"https://h/", "https://h/"},
      {"https://h", "https://h"},
      {"dir/file", "dir/"},
      {"file", "./"},
  };
  for (const auto& [text, expected] : rows) {
    EXPECT_EQ(ios::URL::fromString(text)->deletingLastPathComponent().absoluteString(), expected) << text;
  }
}

}  // namespace
