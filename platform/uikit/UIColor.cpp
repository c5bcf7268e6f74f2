#include "platform/uikit/UIColor.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "platform/coregraphics/CGContext.h"
#include "platform/foundation/internal/NumberText.h"
#include "platform/uikit/UIGraphics.h"

namespace ios {
namespace {

CGFloat clamp01(CGFloat v) { return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0); }

// Converts hue, saturation, brightness in 0...1 to red, green, blue (the hexcone model).
void hsbToRGB(CGFloat h, CGFloat s, CGFloat v, CGFloat& r, CGFloat& g, CGFloat& b) {
  if (s == 0) {
    r = g = b = v;
    return;
  }
  const CGFloat h6 = (h >= 1.0 ? 0.0 : h) * 6.0;
  const int sector = static_cast<int>(std::floor(h6));
  const CGFloat f = h6 - sector;
  const CGFloat p = v * (1 - s);
  const CGFloat q = v * (1 - s * f);
  const CGFloat t = v * (1 - s * (1 - f));
  switch (sector) {
    case 0: r = v, g = t, b = p; break;
    case 1: r = q, g = v, b = p; break;
    case 2: r = p, g = v, b = t; break;
    case 3: r = p, g = q, b = v; break;
    case 4: r = t, g = p, b = v; break;
    default: r = v, g = p, b = q; break;
  }
}

}  // namespace

UIColor UIColor::colorWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
  return UIColor(CGColor(CGColorSpaceCreateDeviceRGB(), {red, green, blue, alpha}));
}

UIColor UIColor::colorWithHue(CGFloat hue, CGFloat saturation, CGFloat brightness, CGFloat alpha) {
  CGFloat r = 0, g = 0, b = 0;
  hsbToRGB(clamp01(hue), clamp01(saturation), clamp01(brightness), r, g, b);
  return colorWithRed(r, g, b, clamp01(alpha));
}

UIColor UIColor::colorWithWhite(CGFloat white, CGFloat alpha) {
  return UIColor(CGColor(CGColorSpaceCreateDeviceGray(), {clamp01(white), clamp01(alpha)}));
}

UIColor UIColor::colorWithCGColor(const CGColor& color) { return UIColor(color); }

UIColor UIColor::colorWithPatternImage(const UIImage& /*image*/) { return UIColor(CGColor::pattern()); }

UIColor UIColor::black() { return colorWithWhite(0, 1); }
UIColor UIColor::darkGray() { return colorWithWhite(1.0 / 3.0, 1); }
UIColor UIColor::lightGray() { return colorWithWhite(2.0 / 3.0, 1); }
UIColor UIColor::white() { return colorWithWhite(1, 1); }
UIColor UIColor::gray() { return colorWithWhite(0.5, 1); }
UIColor UIColor::red() { return colorWithRed(1, 0, 0, 1); }
UIColor UIColor::green() { return colorWithRed(0, 1, 0, 1); }
UIColor UIColor::blue() { return colorWithRed(0, 0, 1, 1); }
UIColor UIColor::cyan() { return colorWithRed(0, 1, 1, 1); }
UIColor UIColor::yellow() { return colorWithRed(1, 1, 0, 1); }
UIColor UIColor::magenta() { return colorWithRed(1, 0, 1, 1); }
UIColor UIColor::orange() { return colorWithRed(1, 0.5, 0, 1); }
UIColor UIColor::purple() { return colorWithRed(0.5, 0, 0.5, 1); }
UIColor UIColor::brown() { return colorWithRed(0.6, 0.4, 0.2, 1); }
UIColor UIColor::clear() { return colorWithWhite(0, 0); }

bool UIColor::getRed(CGFloat& red, CGFloat& green, CGFloat& blue, CGFloat& alpha) const {
  return color_.rgba(red, green, blue, alpha);
}

bool UIColor::getHue(CGFloat& hue, CGFloat& saturation, CGFloat& brightness, CGFloat& alpha) const {
  CGFloat r = 0, g = 0, b = 0, a = 0;
  if (!color_.rgba(r, g, b, a)) return false;
  const CGFloat maximum = std::max({r, g, b});
  const CGFloat minimum = std::min({r, g, b});
  const CGFloat delta = maximum - minimum;
  CGFloat h = 0;
  if (delta > 0) {
    if (r == maximum) {
      h = (g - b) / delta;
      if (h < 0) h += 6;
    } else if (g == maximum) {
      h = (b - r) / delta + 2;
    } else {
      h = (r - g) / delta + 4;
    }
  }
  hue = h / 6;
  saturation = maximum > 0 ? delta / maximum : 0;
  brightness = maximum;
  alpha = a;
  return true;
}

bool UIColor::getWhite(CGFloat& white, CGFloat& alpha) const {
  if (color_.colorSpace().model() == CGColorSpaceModel::monochrome) {
    white = color_.components()[0];
    alpha = color_.components()[1];
    return true;
  }
  CGFloat r = 0, g = 0, b = 0, a = 0;
  if (!color_.rgba(r, g, b, a)) return false;
  white = 0.299 * r + 0.587 * g + 0.114 * b;
  alpha = a;
  return true;
}

UIColor UIColor::withAlphaComponent(CGFloat alpha) const { return UIColor(color_.copyWithAlpha(alpha)); }

void UIColor::setFill() const {
  if (auto context = UIGraphicsGetCurrentContext()) context->setFillColor(color_);
}

void UIColor::setStroke() const {
  if (auto context = UIGraphicsGetCurrentContext()) context->setStrokeColor(color_);
}

void UIColor::set() const {
  setFill();
  setStroke();
}

std::string UIColor::description() const {
  std::string text;
  switch (color_.colorSpace().model()) {
    case CGColorSpaceModel::rgb: text = "UIExtendedSRGBColorSpace"; break;
    case CGColorSpaceModel::monochrome: text = "UIExtendedGrayColorSpace"; break;
    default: return "UIPatternColor";
  }
  for (CGFloat c : color_.components()) text += " " + foundation_internal::shortNumberText(c);
  return text;
}

std::size_t UIColor::hash() const {
  std::size_t h = static_cast<std::size_t>(color_.colorSpace().model()) + 0x9e3779b97f4a7c15ull;
  for (CGFloat c : color_.components()) {
    h ^= std::bit_cast<std::uint64_t>(c) + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
  }
  return h;
}

}  // namespace ios
