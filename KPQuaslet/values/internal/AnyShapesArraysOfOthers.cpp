// std::array of a Boolean, a floating-point number or text, alone, in a std::vector and
// as a map value.
#include "KPQuaslet/values/internal/AnyShapes.h"

namespace kp::values_internal::any_shapes {

void addArrayShapesOfOthers(AnyShapeTable& table) { addArrays(table, TypeList<bool, float, double, std::string>{}); }

}  // namespace kp::values_internal::any_shapes
