// File: platform/uikit/UIColor.h
//
// The platform colour: an immutable value over a CGColor, with the platform's
// conversions to red-green-blue, hue-saturation-brightness and white.
//
//   ios::UIColor c = ios::UIColor::colorWithRed(1, 0.5, 0, 1);
//   ios::CGFloat h = 0, s = 0, b = 0, a = 0;
//   c.getHue(h, s, b, a);                               // h = 30/360, s = 1, b = 1
//
// Fidelity: RGB components are kept unclamped (extended range); hue, saturation,
// brightness and white inputs are clamped to 0...1. black, white, gray, darkGray,
// lightGray and clear are grey-space colours (two components), the other named colours
// RGB. getWhite() of an RGB colour is the Rec. 601 luma 0.299 r + 0.587 g + 0.114 b.
// Pattern colours convert to nothing (the getters answer false). Two colours are equal
// when their spaces and components are; hash() agrees with that. Dynamic (light/dark)
// colours and colour-space conversion beyond grey/RGB are absent.
#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>

#include "platform/coregraphics/CGColor.h"
#include "platform/coregraphics/CGGeometry.h"

namespace ios {

class UIImage;

class UIColor {
 public:
  // Colours in device RGB (components kept as given).
  [[nodiscard]] static UIColor colorWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
  // Colours from hue, saturation, brightness (all clamped to 0...1; hue 1 is hue 0).
  [[nodiscard]] static UIColor colorWithHue(CGFloat hue, CGFloat saturation, CGFloat brightness, CGFloat alpha);
  // Grey-space colours (white and alpha clamped to 0...1).
  [[nodiscard]] static UIColor colorWithWhite(CGFloat white, CGFloat alpha);
  // A colour wrapping `color` as it is.
  [[nodiscard]] static UIColor colorWithCGColor(const CGColor& color);
  // A colour that tiles `image`: no components, every conversion answers false.
  [[nodiscard]] static UIColor colorWithPatternImage(const UIImage& image);

  // The named colours.
  [[nodiscard]] static UIColor black();
  [[nodiscard]] static UIColor darkGray();
  [[nodiscard]] static UIColor lightGray();
  [[nodiscard]] static UIColor white();
  [[nodiscard]] static UIColor gray();
  [[nodiscard]] static UIColor red();
  [[nodiscard]] static UIColor green();
  [[nodiscard]] static UIColor blue();
  [[nodiscard]] static UIColor cyan();
  [[nodiscard]] static UIColor yellow();
  [[nodiscard]] static UIColor magenta();
  [[nodiscard]] static UIColor orange();
  [[nodiscard]] static UIColor purple();
  [[nodiscard]] static UIColor brown();
  [[nodiscard]] static UIColor clear();

  [[nodiscard]] const CGColor& cgColor() const { return color_; }

  // getRed() / getHue() / getWhite()
  //
  // Write the colour's components to the outputs and answer true; answer false and
  // leave the outputs untouched when the colour cannot be converted (a pattern colour).
  bool getRed(CGFloat& red, CGFloat& green, CGFloat& blue, CGFloat& alpha) const;
  bool getHue(CGFloat& hue, CGFloat& saturation, CGFloat& brightness, CGFloat& alpha) const;
  bool getWhite(CGFloat& white, CGFloat& alpha) const;

  // The same colour, in the same space, with `alpha`.
  [[nodiscard]] UIColor withAlphaComponent(CGFloat alpha) const;

  // setFill() / setStroke() / set()
  //
  // Make this colour the fill colour, the stroke colour, or both, of the current
  // UIKit graphics context; nothing happens without a context.
  void setFill() const;
  void setStroke() const;
  void set() const;

  // "UIExtendedSRGBColorSpace 1 0.5 0 1", "UIExtendedGrayColorSpace 1 1" or
  // "UIPatternColor"; '.' is the decimal point whatever the C numeric locale.
  [[nodiscard]] std::string description() const;

  [[nodiscard]] std::size_t hash() const;
  friend bool operator==(const UIColor& a, const UIColor& b) { return a.color_ == b.color_; }
  friend std::ostream& operator<<(std::ostream& os, const UIColor& color) { return os << color.description(); }

 private:
  explicit UIColor(CGColor color) : color_(color) {}

  CGColor color_;
};

}  // namespace ios

template <>
struct std::hash<::ios::UIColor> {
  std::size_t operator()(const ::ios::UIColor& color) const noexcept { return color.hash(); }
};
