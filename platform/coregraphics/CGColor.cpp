#include "platform/coregraphics/CGColor.h"

#include <algorithm>

namespace ios {

CGColor::CGColor(CGColorSpace space, std::initializer_list<CGFloat> components)
    : CGColor(space, std::span<const CGFloat>(components.begin(), components.size())) {}

CGColor::CGColor(CGColorSpace space, std::span<const CGFloat> components) : space_(space) {
  count_ = space.model() == CGColorSpaceModel::pattern ? 0 : space.numberOfComponents() + 1;
  const std::size_t n = std::min(count_, components.size());
  for (std::size_t i = 0; i < n; ++i) values_[i] = components[i] == 0.0 ? 0.0 : components[i];
}

CGColor CGColor::pattern() { return CGColor(); }

CGColor CGColor::copyWithAlpha(CGFloat alpha) const {
  CGColor copy = *this;
  if (copy.count_ > 0) copy.values_[copy.count_ - 1] = alpha == 0.0 ? 0.0 : alpha;
  return copy;
}

bool CGColor::rgba(CGFloat& red, CGFloat& green, CGFloat& blue, CGFloat& alpha) const {
  switch (space_.model()) {
    case CGColorSpaceModel::rgb:
      red = values_[0], green = values_[1], blue = values_[2], alpha = values_[3];
      return true;
    case CGColorSpaceModel::monochrome:
      red = green = blue = values_[0];
      alpha = values_[1];
      return true;
    default:
      return false;
  }
}

bool operator==(const CGColor& a, const CGColor& b) {
  if (!(a.space_ == b.space_) || a.count_ != b.count_) return false;
  for (std::size_t i = 0; i < a.count_; ++i) {
    // Compare as the same number: NaN never equals, -0 was stored as 0.
    if (!(a.values_[i] == b.values_[i])) return false;
  }
  return true;
}

}  // namespace ios
