// File: KPQuaslet/imaging/UIColor+KPExt.h
//
// Colour conveniences: colours from 0...255 components, 24-bit integers and hex text;
// hex text out; components; luminosity and the contrast and distinctness tests the
// palette extractor uses; saturation raising; clamped component arithmetic; blending
// and random colours.
//
//   ios::UIColor orange = *kp::makeColorHexString("#ff8000");
//   kp::hex(orange);                                         // "#ff8000"
//   kp::isContrasting(orange, ios::UIColor::black());        // true
//
// Components read through getRed / getHue / getWhite start at 0, so a colour that has
// no such form (a pattern colour) reads as 0 in every component. Inputs named r, g, b,
// red, green, blue and gray, and hex channels, are on the 0...255 scale (divided by 255).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/uikit/UIColor.h"

namespace kp {

using ios::CGFloat;
using ios::UIColor;

// ---------------------------------------------------------------------------------------
// Making colours

// makeColorR()
//
// Red r/255, green g/255, blue b/255 and alpha `a` as given (nothing is clamped).
[[nodiscard]] UIColor makeColorR(CGFloat r, CGFloat g, CGFloat b, CGFloat a = 1);

// makeColorHex()
//
// The colour of the 24-bit value in the low bits of `hex` (0xRRGGBB; higher bits are
// ignored) with `alpha`.
[[nodiscard]] UIColor makeColorHex(std::int64_t hex, CGFloat alpha = 1);

// makeColorRed()
//
// The colour of three 0...255 channels with `transparency` clamped to 0...1 as alpha;
// nothing when a channel is outside 0...255.
[[nodiscard]] std::optional<UIColor> makeColorRed(std::int64_t red, std::int64_t green, std::int64_t blue,
                                                  CGFloat transparency = 1);

// makeColorHexString()
//
// The lenient hex parser. A text starting with "0x" (either case) loses every "0x" and
// "0X" in it (one pass); otherwise a text starting with "#" loses every "#". Three
// characters are doubled (f0a reads ff00aa); any other length is taken as it is. The
// text is then a signed 64-bit number in base 16 (one leading + or - allowed) whose bits
// 16-23, 8-15 and 0-7 are red, green and blue ("ffffffff" and "-1" are white). Alpha is
// `transparency` clamped to 0...1. Nothing when the text is not such a number.
[[nodiscard]] std::optional<UIColor> makeColorHexString(std::string_view hexString, CGFloat transparency = 1);

// makeColor()
//
// The strict hex parser: one leading "#" is dropped; exactly 3 or 6 hex digits must
// remain (3 are doubled), giving an opaque colour. Any other text gives transparent
// white, UIColor(white: 1, alpha: 0); it never fails.
[[nodiscard]] UIColor makeColor(std::string_view text);

// makeColorGray()
//
// Red = green = blue = gray/255, with `alpha`.
[[nodiscard]] UIColor makeColorGray(CGFloat gray, CGFloat alpha = 1);

// makeColorBlending()
//
// Each of red, green, blue and alpha moved from `c1` towards `c2` by `ratio`:
// c1 + (c2 - c1) × ratio, read through CIColor; not clamped, any ratio allowed.
[[nodiscard]] UIColor makeColorBlending(const UIColor& c1, const UIColor& c2, CGFloat ratio);

// randomColor()
//
// Red, green and blue from three drand48() draws, in that order; alpha from a fourth
// draw when `randomAlpha`, else 1.
[[nodiscard]] UIColor randomColor(bool randomAlpha = false);

// ---------------------------------------------------------------------------------------
// Components

struct RGBComponents {
  CGFloat red = 0, green = 0, blue = 0, alpha = 0;
  friend bool operator==(const RGBComponents&, const RGBComponents&) = default;
};

struct HSBComponents {
  CGFloat hue = 0, saturation = 0, brightness = 0, alpha = 0;
  friend bool operator==(const HSBComponents&, const HSBComponents&) = default;
};

// redComponent() / greenComponent() / blueComponent() / alpha()
//
// One component from getRed (0 when the colour has no RGB form).
[[nodiscard]] CGFloat redComponent(const UIColor& color);
[[nodiscard]] CGFloat greenComponent(const UIColor& color);
[[nodiscard]] CGFloat blueComponent(const UIColor& color);
[[nodiscard]] CGFloat alpha(const UIColor& color);

// rgbComponents() / hsbComponents()
//
// All four components from getRed / getHue.
[[nodiscard]] RGBComponents rgbComponents(const UIColor& color);
[[nodiscard]] HSBComponents hsbComponents(const UIColor& color);

// ---------------------------------------------------------------------------------------
// Luminosity and predicates

// luminosity()
//
// 0.2126 r + 0.7152 g + 0.0722 b over the colour's components as they are stored (grey
// colours count their white level as r, g and b; pattern colours are 0).
[[nodiscard]] CGFloat luminosity(const UIColor& color);

// isDark()
//
// luminosity() below 0.5.
[[nodiscard]] bool isDark(const UIColor& color);

// isBlackOrWhite() / isBlack() / isWhite()
//
// The stored r, g and b all above 0.91 (white), or all below 0.09 (black).
[[nodiscard]] bool isBlackOrWhite(const UIColor& color);
[[nodiscard]] bool isBlack(const UIColor& color);
[[nodiscard]] bool isWhite(const UIColor& color);

// isContrasting()
//
// True when (Lmax + 0.05) / (Lmin + 0.05) > 1.6 for the two colours' luminances
// L = 0.2126 r + 0.7152 g + 0.0722 b (read through getRed).
[[nodiscard]] bool isContrasting(const UIColor& color, const UIColor& with);

// isDistinct()
//
// True when red, green or blue (from getRed) differ by more than 0.25; alpha is not
// compared.
[[nodiscard]] bool isDistinct(const UIColor& color, const UIColor& from);

// ---------------------------------------------------------------------------------------
// Derived colours

// kp_inverseColor()
//
// (1 - r, 1 - g, 1 - b) with the same alpha.
[[nodiscard]] UIColor kp_inverseColor(const UIColor& color);

// kp_binaryColor()
//
// Blue for a colour whose white level (getWhite) is above 0.92, white otherwise.
[[nodiscard]] UIColor kp_binaryColor(const UIColor& color);

// colorWithMinimumSaturation() / color(minSaturation:)
//
// The colour with its saturation raised to `minSaturation` (same hue, brightness and
// alpha) when it is below it; otherwise the colour itself.
[[nodiscard]] UIColor colorWithMinimumSaturation(const UIColor& color, CGFloat minSaturation);
[[nodiscard]] UIColor color(const UIColor& color, CGFloat minSaturation);

// alpha(_:)
//
// The colour with another alpha (withAlphaComponent).
[[nodiscard]] UIColor alpha(const UIColor& color, CGFloat value);

// ---------------------------------------------------------------------------------------
// Hex text

// hex()
//
// "#rrggbb" in lower-case digits: each component from getRed, at or below 0 counting
// as 0, times 255, truncated (0.999 gives fe). A component above 1 spills into the next
// channel's digits; NaN counts as 0 and products are capped at 0xffffff.
[[nodiscard]] std::string hex(const UIColor& color);

// hexRGBa()
//
// "#rrggbbaa" by the same rules, each channel printed with at least two digits.
[[nodiscard]] std::string hexRGBa(const UIColor& color);

// ---------------------------------------------------------------------------------------
// Component arithmetic

// addHue()
//
// Hue, saturation, brightness and alpha (from getHue) plus the offsets. The hue wraps
// into 0...1 (exactly 1 stays 1; a non-finite sum keeps the colour's hue); the others
// are capped at 1 and become 0 at or below 0.
[[nodiscard]] UIColor addHue(const UIColor& color, CGFloat hue, CGFloat saturation, CGFloat brightness,
                             CGFloat alpha);

// addRed()
//
// Red, green, blue and alpha (from getRed) plus the offsets, each capped at 1 and 0 at
// or below 0.
[[nodiscard]] UIColor addRed(const UIColor& color, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);

// addHsb() / addHsba()
//
// addHue() with the other colour's hue, saturation and brightness, and alpha offset 0
// (addHsb) or the other colour's alpha (addHsba).
[[nodiscard]] UIColor addHsb(const UIColor& color, const UIColor& hsb);
[[nodiscard]] UIColor addHsba(const UIColor& color, const UIColor& hsba);

// addRgb() / addRgba()
//
// addRed() with the other colour's red, green and blue, and alpha offset 0 (addRgb) or
// the other colour's alpha (addRgba).
[[nodiscard]] UIColor addRgb(const UIColor& color, const UIColor& rgb);
[[nodiscard]] UIColor addRgba(const UIColor& color, const UIColor& rgba);

}  // namespace kp
