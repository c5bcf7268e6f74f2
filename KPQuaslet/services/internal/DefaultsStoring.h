// File: KPQuaslet/services/internal/DefaultsStoring.h
//
// The one storing rule of the typed defaults, and the bridge from C++ values to the
// property-list values the store keeps.
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

template <class T>
concept StringKeyedMap = requires {
  typename T::key_type;
  typename T::mapped_type;
} && Text<typename T::key_type>;

template <class T>
concept Sequence = std::ranges::input_range<const T> && !Text<T> && !StringKeyedMap<T>;

// Whether toStored() accepts values of type T.
template <class T>
constexpr bool isStorable() {
  using U = std::remove_cvref_t<T>;
  if constexpr (std::is_same_v<U, ios::PropertyList> || std::is_same_v<U, ios::NSNumber> || Text<U> ||
                std::is_arithmetic_v<U> || std::is_same_v<U, ios::Date> || std::is_same_v<U, ios::Data>) {
    return true;
  } else if constexpr (IsOptional<U>::value) {
    return isStorable<typename U::value_type>();
  } else if constexpr (StringKeyedMap<U>) {
    return isStorable<typename U::mapped_type>();
  } else if constexpr (Sequence<U>) {
    return isStorable<std::ranges::range_value_t<const U>>();
  } else {
    return false;
  }
}

// The property-list value for a C++ value: text, numbers, booleans, dates, bytes,
// sequences and string-keyed maps of them (an empty optional inside is null).
template <class T>
ios::PropertyList toStored(const T& value) {
  using U = std::remove_cvref_t<T>;
  static_assert(isStorable<U>(), "this type has no property-list form");
  if constexpr (std::is_same_v<U, ios::PropertyList>) {
    return value;
  } else if constexpr (std::is_same_v<U, ios::NSNumber>) {
    return value.propertyList();
  } else if constexpr (std::is_same_v<U, ios::Data>) {
    return ios::PropertyList::fromData(value);
  } else if constexpr (Text<U>) {
    return ios::PropertyList(std::string_view(value));
  } else if constexpr (std::is_same_v<U, bool>) {
    return ios::PropertyList(value);
  } else if constexpr (std::is_arithmetic_v<U>) {
    return ios::PropertyList(value);
  } else if constexpr (std::is_same_v<U, ios::Date>) {
    return ios::PropertyList(value);
  } else if constexpr (IsOptional<U>::value) {
    return value ? toStored(*value) : ios::PropertyList();
  } else if constexpr (StringKeyedMap<U>) {
    ios::PropertyList::Dictionary entries;
    for (const auto& [key, element] : value) entries.insert_or_assign(std::string(std::string_view(key)), toStored(element));
    return ios::PropertyList(std::move(entries));
  } else {
    ios::PropertyList::Array elements;
    for (auto&& element : value) {
      if constexpr (std::is_same_v<std::ranges::range_value_t<const U>, bool>) {
        elements.push_back(ios::PropertyList(static_cast<bool>(element)));
      } else {
        elements.push_back(toStored(element));
      }
    }
    return ios::PropertyList(std::move(elements));
  }
}

// The storing rule for a value already in property-list form (null removes).
void storePropertyList(ios::UserDefaults& defaults, std::string_view key, const ios::PropertyList& value);
// The storing rule for a type-erased value: empty removes; a URL, PropertyList,
// NSNumber, Data or a bridgeable standard value is stored by the rule; anything else
// raises NSInvalidArgumentException, as the platform does for a value it cannot keep.
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
    defaults.setInteger(ios::PropertyList(value).integerValue().value_or(0), key);
  } else if constexpr (std::is_same_v<U, ios::URL>) {
    defaults.setURL(value, key);
  } else if constexpr (std::is_same_v<U, std::any>) {
    storeAny(defaults, key, value);
  } else if constexpr (std::is_same_v<U, ios::PropertyList> || std::is_same_v<U, ios::NSNumber>) {
    storePropertyList(defaults, key, toStored(value));
  } else {
    defaults.setObject(toStored(value), key);
  }
}

}  // namespace kp::services_internal
