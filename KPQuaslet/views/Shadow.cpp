#include "KPQuaslet/views/Shadow.h"

#include "platform/foundation/Describe.h"

namespace kp {

const Shadow& Shadow::None() {
  static const Shadow preset(ios::UIColor::clear(), ios::UIOffset{0, 0}, 0, 0);
  return preset;
}

const Shadow& Shadow::Light() {
  static const Shadow preset(ios::UIColor::black(), ios::UIOffset{0, 0}, 0.3, 1);
  return preset;
}

const Shadow& Shadow::Dark() {
  static const Shadow preset(ios::UIColor::black(), ios::UIOffset{2, 2}, 0.8, 3);
  return preset;
}

std::string Shadow::debugDescription() const {
  return "Shadow(offset: " + ios::describe(offset) + ", opacity: " + ios::describeDouble(opacity) +
         ", radius: " + ios::describeDouble(radius) + ", color: " + color.description() + ")";
}

}  // namespace kp
