// Three containers of every kind around long long.
#include "KPQuaslet/values/internal/AnyShapes.h"

namespace kp::values_internal::any_shapes {

void addThreeLevelShapesOfLongLong(AnyShapeTable& table) { addAround<3, long long>(table, AllContainers{}); }

}  // namespace kp::values_internal::any_shapes
