// Two containers of every kind around the nested scalars and std::any.
#include "KPQuaslet/values/internal/AnyShapes.h"

namespace kp::values_internal::any_shapes {

void addTwoLevelShapes(AnyShapeTable& table) {
  [&]<class... S>(TypeList<S...>) { (addAround<2, S>(table, AllContainers{}), ...); }(NestedScalars{});
  addAround<2, std::any>(table, AllContainers{});
}

}  // namespace kp::values_internal::any_shapes
