#include "KPQuaslet/imaging/UIColor+KPExt.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/coreimage/CIColor.h"
#include "platform/foundation/Random.h"

namespace kp {
namespace {

// getRed / getHue / getWhite with every output set to 0 first.
RGBComponents readRGB(const UIColor& color) {
  RGBComponents c;
  color.getRed(c.red, c.green, c.blue, c.alpha);
  return c;
}

HSBComponents readHSB(const UIColor& color) {
  HSBComponents c;
  color.getHue(c.hue, c.saturation, c.brightness, c.alpha);
  return c;
}

// The stored red, green and blue: grey colours repeat their white level, colours
// without components are 0.
struct Stored {
  CGFloat c0 = 0, c1 = 0, c2 = 0;
};

Stored storedComponents(const UIColor& color) {
  const auto components = color.cgColor().components();
  if (components.size() >= 4) return {components[0], components[1], components[2]};
  if (components.size() >= 2) return {components[0], components[0], components[0]};
  return {};
}

CGFloat rec709(CGFloat r, CGFloat g, CGFloat b) { return 0.2126 * r + 0.7152 * g + 0.0722 * b; }

// A sum capped at 1 and set to 0 at or below 0.
CGFloat clampSum(CGFloat v) {
  if (v > 1) v = 1;
  if (v <= 0) v = 0;
  return v;
}

bool isASCII(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The three characters of `text` each written twice.
std::string doubled(std::string_view text) {
  std::string out;
  for (char c : text) out.append(2, c);
  return out;
}

// A signed 64-bit number in base 16 with at most one leading sign; nothing for anything
// else (empty text, other characters, out of range).
std::optional<std::int64_t> parseHex64(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
  std::uint64_t magnitude = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, 16);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  constexpr std::uint64_t kLimit = 0x7FFFFFFFFFFFFFFFull;
  if (negative) {
    if (magnitude > kLimit + 1) return std::nullopt;
    return static_cast<std::int64_t>(0 - magnitude);
  }
  if (magnitude > kLimit) return std::nullopt;
  return static_cast<std::int64_t>(magnitude);
}

UIColor colorFromBits(std::int64_t value, CGFloat alpha) {
  const auto bits = static_cast<std::uint64_t>(value);
  return UIColor::colorWithRed(static_cast<CGFloat>((bits >> 16) & 255) / 255,
                               static_cast<CGFloat>((bits >> 8) & 255) / 255, static_cast<CGFloat>(bits & 255) / 255,
                               alpha);
}

// One channel of the hex text: at or below 0 (or NaN) is 0, times 255, truncated.
std::int64_t hexChannel(CGFloat component) {
  if (!(component > 0)) return 0;
  const CGFloat product = std::min(component * 255, 16777215.0);
  return static_cast<std::int64_t>(product);
}

CGFloat clampTransparency(CGFloat t) {
  if (t < 0) return 0;
  if (t > 1) return 1;
  return t;
}

}  // namespace

UIColor makeColorR(CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
  return UIColor::colorWithRed(r / 255, g / 255, b / 255, a);
}

UIColor makeColorHex(std::int64_t hex, CGFloat alpha) { return colorFromBits(hex, alpha); }

std::optional<UIColor> makeColorRed(std::int64_t red, std::int64_t green, std::int64_t blue, CGFloat transparency) {
  for (std::int64_t channel : {red, green, blue}) {
    if (channel < 0 || channel > 255) return std::nullopt;
  }
  return UIColor::colorWithRed(static_cast<CGFloat>(red) / 255, static_cast<CGFloat>(green) / 255,
                               static_cast<CGFloat>(blue) / 255, clampTransparency(transparency));
}

std::optional<UIColor> makeColorHexString(std::string_view hexString, CGFloat transparency) {
  // Any other character fails the number parse below, whatever the length rules say.
  if (!isASCII(hexString)) return std::nullopt;
  std::string text;
  if (hexString.size() >= 2 && hexString[0] == '0' && (hexString[1] == 'x' || hexString[1] == 'X')) {
    for (std::size_t i = 0; i < hexString.size(); ++i) {
      if (hexString[i] == '0' && i + 1 < hexString.size() && (hexString[i + 1] == 'x' || hexString[i + 1] == 'X')) {
        ++i;
        continue;
      }
      text.push_back(hexString[i]);
    }
  } else if (!hexString.empty() && hexString.front() == '#') {
    for (char c : hexString) {
      if (c != '#') text.push_back(c);
    }
  } else {
    text = hexString;
  }
  if (text.size() == 3) text = doubled(text);
  const auto value = parseHex64(text);
  if (!value) return std::nullopt;
  return colorFromBits(*value, clampTransparency(transparency));
}

UIColor makeColor(std::string_view text) {
  const UIColor transparentWhite = UIColor::colorWithWhite(1, 0);
  if (!isASCII(text)) return transparentWhite;
  if (!text.empty() && text.front() == '#') text.remove_prefix(1);
  if (text.size() != 3 && text.size() != 6) return transparentWhite;
  const std::string digits = text.size() == 3 ? doubled(text) : std::string(text);
  const auto value = parseHex64(digits);
  if (!value) return transparentWhite;
  return colorFromBits(*value, 1);
}

UIColor makeColorGray(CGFloat gray, CGFloat alpha) {
  return UIColor::colorWithRed(gray / 255, gray / 255, gray / 255, alpha);
}

UIColor makeColorBlending(const UIColor& c1, const UIColor& c2, CGFloat ratio) {
  const ios::CIColor a(c1), b(c2);
  return UIColor::colorWithRed(a.red() + (b.red() - a.red()) * ratio, a.green() + (b.green() - a.green()) * ratio,
                               a.blue() + (b.blue() - a.blue()) * ratio,
                               a.alpha() + (b.alpha() - a.alpha()) * ratio);
}

UIColor randomColor(bool randomAlpha) {
  const CGFloat red = ios::drand48();
  const CGFloat green = ios::drand48();
  const CGFloat blue = ios::drand48();
  const CGFloat alpha = randomAlpha ? ios::drand48() : 1.0;
  return UIColor::colorWithRed(red, green, blue, alpha);
}

CGFloat redComponent(const UIColor& color) { return readRGB(color).red; }
CGFloat greenComponent(const UIColor& color) { return readRGB(color).green; }
CGFloat blueComponent(const UIColor& color) { return readRGB(color).blue; }
CGFloat alpha(const UIColor& color) { return readRGB(color).alpha; }
RGBComponents rgbComponents(const UIColor& color) { return readRGB(color); }
HSBComponents hsbComponents(const UIColor& color) { return readHSB(color); }

CGFloat luminosity(const UIColor& color) {
  const Stored s = storedComponents(color);
  return rec709(s.c0, s.c1, s.c2);
}

bool isDark(const UIColor& color) { return luminosity(color) < 0.5; }

bool isBlack(const UIColor& color) {
  const Stored s = storedComponents(color);
  return s.c0 < 0.09 && s.c1 < 0.09 && s.c2 < 0.09;
}

bool isWhite(const UIColor& color) {
  const Stored s = storedComponents(color);
  return s.c0 > 0.91 && s.c1 > 0.91 && s.c2 > 0.91;
}

bool isBlackOrWhite(const UIColor& color) { return isWhite(color) || isBlack(color); }

bool isContrasting(const UIColor& color, const UIColor& with) {
  const RGBComponents a = readRGB(color), b = readRGB(with);
  const CGFloat la = rec709(a.red, a.green, a.blue), lb = rec709(b.red, b.green, b.blue);
  const CGFloat lmax = std::max(la, lb), lmin = std::min(la, lb);
  return (lmax + 0.05) / (lmin + 0.05) > 1.6;
}

bool isDistinct(const UIColor& color, const UIColor& from) {
  const RGBComponents a = readRGB(color), b = readRGB(from);
  return std::fabs(a.red - b.red) > 0.25 || std::fabs(a.green - b.green) > 0.25 || std::fabs(a.blue - b.blue) > 0.25;
}

UIColor kp_inverseColor(const UIColor& color) {
  const RGBComponents c = readRGB(color);
  return UIColor::colorWithRed(1 - c.red, 1 - c.green, 1 - c.blue, c.alpha);
}

UIColor kp_binaryColor(const UIColor& color) {
  CGFloat white = 0, a = 0;
  color.getWhite(white, a);
  return white > 0.92 ? UIColor::blue() : UIColor::white();
}

UIColor colorWithMinimumSaturation(const UIColor& color, CGFloat minSaturation) {
  const HSBComponents c = readHSB(color);
  if (c.saturation < minSaturation) return UIColor::colorWithHue(c.hue, minSaturation, c.brightness, c.alpha);
  return color;
}

UIColor color(const UIColor& color, CGFloat minSaturation) { return colorWithMinimumSaturation(color, minSaturation); }

UIColor alpha(const UIColor& color, CGFloat value) { return color.withAlphaComponent(value); }

std::string hex(const UIColor& color) {
  const RGBComponents c = readRGB(color);
  const std::int64_t value = (hexChannel(c.red) << 16) | (hexChannel(c.green) << 8) | hexChannel(c.blue);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "#%06llx", static_cast<unsigned long long>(value));
  return buffer;
}

std::string hexRGBa(const UIColor& color) {
  const RGBComponents c = readRGB(color);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "#%02llx%02llx%02llx%02llx",
                static_cast<unsigned long long>(hexChannel(c.red)),
                static_cast<unsigned long long>(hexChannel(c.green)),
                static_cast<unsigned long long>(hexChannel(c.blue)),
                static_cast<unsigned long long>(hexChannel(c.alpha)));
  return buffer;
}

UIColor addHue(const UIColor& color, CGFloat hue, CGFloat saturation, CGFloat brightness, CGFloat alpha) {
  const HSBComponents c = readHSB(color);
  CGFloat h = c.hue + hue;
  if (!std::isfinite(h)) {
    // Repeated steps of 1 would never reach 0...1.
    h = c.hue;
  } else {
    // The same result as adding, then subtracting, 1 until the hue is in 0...1.
    if (h < 0) h += std::ceil(-h);
    if (h > 1) h -= std::ceil(h - 1);
    h = std::clamp(h, 0.0, 1.0);
  }
  return UIColor::colorWithHue(h, clampSum(c.saturation + saturation), clampSum(c.brightness + brightness),
                               clampSum(c.alpha + alpha));
}

UIColor addRed(const UIColor& color, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
  const RGBComponents c = readRGB(color);
  return UIColor::colorWithRed(clampSum(c.red + red), clampSum(c.green + green), clampSum(c.blue + blue),
                               clampSum(c.alpha + alpha));
}

UIColor addHsb(const UIColor& color, const UIColor& hsb) {
  const HSBComponents o = readHSB(hsb);
  return addHue(color, o.hue, o.saturation, o.brightness, 0);
}

UIColor addHsba(const UIColor& color, const UIColor& hsba) {
  const HSBComponents o = readHSB(hsba);
  return addHue(color, o.hue, o.saturation, o.brightness, o.alpha);
}

UIColor addRgb(const UIColor& color, const UIColor& rgb) {
  const RGBComponents o = readRGB(rgb);
  return addRed(color, o.red, o.green, o.blue, 0);
}

UIColor addRgba(const UIColor& color, const UIColor& rgba) {
  const RGBComponents o = readRGB(rgba);
  return addRed(color, o.red, o.green, o.blue, o.alpha);
}

}  // namespace kp
