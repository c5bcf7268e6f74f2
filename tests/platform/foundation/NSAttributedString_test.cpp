#include "platform/foundation/NSAttributedString.h"

#include <gtest/gtest.h>

#include <any>
#include <cstdint>
#include <string>

namespace {

using Key = ios::NSAttributedString::Key;

std::int64_t intAt(const ios::NSAttributedString& s, std::string_view key, std::size_t location,
                   ios::NSRange* range = nullptr) {
  const std::any value = s.attribute(key, location, range);
  return value.has_value() ? std::any_cast<std::int64_t>(value) : -1;
}

TEST(NSMutableAttributedString, AddingOverPartSplitsRunsAndEqualNeighboursJoin) {
  // "a😀bc": the emoji takes two UTF-16 units, so the text is 5 units long.
  ios::NSMutableAttributedString s("a\U0001F600bc", {{std::string(Key::underlineStyle), std::int64_t{1}}});
  ASSERT_EQ(s.length(), 5u);
  s.addAttribute(Key::strikethroughStyle, std::int64_t{2}, ios::NSRange{1, 2});
  ios::NSRange run;
  EXPECT_EQ(intAt(s, Key::strikethroughStyle, 0, &run), -1);
  EXPECT_EQ(run, (ios::NSRange{0, 1}));
  EXPECT_EQ(intAt(s, Key::strikethroughStyle, 2, &run), 2);
  EXPECT_EQ(run, (ios::NSRange{1, 2}));
  EXPECT_EQ(intAt(s, Key::underlineStyle, 2), 1) << "the other keys stay";
  EXPECT_EQ(intAt(s, Key::strikethroughStyle, 4, &run), -1);
  EXPECT_EQ(run, (ios::NSRange{3, 2}));

  // Setting the same value over the rest makes one run again: equal typed values, and
  // the pieces of the untyped underline the split left, compare equal.
  s.addAttribute(Key::strikethroughStyle, std::int64_t{2}, ios::NSRange{0, 5});
  EXPECT_EQ(intAt(s, Key::strikethroughStyle, 0, &run), 2);
  EXPECT_EQ(run, (ios::NSRange{0, 5}));
}

TEST(NSMutableAttributedString, MutableCopyLeavesTheSourceUnchanged) {
  const ios::NSAttributedString source("abc", {{std::string(Key::underlineStyle), std::int64_t{1}}});
  ios::NSMutableAttributedString copy = source.mutableCopy();
  copy.addAttribute(Key::underlineStyle, std::int64_t{9}, ios::NSRange{0, 3});
  EXPECT_EQ(intAt(copy, Key::underlineStyle, 1), 9);
  EXPECT_EQ(intAt(source, Key::underlineStyle, 1), 1);

  ios::NSMutableAttributedString empty = ios::NSAttributedString().mutableCopy();
  empty.addAttribute(Key::underlineStyle, std::int64_t{1}, ios::NSRange{0, 0});
  EXPECT_EQ(empty.length(), 0u);
}

TEST(NSMutableAttributedStringDeathTest, ARangePastTheEndStops) {
  ios::NSMutableAttributedString s("abc");
  EXPECT_DEATH(s.addAttribute(Key::underlineStyle, std::int64_t{1}, ios::NSRange{2, 2}), "range out of bounds");
}

}  // namespace
