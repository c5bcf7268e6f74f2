// File: KPQuaslet/values/internal/ValueCast.h
//
// The dynamic casts and type tests that the collection extensions make on their
// elements: "this value as an Out, if it is one" and "the value's exact type".
#pragma once

#include <any>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
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

// Text: the three spellings of the platform's String.
template <class T>
concept TextValue = std::is_same_v<T, std::string> || std::is_same_v<T, std::string_view> ||
                    std::is_same_v<T, const char*> || std::is_same_v<T, char*>;

// castTo()
//
// `value` as an Out when it holds exactly an Out: the value itself when the types are
// the same; the held value of a std::any (also when it holds a present
// std::optional<Out>), a std::variant or a present std::optional; the matching kind of
// an ios::PropertyList (bool, std::int64_t, double, std::string). Text counts as a
// std::string whichever of its spellings holds it (std::string_view, const char*). No
// numeric conversions: an int is not a double, nor a long.
template <class Out, class V>
std::optional<Out> castTo(const V& value) {
  if constexpr (std::is_array_v<V>) {
    return castTo<Out>(static_cast<const std::remove_extent_t<V>*>(value));
  } else if constexpr (std::is_same_v<V, Out>) {
    return value;
  } else if constexpr (std::is_same_v<Out, std::string> && TextValue<V>) {
    if constexpr (std::is_pointer_v<V>) {
      if (value == nullptr) return std::nullopt;
    }
    return std::string(value);
  } else if constexpr (std::is_same_v<V, std::any>) {
    if (const Out* held = std::any_cast<Out>(&value)) return *held;
    if (const auto* held = std::any_cast<std::optional<Out>>(&value)) return *held;
    if constexpr (std::is_same_v<Out, std::string>) {
      if (const auto* held = std::any_cast<std::string_view>(&value)) return std::string(*held);
      if (const auto* held = std::any_cast<const char*>(&value)) return castTo<Out>(*held);
    }
    if (const auto* held = std::any_cast<ios::PropertyList>(&value)) return castTo<Out>(*held);
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

// Whether a std::any stands for nil (defined with the property-list bridge): empty, a
// null type, or an empty std::optional of a bridged scalar.
bool isNilAny(const std::any& value);

// isNil()
//
// Whether `value`, taken where the platform takes `Any?`, is nil: an empty optional
// (or one holding nil), a null pointer, std::nullopt or nullptr, a null property list,
// or a std::any that isNilAny() calls nil.
template <class V>
bool isNil(const V& value) {
  if constexpr (std::is_same_v<V, std::nullptr_t> || std::is_same_v<V, std::nullopt_t>) {
    return true;
  } else if constexpr (isOptional<V>) {
    return !value || isNil(*value);
  } else if constexpr (std::is_same_v<V, std::any>) {
    return isNilAny(value);
  } else if constexpr (IsSharedPtr<V>::value || std::is_pointer_v<V>) {
    return value == nullptr;
  } else if constexpr (IsVariant<V>::value) {
    return std::visit([](const auto& held) { return isNil(held); }, value);
  } else if constexpr (std::is_same_v<V, ios::PropertyList>) {
    return value.isNull();
  } else {
    return false;
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
