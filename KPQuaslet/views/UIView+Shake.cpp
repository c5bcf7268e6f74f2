#include "KPQuaslet/views/UIView+Shake.h"

#include "KPQuaslet/Helper/RawRepresentable.h"
#include "platform/coregraphics/CGAffineTransform.h"
#include "platform/dispatch/DispatchQueue.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIAccessibility.h"

namespace kp {

std::optional<ShakeDirection> fromRawValue(std::type_identity<ShakeDirection>, std::int64_t raw) {
  if (raw == 0) return ShakeDirection::horizontal;
  if (raw == 1) return ShakeDirection::vertical;
  return std::nullopt;
}

namespace {

// What each step of a running shake carries to the next.
struct ShakeState {
  std::shared_ptr<ios::CALayer> layer;
  ShakeDirection direction;
  double stepDuration;
  std::function<void()> completion;
};

void finish(const std::shared_ptr<ShakeState>& state) {
  ios::UIView::animate(
      state->stepDuration, [state] { state->layer->setAffineTransform(ios::CGAffineTransform()); },
      [state](bool) {
        if (state->completion) state->completion();
      });
}

// One move to `side` (+1 or -1) x 2 points from the untransformed layer, then the next
// move or the way back.
void step(const std::shared_ptr<ShakeState>& state, std::int64_t remaining, ios::CGFloat side) {
  const ios::CGFloat distance = 2 * side;
  const ios::CGAffineTransform moved = state->direction == ShakeDirection::horizontal
                                           ? ios::CGAffineTransformMakeTranslation(distance, 0)
                                           : ios::CGAffineTransformMakeTranslation(0, distance);
  ios::UIView::animate(
      state->stepDuration, [state, moved] { state->layer->setAffineTransform(moved); },
      [state, remaining, side](bool) {
        if (remaining <= 0) {
          finish(state);
        } else {
          step(state, remaining - 1, -side);
        }
      });
}

}  // namespace

std::shared_ptr<ios::UIView> shake(ios::UIView& view, ShakeDirection direction, std::int64_t numberOfTimes,
                                   float totalDuration, std::function<void()> completion) {
  if (ios::UIAccessibilityIsVoiceOverRunning()) {
    return std::static_pointer_cast<ios::UIView>(view.shared_from_this());
  }
  if (numberOfTimes < 1) {
    // No step length can be derived from a count below 1: nothing moves.
    if (completion) ios::DispatchQueue::main().async(std::move(completion));
    return nullptr;
  }
  auto state = std::make_shared<ShakeState>(ShakeState{
      view.layer(), direction, static_cast<double>(totalDuration) / static_cast<double>(numberOfTimes),
      std::move(completion)});
  step(state, numberOfTimes, 1);
  return nullptr;
}

std::string ios_describe(ShakeDirection value) {
  switch (value) {
    case ShakeDirection::horizontal: return "horizontal";
    case ShakeDirection::vertical: return "vertical";
  }
  notACase("ShakeDirection", static_cast<std::int64_t>(value));
}

}  // namespace kp
