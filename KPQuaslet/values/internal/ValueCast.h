// File: KPQuaslet/values/internal/ValueCast.h
//
// The dynamic casts and type tests that the collection extensions make on their
// elements: "this value as an Out, if it is one" and "the value's exact type".
#pragma once

#include <any>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <typeindex>
#include <typeinfo>
#include <variant>

#include "KPQuaslet/values/internal/Support.h"
#include "platform/foundation/PropertyList.h"

namespace kp::values_internal {

template <class T>
struct IsVariant : std::false_type {};
template <class... Ts>
struct IsVariant<std::variant<Ts...>> : std::true_type {};

template <class T>
struct IsSharedPtr : std::false_type {};
template <class T>
struct IsSharedPtr<std::shared_ptr<T>> : std::true_type {};

// castTo()
//
// `value` as an Out when it holds exactly an Out: the value itself when the types are
// the same; the held value of a std::any, a std::variant or a present std::optional;
// the matching kind of an ios::PropertyList (bool, std::int64_t, double, std::string).
// No numeric conversions: an int is not a double.
template <class Out, class V>
std::optional<Out> castTo(const V& value) {
  if constexpr (std::is_same_v<V, Out>) {
    return value;
  } else if constexpr (std::is_same_v<V, std::any>) {
    if (const Out* held = std::any_cast<Out>(&value)) return *held;
    return std::nullopt;
  } else if constexpr (isOptional<V>) {
    if (!value) return std::nullopt;
    return castTo<Out>(*value);
  } else if constexpr (IsVariant<V>::value) {
    return std::visit([](const auto& held) { return castTo<Out>(held); }, value);
  } else if constexpr (std::is_same_v<V, ios::PropertyList>) {
    if constexpr (std::is_same_v<Out, bool>) {
      return value.boolValue();
    } else if constexpr (std::is_same_v<Out, std::int64_t>) {
      return value.integerValue();
    } else if constexpr (std::is_same_v<Out, double>) {
      return value.doubleValue();
    } else if constexpr (std::is_same_v<Out, std::string>) {
      if (const std::string* text = value.stringValue()) return *text;
      return std::nullopt;
    } else {
      return std::nullopt;
    }
  } else {
    return std::nullopt;
  }
}

// dynamicType()
//
// The exact run-time type of `value`, or nothing for a value that has none (a null
// pointer, an empty std::any): the pointee's most-derived type for a pointer to a
// polymorphic class, the held type of a std::any or std::variant, the static type
// otherwise.
template <class T>
std::optional<std::type_index> dynamicType(const T& value) {
  if constexpr (IsSharedPtr<T>::value || std::is_pointer_v<T>) {
    using Pointee = std::remove_cvref_t<decltype(*value)>;
    if (!value) return std::nullopt;
    if constexpr (std::is_polymorphic_v<Pointee>) {
      return std::type_index(typeid(*value));
    } else {
      return std::type_index(typeid(Pointee));
    }
  } else if constexpr (std::is_same_v<T, std::any>) {
    if (!value.has_value()) return std::nullopt;
    return std::type_index(value.type());
  } else if constexpr (IsVariant<T>::value) {
    return std::visit([](const auto& held) { return dynamicType(held); }, value);
  } else if constexpr (std::is_polymorphic_v<T>) {
    return std::type_index(typeid(value));
  } else {
    return std::type_index(typeid(T));
  }
}

}  // namespace kp::values_internal
