// Three containers of every kind around int.
#include "KPQuaslet/values/internal/AnyShapes.h"

namespace kp::values_internal::any_shapes {

void addThreeLevelShapesOfInt(AnyShapeTable& table) { addAround<3, int>(table, AllContainers{}); }

}  // namespace kp::values_internal::any_shapes
