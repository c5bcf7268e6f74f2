// File: KPQuaslet/views/UIView+Shake.h
//
// A chained shake that respects VoiceOver.
//
//   kp::shake(*field, kp::ShakeDirection::horizontal, kp::DefaultValues::numberOfTimes,
//             kp::DefaultValues::totalDuration, [] { ... });
//
// The view swings 2 points to one side and the other, numberOfTimes + 1 moves of
// totalDuration / numberOfTimes seconds each, then moves back over the same time and
// the completion runs. Each move sets the layer's affine transform to a translation of
// the untransformed layer (replacing any transform the view had) and the shake ends at
// the identity: shakes running together interleave their moves on the same transform,
// and the view ends at rest.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <type_traits>

#include "platform/uikit/UIView.h"

namespace kp {

enum class ShakeDirection : std::int64_t { horizontal = 0, vertical = 1 };
[[nodiscard]] std::optional<ShakeDirection> fromRawValue(std::type_identity<ShakeDirection>, std::int64_t raw);
// The two directions, in declaration order.
[[nodiscard]] inline std::span<const ShakeDirection> allCases(std::type_identity<ShakeDirection>) {
  static constexpr ShakeDirection cases[] = {ShakeDirection::horizontal, ShakeDirection::vertical};
  return cases;
}
// The case name, as the value is printed.
[[nodiscard]] std::string ios_describe(ShakeDirection value);

// Values callers may pass to shake(); the library never reads them.
struct DefaultValues {
  static inline std::int64_t numberOfTimes = 5;
  static inline float totalDuration = 0.5f;
};

// shake(_:numberOfTimes:totalDuration:completion:)
//
// With VoiceOver running: does nothing, never calls the completion and answers the
// view. Otherwise starts the shake and answers null. A count below 1 makes no move:
// the completion is called on the main queue.
std::shared_ptr<ios::UIView> shake(ios::UIView& view, ShakeDirection direction, std::int64_t numberOfTimes,
                                   float totalDuration, std::function<void()> completion = {});

}  // namespace kp
