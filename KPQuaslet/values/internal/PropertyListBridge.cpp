#include "KPQuaslet/values/internal/PropertyListBridge.h"

#include "KPQuaslet/values/internal/AnyShapes.h"

namespace kp::values_internal {
namespace any_shapes {

bool neverNil(const std::any&) { return false; }

}  // namespace any_shapes

namespace {

using any_shapes::AnyShape;
using any_shapes::AnyShapeTable;

const AnyShapeTable& table() {
  static const AnyShapeTable* built = [] {
    auto* t = new AnyShapeTable;
    any_shapes::addScalarShapes(*t);
    any_shapes::addTwoLevelShapes(*t);
    any_shapes::addArrayShapesOfIntegers(*t);
    any_shapes::addArrayShapesOfOthers(*t);
    any_shapes::addThreeLevelShapesOfInt(*t);
    any_shapes::addThreeLevelShapesOfLongLong(*t);
    any_shapes::addThreeLevelShapesOfDouble(*t);
    any_shapes::addThreeLevelShapesOfString(*t);
    any_shapes::addThreeLevelShapesOfBool(*t);
    return t;
  }();
  return *built;
}

const AnyShape* shapeOf(const std::any& value) {
  const AnyShapeTable& t = table();
  auto found = t.find(std::type_index(value.type()));
  return found == t.end() ? nullptr : &found->second;
}

}  // namespace

std::optional<ios::PropertyList> anyToPropertyList(const std::any& value, std::size_t depth, LargeUnsigned large) {
  if (!value.has_value()) return ios::PropertyList(nullptr);
  const AnyShape* shape = shapeOf(value);
  if (shape == nullptr) return std::nullopt;
  return shape->convert(value, depth, large);
}

bool isNilAny(const std::any& value) {
  if (!value.has_value()) return true;
  const AnyShape* shape = shapeOf(value);
  return shape != nullptr && shape->isNil(value);
}

}  // namespace kp::values_internal
