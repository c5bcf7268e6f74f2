// std::array of an integer, alone, in a std::vector and as a map value.
#include "KPQuaslet/values/internal/AnyShapes.h"

namespace kp::values_internal::any_shapes {

void addArrayShapesOfIntegers(AnyShapeTable& table) {
  addArrays(table, TypeList<int, unsigned, long, unsigned long, long long, unsigned long long>{});
}

}  // namespace kp::values_internal::any_shapes
