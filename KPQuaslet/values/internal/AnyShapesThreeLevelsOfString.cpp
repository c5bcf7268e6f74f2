// Three containers of every kind around std::string.
#include "KPQuaslet/values/internal/AnyShapes.h"

namespace kp::values_internal::any_shapes {

void addThreeLevelShapesOfString(AnyShapeTable& table) { addAround<3, std::string>(table, AllContainers{}); }

}  // namespace kp::values_internal::any_shapes
