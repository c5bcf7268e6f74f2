// Three containers of every kind around bool.
#include "KPQuaslet/values/internal/AnyShapes.h"

namespace kp::values_internal::any_shapes {

void addThreeLevelShapesOfBool(AnyShapeTable& table) { addAround<3, bool>(table, AllContainers{}); }

}  // namespace kp::values_internal::any_shapes
