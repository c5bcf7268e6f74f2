// File: KPQuaslet/values/internal/PropertyListBridge.h
//
// How a C++ value becomes a property-list value for the platform's serialisers, as the
// platform bridges its own values: text becomes a string, numbers and booleans become
// numbers (a bool stays a boolean), an absent optional or an empty std::any becomes
// null, sequences become arrays, string-keyed maps become dictionaries, dates become
// dates. A value with no such form (a user struct, a map with non-string keys, an
// unsigned number above the 64-bit signed range) answers nothing.
#pragma once

#include <any>
#include <concepts>
#include <cstdint>
#include <optional>
#include <ranges>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <map>
#include <variant>
#include <vector>

#include "KPQuaslet/values/internal/Support.h"
#include "KPQuaslet/values/internal/ValueCast.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/PropertyList.h"

namespace kp::values_internal {

template <class T>
concept TextValue = std::is_same_v<T, std::string> || std::is_same_v<T, std::string_view> ||
                    std::is_same_v<T, const char*> || std::is_same_v<T, char*>;

template <class T>
concept MapValue = requires {
  typename T::key_type;
  typename T::mapped_type;
} && std::ranges::input_range<T>;

template <class T>
concept SequenceValue = std::ranges::input_range<const T> && !TextValue<T> && !MapValue<T>;

template <class T>
std::optional<ios::PropertyList> toPropertyList(const T& value);

template <MapValue M>
std::optional<ios::PropertyList> mapToPropertyList(const M& map) {
  if constexpr (!TextValue<typename M::key_type>) {
    return std::nullopt;
  } else {
    ios::PropertyList::Dictionary entries;
    for (const auto& [key, element] : map) {
      std::optional<ios::PropertyList> bridged = toPropertyList(element);
      if (!bridged) return std::nullopt;
      entries.insert_or_assign(std::string(key), std::move(*bridged));
    }
    return ios::PropertyList(std::move(entries));
  }
}

// The types a std::any is looked into for.
inline std::optional<ios::PropertyList> anyToPropertyList(const std::any& value) {
  if (!value.has_value()) return ios::PropertyList(nullptr);
  std::optional<ios::PropertyList> result;
  bool seen = false;
  auto tryType = [&]<class T>(std::type_identity<T>) {
    if (seen) return;
    if (const T* held = std::any_cast<T>(&value)) {
      seen = true;
      result = toPropertyList(*held);
    }
  };
  tryType(std::type_identity<ios::PropertyList>{});
  tryType(std::type_identity<bool>{});
  tryType(std::type_identity<int>{});
  tryType(std::type_identity<long>{});
  tryType(std::type_identity<long long>{});
  tryType(std::type_identity<unsigned>{});
  tryType(std::type_identity<unsigned long>{});
  tryType(std::type_identity<unsigned long long>{});
  tryType(std::type_identity<short>{});
  tryType(std::type_identity<double>{});
  tryType(std::type_identity<float>{});
  tryType(std::type_identity<std::string>{});
  tryType(std::type_identity<const char*>{});
  tryType(std::type_identity<std::nullptr_t>{});
  tryType(std::type_identity<ios::Date>{});
  tryType(std::type_identity<std::vector<std::any>>{});
  tryType(std::type_identity<std::unordered_map<std::string, std::any>>{});
  tryType(std::type_identity<std::map<std::string, std::any>>{});
  return result;
}

template <class T>
std::optional<ios::PropertyList> toPropertyList(const T& value) {
  if constexpr (std::is_same_v<T, ios::PropertyList>) {
    return value;
  } else if constexpr (std::is_same_v<T, bool>) {
    return ios::PropertyList(value);
  } else if constexpr (std::is_same_v<T, char> || std::is_same_v<T, char8_t> || std::is_same_v<T, char16_t> ||
                       std::is_same_v<T, char32_t> || std::is_same_v<T, wchar_t>) {
    return std::nullopt;
  } else if constexpr (std::is_integral_v<T>) {
    if constexpr (std::is_unsigned_v<T> && sizeof(T) >= sizeof(std::int64_t)) {
      if (value > static_cast<std::uint64_t>(INT64_MAX)) return std::nullopt;
    }
    return ios::PropertyList(static_cast<std::int64_t>(value));
  } else if constexpr (std::is_floating_point_v<T>) {
    return ios::PropertyList(static_cast<double>(value));
  } else if constexpr (TextValue<T>) {
    if constexpr (std::is_pointer_v<T>) {
      if (value == nullptr) return ios::PropertyList(nullptr);
    }
    return ios::PropertyList(std::string_view(value));
  } else if constexpr (std::is_same_v<T, std::nullptr_t> || std::is_same_v<T, std::nullopt_t> ||
                       std::is_same_v<T, std::monostate>) {
    return ios::PropertyList(nullptr);
  } else if constexpr (isOptional<T>) {
    if (!value) return ios::PropertyList(nullptr);
    return toPropertyList(*value);
  } else if constexpr (std::is_same_v<T, std::any>) {
    return anyToPropertyList(value);
  } else if constexpr (IsVariant<T>::value) {
    return std::visit([](const auto& held) { return toPropertyList(held); }, value);
  } else if constexpr (std::is_same_v<T, ios::Date>) {
    return ios::PropertyList(value);
  } else if constexpr (MapValue<T>) {
    return mapToPropertyList(value);
  } else if constexpr (SequenceValue<T>) {
    ios::PropertyList::Array elements;
    if constexpr (std::ranges::sized_range<const T>) elements.reserve(std::ranges::size(value));
    for (const auto& element : value) {
      // Read through the value type, so that proxies (std::vector<bool>) bridge too.
      const std::ranges::range_value_t<const T>& plain = element;
      std::optional<ios::PropertyList> bridged = toPropertyList(plain);
      if (!bridged) return std::nullopt;
      elements.push_back(std::move(*bridged));
    }
    return ios::PropertyList(std::move(elements));
  } else {
    return std::nullopt;
  }
}

}  // namespace kp::values_internal
