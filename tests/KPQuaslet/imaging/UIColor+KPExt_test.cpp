#include "KPQuaslet/imaging/UIColor+KPExt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Random.h"
#include "platform/uikit/UIImage.h"

namespace {

using ios::CGFloat;
using ios::UIColor;

// Red, green, blue and alpha as 0...255 integers (exact for k/255 components).
struct Bytes {
  int r, g, b;
  double a;
  friend bool operator==(const Bytes&, const Bytes&) = default;
};

std::ostream& operator<<(std::ostream& os, const Bytes& c) {
  return os << "(" << c.r << "," << c.g << "," << c.b << "," << c.a << ")";
}

Bytes bytes(const UIColor& c) {
  const auto rgb = kp::rgbComponents(c);
  return {static_cast<int>(std::lround(rgb.red * 255)), static_cast<int>(std::lround(rgb.green * 255)),
          static_cast<int>(std::lround(rgb.blue * 255)), rgb.alpha};
}

TEST(UIColorKPExt, LenientHexParser) {
  struct Row {
    std::string text;
    std::optional<Bytes> expected;
  };
  const std::vector<Row> rows = {
      {"#fff", Bytes{255, 255, 255, 1}},   {"0xfff", Bytes{255, 255, 255, 1}},
      {"0XFFF", Bytes{255, 255, 255, 1}},  {"fff", Bytes{255, 255, 255, 1}},
      {"#ff0000", Bytes{255, 0, 0, 1}},    {"12", Bytes{0, 0, 18, 1}},
      {"ff00ff00", Bytes{0, 255, 0, 1}},   {"ffffffff", Bytes{255, 255, 255, 1}},
      {"-1", Bytes{255, 255, 255, 1}},     {"+abc", Bytes{0, 10, 188, 1}},
      {"#f#0#a", Bytes{255, 0, 170, 1}},   {"0x0x0000ff", Bytes{0, 0, 255, 1}},
      {"000000000000000000ab", Bytes{0, 0, 171, 1}},
      {"", std::nullopt},                  {"#ggg", std::nullopt},
      {"0x", std::nullopt},                {"+-1", std::nullopt},
      {"--1", std::nullopt},               {"ffffffffffffffff", std::nullopt},
      {"0x00xxff", std::nullopt},          {" fff", std::nullopt},
      {"ff\xc3\xa9", std::nullopt},         {"#", std::nullopt},
  };
  for (const Row& row : rows) {
    const auto color = kp::makeColorHexString(row.text);
    ASSERT_EQ(color.has_value(), row.expected.has_value()) << row.text;
    if (color) {
      EXPECT_EQ(bytes(*color), *row.expected) << row.text;
    }
  }
  EXPECT_EQ(kp::alpha(*kp::makeColorHexString("fff", 2)), 1);
  EXPECT_EQ(kp::alpha(*kp::makeColorHexString("fff", -1)), 0);
  EXPECT_EQ(kp::alpha(*kp::makeColorHexString("fff", 0.25)), 0.25);
}

TEST(UIColorKPExt, StrictHexParser) {
  const UIColor transparentWhite = UIColor::colorWithWhite(1, 0);
  EXPECT_EQ(kp::makeColor("#abc"), kp::makeColor("#aabbcc"));
  EXPECT_EQ(bytes(kp::makeColor("aabbcc")), (Bytes{170, 187, 204, 1}));
  for (const char* text : {"abcd", "", "##abc", "#ggg", "abcdeg", "#12345", "\xc3\xa9\xc3\xa9\xc3\xa9"}) {
    EXPECT_EQ(kp::makeColor(text), transparentWhite) << text;
  }
  EXPECT_EQ(kp::makeColor("#abc").cgColor().numberOfComponents(), 4u);
}

TEST(UIColorKPExt, ComponentInitialisers) {
  EXPECT_FALSE(kp::makeColorRed(256, 0, 0));
  EXPECT_FALSE(kp::makeColorRed(0, -1, 0));
  EXPECT_EQ(bytes(*kp::makeColorRed(255, 255, 255, 1.5)), (Bytes{255, 255, 255, 1}));
  EXPECT_EQ(bytes(*kp::makeColorRed(0, 0, 0, -3)), (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(bytes(kp::makeColorHex(0x12345678, 0.5)), (Bytes{0x34, 0x56, 0x78, 0.5}));
  EXPECT_EQ(bytes(kp::makeColorHex(-1)), (Bytes{255, 255, 255, 1}));
  EXPECT_EQ(kp::makeColorR(255, 51, 0, 0.5), UIColor::colorWithRed(1, 0.2, 0, 0.5));
  EXPECT_EQ(kp::makeColorGray(51), UIColor::colorWithRed(0.2, 0.2, 0.2, 1));
}

TEST(UIColorKPExt, HexTextOut) {
  const UIColor orange = UIColor::colorWithRed(1, 0.5, 0, 1);
  EXPECT_EQ(kp::hex(orange), "#ff7f00");
  EXPECT_EQ(kp::hexRGBa(orange), "#ff7f00ff");
  EXPECT_EQ(kp::hex(UIColor::colorWithRed(0.999, -0.5, 0, 1)), "#fe0000");
  EXPECT_EQ(kp::hex(UIColor::white()), "#ffffff");  // grey space
  EXPECT_EQ(kp::hexRGBa(UIColor::clear()), "#00000000");
  EXPECT_EQ(kp::hex(UIColor::colorWithRed(0, 1.5, 0, 1)), "#017e00");  // 382 spills into red
  EXPECT_EQ(kp::hexRGBa(UIColor::colorWithRed(0, 1.5, 0, 1)), "#0017e00ff");
  // Non-finite components have a text too.
  EXPECT_EQ(kp::hex(UIColor::colorWithRed(NAN, 0, 0, 1)), "#000000");
  EXPECT_EQ(kp::hex(UIColor::colorWithRed(0, 0, INFINITY, 1)), "#ffffff");
  for (int k = 0; k < 256; ++k) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", k, 255 - k, k / 2);
    EXPECT_EQ(kp::hex(kp::makeColor(text)), text);
  }
}

TEST(UIColorKPExt, LuminosityAndItsPredicatesAtTheirLimits) {
  EXPECT_DOUBLE_EQ(kp::luminosity(UIColor::colorWithRed(1, 0, 0, 1)), 0.2126);
  // Grey-space colours have two components; they read as their white level.
  EXPECT_DOUBLE_EQ(kp::luminosity(UIColor::white()), 1.0);
  EXPECT_TRUE(kp::isWhite(UIColor::white()));
  EXPECT_TRUE(kp::isBlack(UIColor::black()));
  EXPECT_TRUE(kp::isDark(UIColor::black()));
  EXPECT_FALSE(kp::isDark(UIColor::colorWithRed(0.5, 0.5, 0.5, 1)));
  EXPECT_FALSE(kp::isBlackOrWhite(UIColor::colorWithRed(0.91, 0.95, 0.95, 1)));  // strict limits
  EXPECT_TRUE(kp::isBlackOrWhite(UIColor::colorWithRed(0.911, 0.95, 0.95, 1)));
  EXPECT_FALSE(kp::isBlackOrWhite(UIColor::colorWithRed(0.09, 0, 0, 1)));
  EXPECT_TRUE(kp::isBlackOrWhite(UIColor::colorWithRed(0.089, 0, 0, 1)));
  EXPECT_EQ(kp::luminosity(UIColor::colorWithPatternImage(ios::UIImage())), 0);
}

TEST(UIColorKPExt, ContrastAndDistinctness) {
  EXPECT_TRUE(kp::isContrasting(UIColor::black(), UIColor::white()));
  EXPECT_FALSE(kp::isContrasting(UIColor::red(), UIColor::red()));
  // A grey of luminance L against black: (L + 0.05) / 0.05 > 1.6 needs L > 0.03.
  EXPECT_FALSE(kp::isContrasting(UIColor::colorWithRed(0.03, 0.03, 0.03, 1), UIColor::black()));
  EXPECT_TRUE(kp::isContrasting(UIColor::colorWithRed(0.031, 0.031, 0.031, 1), UIColor::black()));
  EXPECT_FALSE(kp::isDistinct(UIColor::colorWithRed(0.5, 0.5, 0.5, 1), UIColor::colorWithRed(0.75, 0.25, 0.5, 0)));
  EXPECT_TRUE(kp::isDistinct(UIColor::colorWithRed(0.5, 0.5, 0.5, 1), UIColor::colorWithRed(0.5, 0.5, 0.76, 1)));
}

TEST(UIColorKPExt, DerivedColours) {
  EXPECT_EQ(kp::kp_binaryColor(UIColor::white()), UIColor::blue());
  EXPECT_EQ(kp::kp_binaryColor(UIColor::black()), UIColor::white());
  EXPECT_EQ(kp::kp_inverseColor(UIColor::colorWithRed(1, 0.25, 0, 0.5)), UIColor::colorWithRed(0, 0.75, 1, 0.5));
  const UIColor saturated = UIColor::colorWithHue(0.5, 0.3, 0.5, 1);
  EXPECT_EQ(kp::colorWithMinimumSaturation(saturated, 0.15), saturated);
  const auto raised = kp::hsbComponents(kp::color(UIColor::colorWithRed(0.5, 0.5, 0.5, 1), 0.15));
  EXPECT_EQ(raised.hue, 0);  // grey has hue 0: raised towards red
  EXPECT_DOUBLE_EQ(raised.saturation, 0.15);
  EXPECT_DOUBLE_EQ(raised.brightness, 0.5);
  EXPECT_EQ(kp::alpha(UIColor::red(), 0.5), UIColor::colorWithRed(1, 0, 0, 0.5));
  EXPECT_EQ(kp::redComponent(UIColor::colorWithPatternImage(ios::UIImage())), 0);
  EXPECT_EQ(kp::alpha(UIColor::colorWithPatternImage(ios::UIImage())), 0);
}

TEST(UIColorKPExt, Blending) {
  const UIColor mid = kp::makeColorBlending(UIColor::black(), UIColor::white(), 0.5);
  EXPECT_EQ(kp::rgbComponents(mid), (kp::RGBComponents{0.5, 0.5, 0.5, 1}));
  EXPECT_EQ(kp::makeColorBlending(UIColor::red(), UIColor::blue(), 0), UIColor::red());
  EXPECT_EQ(kp::makeColorBlending(UIColor::red(), UIColor::blue(), 1), UIColor::blue());
  EXPECT_EQ(kp::rgbComponents(kp::makeColorBlending(UIColor::colorWithRed(0.25, 0, 0, 1), UIColor::colorWithRed(0.5, 0, 0, 0.5), 2)),
            (kp::RGBComponents{0.75, 0, 0, 0}));  // extrapolated, not clamped
}

TEST(UIColorKPExt, HueArithmeticWraps) {
  const UIColor violet = UIColor::colorWithHue(0.75, 1, 1, 1);
  EXPECT_DOUBLE_EQ(kp::hsbComponents(kp::addHue(violet, 0.5, 0, 0, 0)).hue, 0.25);
  EXPECT_DOUBLE_EQ(kp::hsbComponents(kp::addHue(violet, -1, 0, 0, 0)).hue, 0.75);
  // A sum of exactly 1 stays 1, which is red again.
  EXPECT_EQ(kp::addHue(violet, 0.25, 0, 0, 0), UIColor::colorWithHue(1, 1, 1, 1));
  const UIColor quarter = UIColor::colorWithHue(0.25, 1, 1, 1);
  EXPECT_DOUBLE_EQ(kp::hsbComponents(kp::addHue(quarter, -0.5, 0, 0, 0)).hue, 0.75);
  EXPECT_DOUBLE_EQ(kp::hsbComponents(kp::addHue(quarter, 1e6 + 0.5, 0, 0, 0)).hue, 0.75);
  const auto capped = kp::hsbComponents(kp::addHue(quarter, 0, -1, 0.2, -0.5));
  EXPECT_EQ(capped.saturation, 0);
  EXPECT_EQ(capped.brightness, 1);
  EXPECT_EQ(capped.alpha, 0.5);
  // Infinite offsets used to loop forever: the hue stays.
  EXPECT_DOUBLE_EQ(kp::hsbComponents(kp::addHue(quarter, INFINITY, 0, 0, 0)).hue, 0.25);
  EXPECT_DOUBLE_EQ(kp::hsbComponents(kp::addHue(quarter, -std::numeric_limits<double>::max(), 0, 0, 0)).hue, 0.0);

  const UIColor base = UIColor::colorWithRed(0.5, 0.5, 0.5, 0.5);
  EXPECT_EQ(kp::addRed(base, 0.75, -0.5, 0.25, 0), UIColor::colorWithRed(1, 0, 0.75, 0.5));
  EXPECT_EQ(kp::addRgb(base, UIColor::colorWithRed(0.25, 0, 0, 1)), UIColor::colorWithRed(0.75, 0.5, 0.5, 0.5));
  EXPECT_EQ(kp::addRgba(base, UIColor::colorWithRed(0.25, 0, 0, 1)), UIColor::colorWithRed(0.75, 0.5, 0.5, 1));
  const UIColor halfCyan = UIColor::colorWithRed(0, 1, 1, 0.5);  // hue 0.5, saturation 1, brightness 1
  EXPECT_EQ(kp::addHsb(violet, halfCyan), kp::addHue(violet, 0.5, 1, 1, 0));
  EXPECT_EQ(kp::addHsba(violet.withAlphaComponent(0.25), halfCyan),
            kp::addHue(violet.withAlphaComponent(0.25), 0.5, 1, 1, 0.5));
  EXPECT_EQ(kp::makeColor("+abcde"), kp::makeColor("0abcde"));  // one sign is part of the number
}

TEST(UIColorKPExt, RandomColoursDrawInOrder) {
  std::vector<std::uint32_t> words = {0x80000000, 0, 0x40000000, 0, 0xC0000000, 0, 0x20000000, 0};
  std::size_t next = 0;
  ios::testing::ScopedRandomSource source([&] { return words[next++ % words.size()]; });
  EXPECT_EQ(kp::randomColor(false), UIColor::colorWithRed(0.5, 0.25, 0.75, 1));
  EXPECT_EQ(next, 6u);
  next = 0;
  EXPECT_EQ(kp::randomColor(true), UIColor::colorWithRed(0.5, 0.25, 0.75, 0.125));
  EXPECT_EQ(next, 8u);
}

}  // namespace
