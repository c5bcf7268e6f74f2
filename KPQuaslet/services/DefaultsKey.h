// File: KPQuaslet/services/DefaultsKey.h
//
// Typed keys for user defaults: declare a key once with the type of its value, then read
// and write that type.
//
//   struct AppKeys : kp::DefaultsKeys {
//     static inline const kp::DefaultsKey<std::int64_t> launches{"launches"};
//     static inline const kp::DefaultsKey<std::optional<std::string>> userName{"userName"};
//   };
//   kp::set(kp::Defaults(), AppKeys::launches, 3);
//   kp::get(kp::Defaults(), AppKeys::launches);   // 3 (0 when missing)
//   kp::get(kp::Defaults(), AppKeys::userName);   // std::nullopt when missing
//
// Value types (optional forms answer nothing when missing, the others a neutral value):
// std::string, std::int64_t, double, bool, ios::Data, ios::PropertyList::Dictionary,
// ios::PropertyList::Array and std::vector of std::string, std::int64_t, double, bool,
// ios::Data or ios::Date, each also as std::optional; and only as optionals:
// ios::PropertyList (any value), ios::Date and ios::URL. Numbers are read as numbers
// only: the text "7" under an integer key reads as 0. Writes use the storing rule of
// UserDefaults+KPExt.h. archive() and unarchive() keep enums by raw value and other
// values as keyed archives.
#pragma once

#include <cmath>
#include <concepts>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "KPQuaslet/Helper/RawRepresentable.h"
#include "KPQuaslet/services/UserDefaults+KPExt.h"
#include "platform/foundation/NSKeyedArchiver.h"
#include "platform/foundation/URL.h"

namespace kp {

// DefaultsKeys
//
// The namespace for an application's keys: derive a type from it and declare the keys
// as its static members.
class DefaultsKeys {
 protected:
  DefaultsKeys() = default;
};

// DefaultsKey
//
// A key whose value has type `ValueType`. The type only selects how the value is read.
template <class ValueType>
class DefaultsKey : public DefaultsKeys {
 public:
  explicit DefaultsKey(std::string key) : key_(std::move(key)) {}
  // The string key in the store.
  [[nodiscard]] const std::string& _key() const { return key_; }

 private:
  std::string key_;
};

namespace services_internal {

template <class T>
struct IsVector : std::false_type {};
template <class T>
struct IsVector<std::vector<T>> : std::true_type {};

// The element as a T, when the stored kind is one a T can be bridged from exactly.
template <class T>
std::optional<T> elementAs(const ios::PropertyList& element) {
  if constexpr (std::is_same_v<T, std::string>) {
    if (const std::string* text = element.stringValue()) return *text;
  } else if constexpr (std::is_same_v<T, std::int64_t>) {
    if (auto n = element.integerValue()) return n;
    if (auto d = element.doubleValue(); d && std::trunc(*d) == *d && *d >= -9223372036854775808.0 &&
                                        *d < 9223372036854775808.0) {
      return static_cast<std::int64_t>(*d);
    }
  } else if constexpr (std::is_same_v<T, double>) {
    if (auto d = element.doubleValue()) return d;
    if (auto n = element.integerValue()) return static_cast<double>(*n);
  } else if constexpr (std::is_same_v<T, bool>) {
    if (auto b = element.boolValue()) return b;
    if (auto n = element.integerValue(); n && (*n == 0 || *n == 1)) return *n == 1;
  } else if constexpr (std::is_same_v<T, ios::Data>) {
    if (const ios::Data* bytes = element.dataValue()) return *bytes;
  } else if constexpr (std::is_same_v<T, ios::Date>) {
    return element.dateValue();
  } else {
    static_assert(sizeof(T) == 0, "getArray() reads arrays of std::string, std::int64_t, double, bool, Data or Date");
  }
  return std::nullopt;
}

template <class T>
std::optional<std::vector<T>> arrayOf(const ios::UserDefaults& defaults, std::string_view key) {
  auto elements = defaults.array(key);
  if (!elements) return std::nullopt;
  std::vector<T> out;
  out.reserve(elements->size());
  for (const ios::PropertyList& element : *elements) {
    auto converted = elementAs<T>(element);
    if (!converted) return std::nullopt;
    out.push_back(std::move(*converted));
  }
  return out;
}

// The typed reading of the table in the banner; the optional form of each type.
template <class V>
std::optional<V> readOptional(const ios::UserDefaults& defaults, std::string_view key) {
  if constexpr (std::is_same_v<V, std::string>) {
    return defaults.string(key);
  } else if constexpr (std::is_same_v<V, std::int64_t>) {
    auto n = numberForKey(defaults, key);
    return n ? std::optional<V>(n->integerValue()) : std::nullopt;
  } else if constexpr (std::is_same_v<V, double>) {
    auto n = numberForKey(defaults, key);
    return n ? std::optional<V>(n->doubleValue()) : std::nullopt;
  } else if constexpr (std::is_same_v<V, bool>) {
    auto n = numberForKey(defaults, key);
    return n ? std::optional<V>(n->boolValue()) : std::nullopt;
  } else if constexpr (std::is_same_v<V, ios::Data>) {
    return defaults.data(key);
  } else if constexpr (std::is_same_v<V, ios::PropertyList::Dictionary>) {
    return defaults.dictionary(key);
  } else if constexpr (std::is_same_v<V, ios::PropertyList::Array>) {
    return defaults.array(key);
  } else if constexpr (IsVector<V>::value) {
    return arrayOf<typename V::value_type>(defaults, key);
  } else {
    static_assert(sizeof(V) == 0, "no typed defaults reading for this value type");
  }
}

template <class T>
concept RawRepresentableEnum = std::is_enum_v<T> && requires(T value) {
  fromRawValue(std::type_identity<T>{}, rawValue(value));
};

}  // namespace services_internal

// get()
//
// The value of a typed key, read as the banner's table says.
template <class V>
[[nodiscard]] V get(const ios::UserDefaults& defaults, const DefaultsKey<V>& key) {
  if constexpr (services_internal::IsOptional<V>::value) {
    using T = typename V::value_type;
    if constexpr (std::is_same_v<T, ios::PropertyList>) {
      return defaults.object(key._key());
    } else if constexpr (std::is_same_v<T, ios::Date>) {
      return date(defaults, key._key());
    } else if constexpr (std::is_same_v<T, ios::URL>) {
      return defaults.url(key._key());
    } else {
      return services_internal::readOptional<T>(defaults, key._key());
    }
  } else {
    static_assert(!std::is_same_v<V, ios::PropertyList> && !std::is_same_v<V, ios::Date> &&
                      !std::is_same_v<V, ios::URL>,
                  "keys of any value, dates and URLs are read through their optional form");
    return services_internal::readOptional<V>(defaults, key._key()).value_or(V{});
  }
}

// set() (typed key)
//
// Stores `value` under the key by the storing rule; an empty optional removes it.
template <class T, class V>
void set(ios::UserDefaults& defaults, const DefaultsKey<T>& key, const V& value) {
  services_internal::store(defaults, key._key(), value);
}

// Whether the store has a value for the key.
template <class T>
[[nodiscard]] bool hasKey(const ios::UserDefaults& defaults, const DefaultsKey<T>& key) {
  return hasKey(defaults, key._key());
}

// Removes the key's value.
template <class T>
void remove(ios::UserDefaults& defaults, const DefaultsKey<T>& key) {
  remove(defaults, key._key());
}

// getArray()
//
// The stored array as T elements: empty (the non-optional key) or nothing (the optional
// key) when the key is missing or any element is not a T. Integers accept doubles with
// a whole value, doubles accept integers, booleans accept the integers 0 and 1.
template <class T>
[[nodiscard]] std::vector<T> getArray(const ios::UserDefaults& defaults, const DefaultsKey<std::vector<T>>& key) {
  return services_internal::arrayOf<T>(defaults, key._key()).value_or(std::vector<T>{});
}
template <class T>
[[nodiscard]] std::optional<std::vector<T>> getArray(const ios::UserDefaults& defaults,
                                                     const DefaultsKey<std::optional<std::vector<T>>>& key) {
  return services_internal::arrayOf<T>(defaults, key._key());
}

// archive() / unarchive() for enums with raw values
//
// archive() stores the case's raw value by the storing rule (an empty optional removes
// the key). unarchive() reads it back: nothing when the key is missing, holds a value of
// another kind than the raw value's, or a raw value that names no case.
template <services_internal::RawRepresentableEnum E>
void archive(ios::UserDefaults& defaults, const DefaultsKey<E>& key, E value) {
  services_internal::store(defaults, key._key(), rawValue(value));
}
template <services_internal::RawRepresentableEnum E>
void archive(ios::UserDefaults& defaults, const DefaultsKey<std::optional<E>>& key, std::optional<E> value) {
  if (!value) return defaults.removeObject(key._key());
  services_internal::store(defaults, key._key(), rawValue(*value));
}

namespace services_internal {
template <class E>
std::optional<E> unarchiveRaw(const ios::UserDefaults& defaults, std::string_view key) {
  using Raw = std::remove_cvref_t<decltype(rawValue(std::declval<E>()))>;
  auto stored = defaults.object(key);
  if (!stored) return std::nullopt;
  std::optional<Raw> raw;
  if constexpr (std::is_integral_v<Raw>) {
    if (auto n = stored->integerValue(); n && std::in_range<Raw>(*n)) raw = static_cast<Raw>(*n);
  } else if constexpr (std::is_floating_point_v<Raw>) {
    if (auto d = stored->doubleValue()) raw = static_cast<Raw>(*d);
    if (auto n = stored->integerValue()) raw = static_cast<Raw>(*n);
  } else {
    if (const std::string* text = stored->stringValue()) raw = Raw(*text);
  }
  if (!raw) return std::nullopt;
  return fromRawValue(std::type_identity<E>{}, *raw);
}
}  // namespace services_internal

template <services_internal::RawRepresentableEnum E>
[[nodiscard]] std::optional<E> unarchive(const ios::UserDefaults& defaults, const DefaultsKey<E>& key) {
  return services_internal::unarchiveRaw<E>(defaults, key._key());
}
template <services_internal::RawRepresentableEnum E>
[[nodiscard]] std::optional<E> unarchive(const ios::UserDefaults& defaults, const DefaultsKey<std::optional<E>>& key) {
  return services_internal::unarchiveRaw<E>(defaults, key._key());
}

namespace services_internal {

template <class T>
struct IsSharedCoding : std::false_type {};
template <class X>
  requires std::derived_from<X, ios::NSCoding>
struct IsSharedCoding<std::shared_ptr<X>> : std::true_type {};

template <class T>
concept KeyedArchivable = IsSharedCoding<T>::value || std::is_same_v<T, ios::PropertyList> ||
                          std::is_same_v<T, ios::URL>;

template <class T>
std::optional<ios::Data> archivedBytes(const T& value) {
  if constexpr (IsSharedCoding<T>::value) {
    if (!value) return std::nullopt;
    return ios::NSKeyedArchiver::archivedData(std::shared_ptr<const ios::NSCoding>(value));
  } else {
    return ios::NSKeyedArchiver::archivedData(value);
  }
}

template <class T>
std::optional<T> unarchiveKeyed(const ios::UserDefaults& defaults, std::string_view key) {
  auto bytes = defaults.data(key);
  if (!bytes) return std::nullopt;
  auto root = ios::NSKeyedUnarchiver::unarchiveObject(*bytes);
  if (!root) return std::nullopt;
  if constexpr (IsSharedCoding<T>::value) {
    auto* object = std::get_if<std::shared_ptr<ios::NSCoding>>(&*root);
    if (!object) return std::nullopt;
    auto typed = std::dynamic_pointer_cast<typename T::element_type>(*object);
    if (!typed) return std::nullopt;
    return typed;
  } else {
    if (auto* value = std::get_if<T>(&*root)) return *value;
    return std::nullopt;
  }
}

}  // namespace services_internal

// archive() / unarchive() for other values
//
// archive() stores a keyed archive of the value (an NSCoding object held by
// std::shared_ptr, a property-list value or a URL); a null object or an empty optional
// removes the key. unarchive() reads it back: nothing when the key is missing, does not
// hold an archive, or the archive holds something other than a T.
template <services_internal::KeyedArchivable T>
void archive(ios::UserDefaults& defaults, const DefaultsKey<T>& key, const T& value) {
  auto bytes = services_internal::archivedBytes(value);
  if (!bytes) return defaults.removeObject(key._key());
  defaults.setObject(ios::PropertyList::fromData(std::move(*bytes)), key._key());
}
template <services_internal::KeyedArchivable T>
void archive(ios::UserDefaults& defaults, const DefaultsKey<std::optional<T>>& key, const std::optional<T>& value) {
  if (!value) return defaults.removeObject(key._key());
  archive(defaults, DefaultsKey<T>(key._key()), *value);
}
template <services_internal::KeyedArchivable T>
[[nodiscard]] std::optional<T> unarchive(const ios::UserDefaults& defaults, const DefaultsKey<T>& key) {
  return services_internal::unarchiveKeyed<T>(defaults, key._key());
}
template <services_internal::KeyedArchivable T>
[[nodiscard]] std::optional<T> unarchive(const ios::UserDefaults& defaults, const DefaultsKey<std::optional<T>>& key) {
  return services_internal::unarchiveKeyed<T>(defaults, key._key());
}

}  // namespace kp
