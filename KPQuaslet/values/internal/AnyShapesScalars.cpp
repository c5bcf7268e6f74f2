// The scalars a std::any is looked into for, the nulls, optionals of scalars, and one
// container of every kind around a scalar, an optional scalar or a std::any.
#include "KPQuaslet/values/internal/AnyShapes.h"

namespace kp::values_internal::any_shapes {
namespace {

using Scalars = TypeList<bool, signed char, unsigned char, short, unsigned short, int, unsigned, long, unsigned long,
                         long long, unsigned long long, float, double, long double, std::string, std::string_view,
                         const char*, ios::Date, ios::Data, ios::NSNumber, ios::PropertyList>;
using Nulls = TypeList<std::nullptr_t, std::nullopt_t, std::monostate>;

template <class... S>
void addEachScalar(AnyShapeTable& table, TypeList<S...>) {
  ((addShape<S>(table), addShape<std::optional<S>>(table), addAround<1, S>(table, AllContainers{}),
    addAround<1, std::optional<S>>(table, AllContainers{})),
   ...);
}

}  // namespace

void addScalarShapes(AnyShapeTable& table) {
  addEachScalar(table, Scalars{});
  addShapes(table, Nulls{});
  addAround<1, std::any>(table, AllContainers{});
  // The property list's own dictionary (it orders keys with std::less<>).
  addShape<ios::PropertyList::Dictionary>(table);
}

}  // namespace kp::values_internal::any_shapes
