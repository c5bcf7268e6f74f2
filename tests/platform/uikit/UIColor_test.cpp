#include "platform/uikit/UIColor.h"

#include <gtest/gtest.h>

#include <unordered_set>

#include "platform/coreimage/CIColor.h"
#include "platform/uikit/UIImage.h"
#include "tests/support/CommaDecimalLocale.h"

namespace {

using ios::CGFloat;
using ios::UIColor;

TEST(UIColor, NamedColoursKeepThePlatformSpaces) {
  EXPECT_EQ(UIColor::white().cgColor().numberOfComponents(), 2u);
  EXPECT_EQ(UIColor::black().cgColor().numberOfComponents(), 2u);
  EXPECT_EQ(UIColor::clear().cgColor().alpha(), 0);
  EXPECT_EQ(UIColor::blue().cgColor().numberOfComponents(), 4u);
  EXPECT_EQ(UIColor::white().description(), "UIExtendedGrayColorSpace 1 1");
  EXPECT_EQ(UIColor::orange().description(), "UIExtendedSRGBColorSpace 1 0.5 0 1");
}

TEST(UIColor, DescriptionHasADecimalPointInEveryLocale) {
  kp_test::CommaDecimalLocale comma;
  if (!comma.available()) GTEST_SKIP() << "no comma-decimal locale can be made here";
  EXPECT_EQ(UIColor::orange().description(), "UIExtendedSRGBColorSpace 1 0.5 0 1");
}

TEST(UIColor, ConversionsBetweenRGBHSBAndWhite) {
  CGFloat h = -1, s = -1, b = -1, a = -1;
  ASSERT_TRUE(UIColor::colorWithRed(1, 0.5, 0, 0.25).getHue(h, s, b, a));
  EXPECT_DOUBLE_EQ(h, 30.0 / 360);
  EXPECT_DOUBLE_EQ(s, 1);
  EXPECT_DOUBLE_EQ(b, 1);
  EXPECT_DOUBLE_EQ(a, 0.25);

  ASSERT_TRUE(UIColor::gray().getHue(h, s, b, a));  // grey: hue 0, saturation 0
  EXPECT_EQ(h, 0);
  EXPECT_EQ(s, 0);
  EXPECT_EQ(b, 0.5);

  CGFloat r = 0, g = 0, bl = 0;
  ASSERT_TRUE(UIColor::colorWithHue(240.0 / 360, 1, 1, 1).getRed(r, g, bl, a));
  EXPECT_EQ(r, 0);
  EXPECT_EQ(g, 0);
  EXPECT_EQ(bl, 1);
  ASSERT_TRUE(UIColor::colorWithHue(1, 1, 1, 1).getRed(r, g, bl, a));  // hue 1 is red
  EXPECT_EQ(r, 1);
  EXPECT_EQ(g, 0);

  CGFloat w = 0;
  ASSERT_TRUE(UIColor::colorWithRed(1, 1, 1, 1).getWhite(w, a));
  EXPECT_DOUBLE_EQ(w, 1);
  ASSERT_TRUE(UIColor::colorWithWhite(0.3, 0.5).getRed(r, g, bl, a));
  EXPECT_EQ(r, 0.3);
  EXPECT_EQ(bl, 0.3);
  EXPECT_EQ(a, 0.5);
}

TEST(UIColor, PatternColoursConvertToNothing) {
  const UIColor pattern = UIColor::colorWithPatternImage(ios::UIImage());
  CGFloat r = 7, g = 7, b = 7, a = 7;
  EXPECT_FALSE(pattern.getRed(r, g, b, a));
  EXPECT_FALSE(pattern.getHue(r, g, b, a));
  EXPECT_FALSE(pattern.getWhite(r, a));
  EXPECT_EQ(r, 7);
  EXPECT_EQ(pattern.cgColor().numberOfComponents(), 0u);
}

TEST(UIColor, EqualityHashAndAlpha) {
  EXPECT_EQ(UIColor::colorWithRed(1, 0, 0, 1), UIColor::red());
  EXPECT_FALSE(UIColor::colorWithRed(1, 1, 1, 1) == UIColor::white());  // other space
  EXPECT_EQ(UIColor::colorWithRed(-0.0, 0, 0, 1), UIColor::colorWithRed(0, 0, 0, 1));
  std::unordered_set<UIColor> set{UIColor::red(), UIColor::colorWithRed(1, 0, 0, 1), UIColor::colorWithRed(-0.0, 0, 0, 1),
                                  UIColor::colorWithRed(0, 0, 0, 1)};
  EXPECT_EQ(set.size(), 2u);
  const UIColor halfWhite = UIColor::white().withAlphaComponent(0.5);
  EXPECT_EQ(halfWhite, UIColor::colorWithWhite(1, 0.5));
  EXPECT_EQ(UIColor::colorWithRed(2, -1, 0, 1).cgColor().components()[0], 2);  // extended range kept
}

TEST(UIColor, CIColorReadsAnyColourAsRGBA) {
  const ios::CIColor grey(UIColor::colorWithWhite(0.25, 0.5));
  EXPECT_EQ(grey.red(), 0.25);
  EXPECT_EQ(grey.blue(), 0.25);
  EXPECT_EQ(grey.alpha(), 0.5);
  const ios::CIColor pattern(UIColor::colorWithPatternImage(ios::UIImage()));
  EXPECT_EQ(pattern.red(), 0);
  EXPECT_EQ(pattern.alpha(), 1);
}

}  // namespace
