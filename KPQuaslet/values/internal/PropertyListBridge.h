// File: KPQuaslet/values/internal/PropertyListBridge.h
//
// The one bridge from C++ values to the platform's property-list objects (NSNull,
// NSNumber, NSString, NSData, NSDate, NSArray, NSDictionary): which C++ types stand for
// them, and how such a value becomes an ios::PropertyList. The JSON text of
// dictionaries and the typed user defaults both go through it; the set of types is
// documented for callers at kp::jsonString() (Dictionary+KPExt.h).
//
//   toPropertyList(std::vector<int>{1, 2});                 // [1, 2]
//   toPropertyList(std::any(std::map<std::string, int>{{"a", 1}}));  // {"a": 1}
//   toPropertyList(std::optional<int>());                  // null
//   toPropertyList(UserStruct{});                          // nothing
//
// A statically typed value bridges by its type, at any depth. A std::any is looked
// into at run time, for the types listed at kp::jsonString(). Containers nested
// deeper than ios::JSONSerialization::maximumNestingDepth answer nothing.
#pragma once

#include <any>
#include <concepts>
#include <cstdint>
#include <optional>
#include <ranges>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "KPQuaslet/values/internal/Support.h"
#include "KPQuaslet/values/internal/ValueCast.h"
#include "platform/foundation/Data.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/JSONSerialization.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/PropertyList.h"

namespace kp::values_internal {

// Character types are not numbers on the platform; bool is a Boolean.
template <class T>
concept CharacterType = std::is_same_v<T, char> || std::is_same_v<T, wchar_t> || std::is_same_v<T, char8_t> ||
                        std::is_same_v<T, char16_t> || std::is_same_v<T, char32_t>;

template <class T>
concept NumberValue = std::is_arithmetic_v<T> && !CharacterType<T> && !std::is_same_v<T, bool>;

template <class T>
concept NullValue =
    std::is_same_v<T, std::nullptr_t> || std::is_same_v<T, std::nullopt_t> || std::is_same_v<T, std::monostate>;

template <class T>
concept MapValue = requires {
  typename T::key_type;
  typename T::mapped_type;
} && std::ranges::input_range<const T>;

template <class T>
concept SequenceValue = std::ranges::input_range<const T> && !TextValue<T> && !MapValue<T> &&
                        !std::is_same_v<T, ios::Data> && !std::is_same_v<T, ios::PropertyList>;

// Whether values of type T can bridge at all (a std::any or a variant may still hold
// something that does not).
template <class T>
constexpr bool isBridgeable() {
  using U = std::remove_cvref_t<T>;
  if constexpr (std::is_same_v<U, ios::PropertyList> || std::is_same_v<U, ios::NSNumber> ||
                std::is_same_v<U, bool> || NumberValue<U> || TextValue<U> || NullValue<U> ||
                std::is_same_v<U, ios::Date> || std::is_same_v<U, ios::Data> || std::is_same_v<U, std::any>) {
    return true;
  } else if constexpr (isOptional<U>) {
    return isBridgeable<typename U::value_type>();
  } else if constexpr (IsVariant<U>::value) {
    return true;
  } else if constexpr (MapValue<U>) {
    return TextValue<std::remove_cvref_t<typename U::key_type>> && isBridgeable<typename U::mapped_type>();
  } else if constexpr (SequenceValue<U>) {
    return isBridgeable<std::ranges::range_value_t<const U>>();
  } else {
    return false;
  }
}

template <class T>
concept Bridgeable = isBridgeable<T>();

// What becomes of an unsigned value above INT64_MAX: JSON text writes it; the stores,
// which keep signed 64-bit integers, refuse it.
enum class LargeUnsigned { refuse, keep };

// The property-list value a std::any holds, or nothing when it holds no bridged type.
// `depth` is the number of containers around it. The held type is looked up in a table
// built once (AnyShapes.h), which holds the shapes listed at kp::jsonString().
std::optional<ios::PropertyList> anyToPropertyList(const std::any& value, std::size_t depth,
                                                   LargeUnsigned large = LargeUnsigned::refuse);

// The property-list value for `value`, or nothing when it has none (a user type, a map
// with keys that are not text, an unsigned number above the 64-bit signed range unless
// `large` keeps it, a std::any holding none of the types above, nesting too deep).
// `depth` is the number of containers around the value.
template <class T>
std::optional<ios::PropertyList> toPropertyList(const T& value, std::size_t depth = 0,
                                                LargeUnsigned large = LargeUnsigned::refuse) {
  if constexpr (std::is_same_v<T, ios::PropertyList>) {
    return value;
  } else if constexpr (std::is_same_v<T, ios::NSNumber>) {
    return value.propertyList();
  } else if constexpr (std::is_same_v<T, bool>) {
    return ios::PropertyList(value);
  } else if constexpr (std::is_integral_v<T> && !CharacterType<T>) {
    if constexpr (std::is_unsigned_v<T> && sizeof(T) >= sizeof(std::int64_t)) {
      if (value > static_cast<std::uint64_t>(INT64_MAX)) {
        if (large == LargeUnsigned::refuse) return std::nullopt;
        return ios::PropertyList::fromUnsignedInteger(value);
      }
    }
    return ios::PropertyList(static_cast<std::int64_t>(value));
  } else if constexpr (std::is_floating_point_v<T>) {
    return ios::PropertyList(static_cast<double>(value));
  } else if constexpr (TextValue<T>) {
    if constexpr (std::is_pointer_v<T>) {
      if (value == nullptr) return ios::PropertyList(nullptr);
    }
    return ios::PropertyList(std::string_view(value));
  } else if constexpr (NullValue<T>) {
    return ios::PropertyList(nullptr);
  } else if constexpr (isOptional<T>) {
    if (!value) return ios::PropertyList(nullptr);
    return toPropertyList(*value, depth, large);
  } else if constexpr (std::is_same_v<T, std::any>) {
    return anyToPropertyList(value, depth, large);
  } else if constexpr (IsVariant<T>::value) {
    return std::visit([depth, large](const auto& held) { return toPropertyList(held, depth, large); }, value);
  } else if constexpr (std::is_same_v<T, ios::Date>) {
    return ios::PropertyList(value);
  } else if constexpr (std::is_same_v<T, ios::Data>) {
    return ios::PropertyList::fromData(value);
  } else if constexpr (MapValue<T>) {
    if constexpr (!TextValue<std::remove_cvref_t<typename T::key_type>>) {
      return std::nullopt;
    } else {
      if (depth >= ios::JSONSerialization::maximumNestingDepth) return std::nullopt;
      ios::PropertyList::Dictionary entries;
      for (const auto& [key, element] : value) {
        std::optional<ios::PropertyList> bridged = toPropertyList(element, depth + 1, large);
        if (!bridged) return std::nullopt;
        entries.insert_or_assign(std::string(key), std::move(*bridged));
      }
      return ios::PropertyList(std::move(entries));
    }
  } else if constexpr (SequenceValue<T>) {
    if (depth >= ios::JSONSerialization::maximumNestingDepth) return std::nullopt;
    ios::PropertyList::Array elements;
    if constexpr (std::ranges::sized_range<const T>) elements.reserve(std::ranges::size(value));
    for (const auto& element : value) {
      // Read through the value type, so that proxies (std::vector<bool>) bridge too.
      const std::ranges::range_value_t<const T>& plain = element;
      std::optional<ios::PropertyList> bridged = toPropertyList(plain, depth + 1, large);
      if (!bridged) return std::nullopt;
      elements.push_back(std::move(*bridged));
    }
    return ios::PropertyList(std::move(elements));
  } else {
    return std::nullopt;
  }
}

}  // namespace kp::values_internal
