// File: platform/quartzcore/CAAnimation.h
//
// Explicit layer animations (basic and keyframe) and the values they carry, and
// CATransaction's completion blocks.
//
//   auto shake = ios::CAKeyframeAnimation::make("transform");
//   shake->values = {ios::CATransform3DMakeTranslation(-5, 0, 0), ios::CATransform3DMakeTranslation(5, 0, 0)};
//   shake->duration = 0.07;
//   layer->add(shake, std::nullopt);
//
// Fidelity: animations are recorded, never interpolated: a layer keeps a copy of each
// animation added to it (so later changes to the caller's object do not reach it) and
// its model values stay as they are. A value is a CAPropertyValue, which stands for the
// boxed values the platform passes (NSValue, NSNumber, CGColor). Timing functions,
// fill modes, delegates and presentation layers are absent. A transaction's completion
// block runs on the main queue once the longest animation added during the
// transaction has had its time (at once when none was added).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/coregraphics/CGAffineTransform.h"
#include "platform/coregraphics/CGColor.h"
#include "platform/coregraphics/CGGeometry.h"
#include "platform/quartzcore/CATransform3D.h"
#include "platform/runtime/NSObject.h"

namespace ios {

// A value an animation or a recorded property change carries: nothing, a number, a
// geometry value, a transform, a colour (nullopt: no colour) or a flag.
using CAPropertyValue = std::variant<std::monostate, double, CGPoint, CGSize, CGRect, CATransform3D,
                                     CGAffineTransform, std::optional<CGColor>, bool>;

// A seconds count as the platform's animation timing gives it.
using CFTimeInterval = double;

class CAAnimation : public NSObject {
  IOS_RUNTIME_CLASS(CAAnimation, NSObject);

 public:
  CFTimeInterval duration = 0;
  CFTimeInterval beginTime = 0;
  float repeatCount = 0;
  bool autoreverses = false;
  bool isRemovedOnCompletion = true;

  // An independent copy of the animation, of the same class.
  [[nodiscard]] virtual std::shared_ptr<CAAnimation> copy() const;

 protected:
  CAAnimation() = default;
  void copyTimingTo(CAAnimation& other) const;
};

class CAPropertyAnimation : public CAAnimation {
  IOS_RUNTIME_CLASS(CAPropertyAnimation, CAAnimation);

 public:
  // The layer property the animation changes ("transform", "opacity" ...).
  std::optional<std::string> keyPath;

  [[nodiscard]] std::shared_ptr<CAAnimation> copy() const override;

 protected:
  CAPropertyAnimation() = default;
  explicit CAPropertyAnimation(std::optional<std::string> path) : keyPath(std::move(path)) {}
};

class CABasicAnimation : public CAPropertyAnimation {
  IOS_RUNTIME_CLASS(CABasicAnimation, CAPropertyAnimation);

 public:
  CAPropertyValue fromValue;
  CAPropertyValue toValue;
  CAPropertyValue byValue;

  [[nodiscard]] std::shared_ptr<CAAnimation> copy() const override;

 protected:
  CABasicAnimation() = default;
  explicit CABasicAnimation(std::optional<std::string> path) : CAPropertyAnimation(std::move(path)) {}
};

class CAKeyframeAnimation : public CAPropertyAnimation {
  IOS_RUNTIME_CLASS(CAKeyframeAnimation, CAPropertyAnimation);

 public:
  std::vector<CAPropertyValue> values;
  std::vector<double> keyTimes;

  [[nodiscard]] std::shared_ptr<CAAnimation> copy() const override;

 protected:
  CAKeyframeAnimation() = default;
  explicit CAKeyframeAnimation(std::optional<std::string> path) : CAPropertyAnimation(std::move(path)) {}
};

// CATransaction
//
// Groups layer changes. begin()/commit() nest; the completion block set inside the
// outermost transaction is scheduled on the main queue when it commits.
class CATransaction {
 public:
  static void begin();
  static void commit();
  // The block to run when the animations of the current transaction have finished.
  static void setCompletionBlock(std::function<void()> block);
  // Whether layer changes of the current transaction skip their implicit actions.
  [[nodiscard]] static bool disableActions();
  static void setDisableActions(bool disable);
  // The duration given to animations of the current transaction (0.25 by default).
  [[nodiscard]] static CFTimeInterval animationDuration();
  static void setAnimationDuration(CFTimeInterval duration);
};

namespace ca_internal {

// Called by CALayer::add(): the open transaction's completion waits for `duration` more.
void noteAnimationAdded(CFTimeInterval duration);

}  // namespace ca_internal
}  // namespace ios
