// File: KPQuaslet/values/internal/AnyShapes.h
//
// The table by which the property-list bridge looks into a std::any: one entry per held
// type, keyed by its std::type_index, whose converter hands the held value to the
// statically typed bridge (which recurses to any depth). A lookup is one hash probe,
// however many shapes are registered. The shapes are generated from type lists and
// registered by several source files (AnyShapes*.cpp), which compile in parallel:
//
//   addAround<2, int>(table, AllContainers{});  // std::vector<std::list<int>>, std::set<std::set<int>>...
//
// The set of shapes is documented for callers at kp::jsonString() (Dictionary+KPExt.h).
#pragma once

#include <any>
#include <array>
#include <cstddef>
#include <deque>
#include <list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <unordered_map>
#include <vector>

#include "KPQuaslet/values/internal/PropertyListBridge.h"

namespace kp::values_internal::any_shapes {

struct AnyShape {
  std::optional<ios::PropertyList> (*convert)(const std::any&, std::size_t depth, LargeUnsigned large);
  bool (*isNil)(const std::any&);
};

using AnyShapeTable = std::unordered_map<std::type_index, AnyShape>;

template <class... Ts>
struct TypeList {};

// The container kinds a std::any is looked into for, each as a template of its element.
template <class T>
using Vector = std::vector<T>;
template <class T>
using List = std::list<T>;
template <class T>
using Deque = std::deque<T>;
template <class T>
using Set = std::set<T>;
template <class T>
using Map = std::map<std::string, T>;
template <class T>
using HashMap = std::unordered_map<std::string, T>;

template <template <class> class... Cs>
struct ContainerList {};

using AllContainers = ContainerList<Vector, List, Deque, Set, Map, HashMap>;
using MapContainers = ContainerList<Map, HashMap>;

// The numbers, Booleans and text that are looked into two containers deep and in
// fixed-size arrays.
using NestedScalars = TypeList<bool, int, unsigned, long, unsigned long, long long, unsigned long long, float, double,
                               std::string>;

// Fixed-size arrays are looked into up to this many elements.
inline constexpr std::size_t kLongestArray = 16;

// Whether T has an order, so that it can be a std::set element (a std::any, an
// unordered map, and containers of them have none).
template <class T>
struct Orderable : std::bool_constant<requires(const T& a) { a < a; }> {};
template <>
struct Orderable<std::any> : std::false_type {};
template <class K, class T>
struct Orderable<std::unordered_map<K, T>> : std::false_type {};
template <class T>
struct Orderable<std::optional<T>> : Orderable<T> {};
template <class T>
struct Orderable<std::vector<T>> : Orderable<T> {};
template <class T>
struct Orderable<std::list<T>> : Orderable<T> {};
template <class T>
struct Orderable<std::deque<T>> : Orderable<T> {};
template <class T>
struct Orderable<std::set<T>> : Orderable<T> {};
template <class K, class T>
struct Orderable<std::map<K, T>> : Orderable<T> {};
template <class T, std::size_t N>
struct Orderable<std::array<T, N>> : Orderable<T> {};

// Whether the container type C (a kind above around an element E) exists.
template <class C>
struct CanHold : std::true_type {};
template <class E>
struct CanHold<std::set<E>> : Orderable<E> {};

bool neverNil(const std::any&);

template <class T>
std::optional<ios::PropertyList> convertHeld(const std::any& value, std::size_t depth, LargeUnsigned large) {
  return toPropertyList(*std::any_cast<T>(&value), depth, large);
}

template <class T>
bool heldOptionalIsEmpty(const std::any& value) {
  return !std::any_cast<T>(&value)->has_value();
}

// Registers the held type T.
template <class T>
void addShape(AnyShapeTable& table) {
  bool (*isNil)(const std::any&) = &neverNil;
  if constexpr (isOptional<T>) {
    isNil = &heldOptionalIsEmpty<T>;
  } else if constexpr (NullValue<T>) {
    isNil = [](const std::any&) { return true; };
  }
  table.emplace(std::type_index(typeid(T)), AnyShape{&convertHeld<T>, isNil});
}

template <class... Ts>
void addShapes(AnyShapeTable& table, TypeList<Ts...>) {
  (addShape<Ts>(table), ...);
}

// Registers every shape of exactly `Levels` containers of the kinds Cs around T.
template <std::size_t Levels, class T, template <class> class... Cs>
void addAround(AnyShapeTable& table, ContainerList<Cs...> kinds) {
  if constexpr (Levels == 1) {
    (
        [&] {
          if constexpr (CanHold<Cs<T>>::value) addShape<Cs<T>>(table);
        }(),
        ...);
  } else {
    (
        [&] {
          if constexpr (CanHold<Cs<T>>::value) addAround<Levels - 1, Cs<T>>(table, kinds);
        }(),
        ...);
  }
}

// Registers std::array<S, 1> ... std::array<S, kLongestArray> of each S, alone, in a
// std::vector and as a map value.
template <class... S>
void addArrays(AnyShapeTable& table, TypeList<S...>) {
  auto addArraysOf = [&]<class E, std::size_t... N>(std::index_sequence<N...>) {
    ((addShape<std::array<E, N + 1>>(table), addShape<std::vector<std::array<E, N + 1>>>(table),
      addAround<1, std::array<E, N + 1>>(table, MapContainers{})),
     ...);
  };
  (addArraysOf.template operator()<S>(std::make_index_sequence<kLongestArray>{}), ...);
}

// The registrars, one per source file.
void addScalarShapes(AnyShapeTable& table);      // scalars, nulls, optionals, one level
void addTwoLevelShapes(AnyShapeTable& table);    // two levels
void addArrayShapesOfIntegers(AnyShapeTable& table);
void addArrayShapesOfOthers(AnyShapeTable& table);  // bool, float, double, std::string
void addThreeLevelShapesOfInt(AnyShapeTable& table);
void addThreeLevelShapesOfLongLong(AnyShapeTable& table);
void addThreeLevelShapesOfDouble(AnyShapeTable& table);
void addThreeLevelShapesOfString(AnyShapeTable& table);
void addThreeLevelShapesOfBool(AnyShapeTable& table);

}  // namespace kp::values_internal::any_shapes
