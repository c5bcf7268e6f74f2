#include "KPQuaslet/text/NSAttributedString+KPExt.h"

#include <gtest/gtest.h>

#include <any>
#include <functional>
#include <string>

#include "KPQuaslet/text/String+KPConversion.h"
#include "platform/foundation/NSNumber.h"
#include "platform/uikit/UIFont.h"

namespace {

using Key = ios::NSAttributedString::Key;

// Latin with a combining accent, Cyrillic, Arabic, CJK and an emoji with a skin tone:
// 23 UTF-16 units.
const std::string kMixed = "Gru\u0308\u00dfe \u043c\u0438\u0440 \u0633\u0644\u0627\u0645 \u4f60\u597d \U0001F44B\U0001F3FD";

ios::NSAttributedString partlyRed() {
  ios::NSMutableAttributedString s(kMixed);
  s.addAttribute(Key::foregroundColor, ios::UIColor::red(), ios::NSRange{0, 4});
  return s;
}

TEST(NSAttributedStringKPExt, EachStyleCoversTheWholeMixedScriptTextAndKeepsOtherAttributes) {
  const ios::UIColor blue = ios::UIColor::colorWithRed(0, 0, 1, 1);
  struct Row {
    const char* name;
    std::function<ios::NSAttributedString(const ios::NSAttributedString&)> apply;
    std::string_view key;
    std::function<bool(const std::any&)> matches;
  };
  const Row rows[] = {
      {"bold", [](const auto& s) { return kp::bold(s); }, Key::font,
       [](const std::any& v) { return std::any_cast<ios::UIFont>(v) == ios::UIFont::boldSystemFont(14); }},
      {"italic", [](const auto& s) { return kp::italic(s); }, Key::font,
       [](const std::any& v) { return std::any_cast<ios::UIFont>(v) == ios::UIFont::italicSystemFont(14); }},
      {"underline", [](const auto& s) { return kp::underline(s); }, Key::underlineStyle,
       [](const std::any& v) { return std::any_cast<std::int64_t>(v) == 1; }},
      {"strikethrough", [](const auto& s) { return kp::strikethrough(s); }, Key::strikethroughStyle,
       [](const std::any& v) { return std::any_cast<ios::NSNumber>(v).integerValue() == 1; }},
      {"color", [&](const auto& s) { return kp::color(s, blue); }, Key::foregroundColor,
       [&](const std::any& v) { return std::any_cast<ios::UIColor>(v) == blue; }},
  };
  const ios::NSAttributedString source = partlyRed();
  ASSERT_EQ(source.length(), 23u);
  for (const Row& row : rows) {
    const ios::NSAttributedString styled = row.apply(source);
    EXPECT_EQ(styled.string(), kMixed) << row.name;
    for (std::size_t i : {std::size_t{0}, std::size_t{3}, std::size_t{4}, std::size_t{22}}) {
      const std::any value = styled.attribute(row.key, i);
      ASSERT_TRUE(value.has_value()) << row.name << " at " << i;
      EXPECT_TRUE(row.matches(value)) << row.name << " at " << i;
    }
    if (row.key != Key::foregroundColor) {
      EXPECT_EQ(std::any_cast<ios::UIColor>(styled.attribute(Key::foregroundColor, 3)), ios::UIColor::red())
          << row.name << ": the earlier colour stays";
      EXPECT_FALSE(styled.attribute(Key::foregroundColor, 4).has_value()) << row.name;
    }
    // The receiver is untouched.
    EXPECT_FALSE(source.attribute(row.key, 22).has_value()) << row.name;
  }
}

TEST(NSAttributedStringKPExt, ANewColourReplacesAPartialOneAsOneRun) {
  const ios::UIColor green = ios::UIColor::colorWithRed(0, 1, 0, 1);
  const ios::NSAttributedString styled = kp::color(partlyRed(), green);
  ios::NSRange run;
  EXPECT_EQ(std::any_cast<ios::UIColor>(styled.attribute(Key::foregroundColor, 0, &run)), green);
  EXPECT_EQ(run, (ios::NSRange{0, 23}));
  EXPECT_EQ(std::any_cast<ios::UIColor>(partlyRed().attribute(Key::foregroundColor, 0)), ios::UIColor::red());
}

TEST(NSAttributedStringKPExt, EmptyTextGivesAnEmptyCopyAndStringFormsAgree) {
  EXPECT_EQ(kp::bold(ios::NSAttributedString()).length(), 0u);
  EXPECT_EQ(kp::strikethrough(ios::NSAttributedString()).string(), "");
  const ios::NSAttributedString fromText = kp::underline(std::string_view("x\U0001F600"));
  ios::NSRange run;
  EXPECT_EQ(std::any_cast<std::int64_t>(fromText.attribute(Key::underlineStyle, 2, &run)), 1);
  EXPECT_EQ(run, (ios::NSRange{0, 3}));
}

}  // namespace
