#include "KPQuaslet/imaging/Gradient.h"

#include <cmath>

#include "KPQuaslet/Helper/RawRepresentable.h"
#include "platform/foundation/Describe.h"

#include "KPQuaslet/imaging/internal/DrawingSupport.h"
#include "KPQuaslet/imaging/internal/ViewImages.h"
#include "platform/coregraphics/CGGradient.h"

namespace kp {

using ios::CGFloat;
using ios::CGPoint;
using ios::CGSize;

namespace {

constexpr CGFloat kPi = 3.141592653589793;

CGFloat radians(CGFloat degrees) { return degrees * kPi / 180; }

// The angle's start and end in unit coordinates.
CGPoint unitStart(CGFloat degrees) {
  const CGFloat r = radians(degrees);
  return {(std::cos(r) + 1) / 2, (1 - std::sin(r)) / 2};
}
CGPoint unitEnd(CGFloat degrees) {
  const CGFloat r = radians(degrees);
  return {(std::cos(r + kPi) + 1) / 2, (std::sin(r) + 1) / 2};
}

// The image of the current context at scale 1 (its point size is its pixel size).
std::optional<ios::UIImage> finish(const imaging_internal::ImageContext& context) {
  auto image = context.image();
  if (!image || !image->cgImage()) return std::nullopt;
  return ios::UIImage(image->cgImage());
}

}  // namespace

CGPoint KPDirection::startPoint() const {
  switch (kind_) {
    case Kind::top: return {0.5, 1.0};
    case Kind::left: return {1.0, 0.5};
    case Kind::right: return {0.0, 0.5};
    case Kind::bottom: return {0.5, 0.0};
    case Kind::degree: break;
  }
  return unitStart(degrees_);
}

CGPoint KPDirection::endPoint() const {
  switch (kind_) {
    case Kind::top: return {0.5, 0.0};
    case Kind::left: return {0.0, 0.5};
    case Kind::right: return {1.0, 0.5};
    case Kind::bottom: return {0.5, 1.0};
    case Kind::degree: break;
  }
  return unitEnd(degrees_);
}

CGPoint KPImageGradientDirection::startPoint(CGSize size) const {
  const CGFloat w = size.width, h = size.height;
  switch (kind_) {
    case Kind::toLeft: return {w, h / 2};
    case Kind::toRight: return {0, h / 2};
    case Kind::toTop: return {w / 2, h};
    case Kind::toBottom: return {w / 2, 0};
    case Kind::toBottomLeft: return {w, 0};
    case Kind::toBottomRight: return {0, 0};
    case Kind::toTopLeft: return {w, h};
    case Kind::toTopRight: return {0, h};
    case Kind::degree: break;
  }
  const CGPoint unit = unitStart(degrees_);
  return {w * unit.x, h * unit.y};
}

CGPoint KPImageGradientDirection::endPoint(CGSize size) const {
  const CGFloat w = size.width, h = size.height;
  switch (kind_) {
    case Kind::toLeft: return {0, h / 2};
    case Kind::toRight: return {w, h / 2};
    case Kind::toTop: return {w / 2, 0};
    case Kind::toBottom: return {w / 2, h};
    case Kind::toBottomLeft: return {0, h};
    case Kind::toBottomRight: return {w, h};
    case Kind::toTopLeft: return {0, 0};
    case Kind::toTopRight: return {w, 0};
    case Kind::degree: break;
  }
  const CGPoint unit = unitEnd(degrees_);
  return {w * unit.x, h * unit.y};
}

std::optional<ios::UIImage> makeImage(CGSize size, KPImageGradientDirection direction,
                                      const std::vector<ios::UIColor>& colors) {
  imaging_internal::ImageContext context(size, false, 0);
  if (!context || colors.empty()) return std::nullopt;
  if (colors.size() == 1) {
    context->setFillColor(colors.front().cgColor());
    context->fill(ios::CGRect{{0, 0}, size});
    return finish(context);
  }
  // Four components a colour, read through the RGB conversion so that grey colours
  // (two components of their own) line up with their locations.
  std::vector<CGFloat> components, locations;
  const auto last = static_cast<CGFloat>(colors.size() - 1);
  for (std::size_t i = 0; i < colors.size(); ++i) {
    CGFloat r = 0, g = 0, b = 0, a = 0;
    if (!colors[i].getRed(r, g, b, a)) return std::nullopt;
    components.insert(components.end(), {r, g, b, a});
    locations.push_back(static_cast<CGFloat>(i) / last);
  }
  auto gradient = ios::CGGradient::make(ios::CGColorSpaceCreateDeviceRGB(), components, locations);
  if (!gradient) return std::nullopt;
  context->drawLinearGradient(*gradient, direction.startPoint(size), direction.endPoint(size), 0);
  return finish(context);
}

std::optional<ios::UIImage> makeImageFillColor(const ios::UIColor& fillColor, CGSize size) {
  imaging_internal::ImageContext context(size, false, 0);
  if (!context) return std::nullopt;
  fillColor.setFill();
  context->fill(ios::CGRect{{0, 0}, size});
  return finish(context);
}

std::string ios_describe(KPDirection::Kind kind) {
  using Kind = KPDirection::Kind;
  switch (kind) {
    case Kind::degree: return "degree";
    case Kind::top: return "top";
    case Kind::left: return "left";
    case Kind::right: return "right";
    case Kind::bottom: return "bottom";
  }
  notACase("KPDirection", static_cast<std::int64_t>(kind));
}

std::string ios_describe(KPImageGradientDirection::Kind kind) {
  using Kind = KPImageGradientDirection::Kind;
  switch (kind) {
    case Kind::degree: return "degree";
    case Kind::toLeft: return "toLeft";
    case Kind::toRight: return "toRight";
    case Kind::toTop: return "toTop";
    case Kind::toBottom: return "toBottom";
    case Kind::toBottomLeft: return "toBottomLeft";
    case Kind::toBottomRight: return "toBottomRight";
    case Kind::toTopLeft: return "toTopLeft";
    case Kind::toTopRight: return "toTopRight";
  }
  notACase("KPImageGradientDirection", static_cast<std::int64_t>(kind));
}

namespace {

// A direction's case name, with the angle for degree(d).
template <class Direction>
std::string describeDirection(const Direction& direction) {
  if (direction.kind() != Direction::Kind::degree) return ios_describe(direction.kind());
  return "degree(" + ios::describeDouble(direction.degrees()) + ")";
}

}  // namespace

std::string ios_describe(const KPDirection& direction) { return describeDirection(direction); }
std::string ios_describe(const KPImageGradientDirection& direction) { return describeDirection(direction); }

namespace imaging_internal {

std::optional<ios::UIImage> gradientBackgroundImage(const std::vector<ios::UIColor>& colors,
                                                    KPImageGradientDirection direction) {
  if (colors.empty()) return std::nullopt;
  if (colors.size() == 1) return makeImageFillColor(colors.front(), {1, 1});
  return makeImage({1, 1}, direction, colors);
}

}  // namespace imaging_internal
}  // namespace kp
