// File: KPQuaslet/services/UserDefaults+KPExt.h
//
// String-key conveniences for user defaults: a Proxy with typed readers, the storing
// rule behind every write, presence and removal, and JSON-coded values.
//
//   auto& defaults = kp::Defaults();
//   kp::set(defaults, "launches", 1);            // stored with the integer setter
//   kp::proxy(defaults, "launches")++;           // 2
//   kp::proxy(defaults, "launches").intValue();  // 2
//   kp::setIfMissing(kp::proxy(defaults, "name"), [] { return "Ann"; });
//
// Every write goes through one storing rule: an empty value removes the key; a double is
// stored with the double setter, an integer with the integer setter, a boolean with the
// boolean setter, a URL with the URL setter, and anything else as a property-list object.
#pragma once

#include <any>
#include <concepts>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "KPQuaslet/services/internal/DefaultsStoring.h"
#include "platform/foundation/Data.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/UserDefaults.h"

namespace ios {
class JSONDecoder;
class JSONEncoder;
}  // namespace ios

namespace kp {

// Defaults()
//
// The application's standard user defaults.
[[nodiscard]] ios::UserDefaults& Defaults();

// Proxy
//
// One key of one store, read through typed accessors. Made afresh for each access
// (kp::proxy()); it keeps its store alive, so a proxy kept past the caller's last
// reference to a named suite still reads and writes that suite. Readers with an
// optional result answer nothing when the key is missing or holds another kind; the
// ...Value readers answer a neutral value instead ("", empty, 0, false).
class Proxy {
 public:
  Proxy(ios::UserDefaults& defaults, std::string key) : defaults_(defaults.shared_from_this()), key_(std::move(key)) {}

  [[nodiscard]] ios::UserDefaults& defaults() const { return *defaults_; }
  [[nodiscard]] const std::string& key() const { return key_; }

  [[nodiscard]] std::optional<ios::PropertyList> object() const;
  [[nodiscard]] std::optional<std::string> string() const;
  [[nodiscard]] std::optional<ios::PropertyList::Array> array() const;
  [[nodiscard]] std::optional<ios::PropertyList::Dictionary> dictionary() const;
  [[nodiscard]] std::optional<ios::Data> data() const;
  [[nodiscard]] std::optional<ios::Date> date() const;
  [[nodiscard]] std::optional<ios::NSNumber> number() const;
  // The stored number as an integer (a double truncated toward zero, a boolean 0 or 1).
  [[nodiscard]] std::optional<std::int64_t> int_() const;
  [[nodiscard]] std::optional<double> double_() const;
  // The stored number as a boolean (non-zero is true).
  [[nodiscard]] std::optional<bool> bool_() const;

  [[nodiscard]] std::string stringValue() const;
  [[nodiscard]] ios::PropertyList::Array arrayValue() const;
  [[nodiscard]] ios::PropertyList::Dictionary dictionaryValue() const;
  [[nodiscard]] ios::Data dataValue() const;
  [[nodiscard]] ios::NSNumber numberValue() const;
  [[nodiscard]] std::int64_t intValue() const;
  [[nodiscard]] double doubleValue() const;
  [[nodiscard]] bool boolValue() const;

 private:
  std::shared_ptr<ios::UserDefaults> defaults_;
  std::string key_;
};

// proxy()
//
// A new Proxy for `key` in `defaults`; never empty, even for a missing key.
[[nodiscard]] inline Proxy proxy(ios::UserDefaults& defaults, std::string key) {
  return Proxy(defaults, std::move(key));
}

// set() (string key)
//
// Stores `value` under `key` by the storing rule: std::nullopt (or an empty optional,
// or an empty std::any) removes the key. An unsigned 64-bit integer of 2^63 or more,
// which no signed 64-bit integer holds, is stored as a number all the same: with the
// double setter, as its nearest double (rather than stopping the process), whether it
// comes as a std::uint64_t or as an ios::PropertyList holding it.
template <class V>
void set(ios::UserDefaults& defaults, std::string_view key, const V& value) {
  services_internal::store(defaults, key, value);
}

// Whether the store (including registered defaults) has a value for `key`.
[[nodiscard]] bool hasKey(const ios::UserDefaults& defaults, std::string_view key);
// Removes the application's own value for `key`.
void remove(ios::UserDefaults& defaults, std::string_view key);
// Removes the application's own value for every key the store shows; registered
// defaults and the global domain stay.
void removeAll(ios::UserDefaults& defaults);

// The value when it is a number (a boolean, an integer or a double), else nothing.
[[nodiscard]] std::optional<ios::NSNumber> numberForKey(const ios::UserDefaults& defaults, std::string_view key);
// The value when it is a number that a float holds exactly, else nothing.
[[nodiscard]] std::optional<float> float_(const ios::UserDefaults& defaults, std::string_view key);
// The value when it is a date, else nothing.
[[nodiscard]] std::optional<ios::Date> date(const ios::UserDefaults& defaults, std::string_view key);

// object() (JSON)
//
// The `T` decoded by `decoder` from the bytes stored under `key`; nothing when the key
// is missing, does not hold bytes, or the bytes do not decode as a `T`.
// Include "platform/foundation/JSONCoder.h" to make the decoder.
template <class T, std::same_as<ios::JSONDecoder> Decoder>
[[nodiscard]] std::optional<T> object(const ios::UserDefaults& defaults, std::string_view key,
                                      const Decoder& decoder) {
  auto bytes = defaults.value(key);
  if (!bytes || !bytes->dataValue()) return std::nullopt;
  try {
    return decoder.template decode<T>(*bytes->dataValue());
  } catch (const typename Decoder::Failure&) {
    return std::nullopt;
  }
}

// set() (JSON)
//
// Encodes `object` with `encoder` and stores the bytes under `key`; answers true. When
// it cannot be encoded (a NaN, text that is not UTF-8) the entry is removed, so that no
// stale value reads as if the write had succeeded, and the answer is false.
// Include "platform/foundation/JSONCoder.h" to make the encoder.
template <class T, std::same_as<ios::JSONEncoder> Encoder>
bool set(ios::UserDefaults& defaults, const T& object, std::string_view key, const Encoder& encoder) {
  ios::Data bytes;
  try {
    bytes = encoder.encode(object);
  } catch (const typename Encoder::Failure&) {
    defaults.removeObject(key);
    return false;
  }
  defaults.setObject(ios::PropertyList::fromData(std::move(bytes)), key);
  return true;
}

// setIfMissing() (the ?= operator)
//
// When `proxy`'s key has no value, stores `value` by the storing rule; `value` may be a
// callable, which is then called only in that case.
template <class F>
void setIfMissing(const Proxy& proxy, F&& value) {
  if (hasKey(proxy.defaults(), proxy.key())) return;
  if constexpr (std::invocable<F>) {
    services_internal::store(proxy.defaults(), proxy.key(), std::forward<F>(value)());
  } else {
    services_internal::store(proxy.defaults(), proxy.key(), value);
  }
}

// Adds `n` to the stored integer (0 when missing) and stores the sum as an integer. The
// sum must fit in 64 signed bits (the process stops otherwise).
void addInteger(const Proxy& proxy, std::int64_t n);
// Adds `d` to the stored number's double value (0 when missing) and stores the sum as a
// double.
void addDouble(const Proxy& proxy, double d);

template <std::integral I>
  requires(!std::same_as<I, bool>)
const Proxy& operator+=(const Proxy& proxy, I n) {
  addInteger(proxy, ios::PropertyList(n).integerValue().value_or(0));
  return proxy;
}
template <std::floating_point D>
const Proxy& operator+=(const Proxy& proxy, D d) {
  addDouble(proxy, static_cast<double>(d));
  return proxy;
}
// proxy++ : adds 1 as an integer.
inline void operator++(const Proxy& proxy, int) { addInteger(proxy, 1); }

}  // namespace kp
