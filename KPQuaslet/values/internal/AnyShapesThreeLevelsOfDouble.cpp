// Three containers of every kind around double.
#include "KPQuaslet/values/internal/AnyShapes.h"

namespace kp::values_internal::any_shapes {

void addThreeLevelShapesOfDouble(AnyShapeTable& table) { addAround<3, double>(table, AllContainers{}); }

}  // namespace kp::values_internal::any_shapes
