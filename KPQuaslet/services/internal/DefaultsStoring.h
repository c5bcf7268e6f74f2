// File: KPQuaslet/services/internal/DefaultsStoring.h
//
// The one storing rule of the typed defaults. Values become the property-list values the
// store keeps through the library's one bridge (values/internal/PropertyListBridge.h).
//
// The rule, for a value about to be stored under a key: an empty value removes the key;
// a double is stored with the double setter, an integer with the integer setter, a
// boolean with the boolean setter, a URL with the URL setter; anything else is bridged to
// a property-list value and stored as an object.
#pragma once

#include <any>
#include <concepts>
#include <cstdint>
#include <map>
#include <optional>
#include <ranges>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>

#include "KPQuaslet/values/internal/PropertyListBridge.h"
#include "KPQuaslet/values/internal/Support.h"
#include "platform/foundation/Data.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/URL.h"
#include "platform/foundation/UserDefaults.h"

namespace kp::services_internal {

using values_internal::IsOptional;

template <class T>
concept Text = std::is_convertible_v<const T&, std::string_view> && !std::is_same_v<T, std::nullptr_t>;

// Whether toStored() accepts values of type T: text (string literals included) and every
// type the property-list bridge takes (see kp::jsonString() for the set).
template <class T>
constexpr bool isStorable() {
  using U = std::remove_cvref_t<T>;
  return Text<U> || values_internal::Bridgeable<U>;
}

// Raises NSInvalidArgumentException for a value of `typeName` that has no property-list
// form, as the platform does for a value it cannot keep.
[[noreturn]] void refuseValue(std::string_view typeName, std::string_view key);

// The property-list value for a C++ value, through the one bridge; raises
// NSInvalidArgumentException when it has none (a std::any holding a user type, an
// unsigned number above the 64-bit signed range).
template <class T>
ios::PropertyList toStored(const T& value, std::string_view key) {
  using U = std::remove_cvref_t<T>;
  static_assert(isStorable<U>(), "this type has no property-list form");
  std::optional<ios::PropertyList> bridged;
  if constexpr (Text<U> && !values_internal::TextValue<U>) {
    bridged = ios::PropertyList(std::string_view(value));
  } else {
    bridged = values_internal::toPropertyList(value);
  }
  if (!bridged) refuseValue(typeid(U).name(), key);
  return *std::move(bridged);
}

// The storing rule for a value already in property-list form (null removes).
void storePropertyList(ios::UserDefaults& defaults, std::string_view key, const ios::PropertyList& value);
// The storing rule for a type-erased value: empty removes; a URL is stored with the URL
// setter; a value the property-list bridge reads from a std::any (see kp::jsonString())
// is stored by the rule; anything else raises NSInvalidArgumentException, as the
// platform does for a value it cannot keep.
void storeAny(ios::UserDefaults& defaults, std::string_view key, const std::any& value);

// store()
//
// The storing rule for a statically typed value.
template <class V>
void store(ios::UserDefaults& defaults, std::string_view key, const V& value) {
  using U = std::remove_cvref_t<V>;
  if constexpr (std::is_same_v<U, std::nullopt_t> || std::is_same_v<U, std::nullptr_t>) {
    defaults.removeObject(key);
  } else if constexpr (IsOptional<U>::value) {
    if (!value) {
      defaults.removeObject(key);
    } else {
      store(defaults, key, *value);
    }
  } else if constexpr (std::is_floating_point_v<U>) {
    defaults.setDouble(static_cast<double>(value), key);
  } else if constexpr (std::is_same_v<U, bool>) {
    defaults.setBool(value, key);
  } else if constexpr (std::is_integral_v<U> && !std::is_same_v<U, char>) {
    if constexpr (std::is_unsigned_v<U> && sizeof(U) >= sizeof(std::int64_t)) {
      // No signed 64-bit integer holds it: kept as the nearest double, still a number.
      if (value > static_cast<U>(INT64_MAX)) return defaults.setDouble(static_cast<double>(value), key);
    }
    defaults.setInteger(static_cast<std::int64_t>(value), key);
  } else if constexpr (std::is_same_v<U, ios::URL>) {
    defaults.setURL(value, key);
  } else if constexpr (std::is_same_v<U, std::any>) {
    storeAny(defaults, key, value);
  } else {
    storePropertyList(defaults, key, toStored(value, key));
  }
}

}  // namespace kp::services_internal
