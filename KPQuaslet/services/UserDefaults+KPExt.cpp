#include "KPQuaslet/services/UserDefaults+KPExt.h"

#include "platform/foundation/NSException.h"
#include "platform/foundation/Precondition.h"

namespace kp {

ios::UserDefaults& Defaults() { return *ios::UserDefaults::standard(); }

std::optional<ios::PropertyList> Proxy::object() const { return defaults_->object(key_); }
std::optional<std::string> Proxy::string() const { return defaults_->string(key_); }
std::optional<ios::PropertyList::Array> Proxy::array() const { return defaults_->array(key_); }
std::optional<ios::PropertyList::Dictionary> Proxy::dictionary() const { return defaults_->dictionary(key_); }
std::optional<ios::Data> Proxy::data() const { return defaults_->data(key_); }
std::optional<ios::Date> Proxy::date() const { return kp::date(*defaults_, key_); }
std::optional<ios::NSNumber> Proxy::number() const { return numberForKey(*defaults_, key_); }

std::optional<std::int64_t> Proxy::int_() const {
  auto n = number();
  return n ? std::optional<std::int64_t>(n->integerValue()) : std::nullopt;
}
std::optional<double> Proxy::double_() const {
  auto n = number();
  return n ? std::optional<double>(n->doubleValue()) : std::nullopt;
}
std::optional<bool> Proxy::bool_() const {
  auto n = number();
  return n ? std::optional<bool>(n->boolValue()) : std::nullopt;
}

std::string Proxy::stringValue() const { return string().value_or(""); }
ios::PropertyList::Array Proxy::arrayValue() const { return array().value_or(ios::PropertyList::Array{}); }
ios::PropertyList::Dictionary Proxy::dictionaryValue() const {
  return dictionary().value_or(ios::PropertyList::Dictionary{});
}
ios::Data Proxy::dataValue() const { return data().value_or(ios::Data{}); }
ios::NSNumber Proxy::numberValue() const { return number().value_or(ios::NSNumber(std::int64_t{0})); }
std::int64_t Proxy::intValue() const { return int_().value_or(0); }
double Proxy::doubleValue() const { return double_().value_or(0.0); }
bool Proxy::boolValue() const { return bool_().value_or(false); }

bool hasKey(const ios::UserDefaults& defaults, std::string_view key) { return defaults.object(key).has_value(); }

void remove(ios::UserDefaults& defaults, std::string_view key) { defaults.removeObject(key); }

void removeAll(ios::UserDefaults& defaults) {
  for (const auto& [key, value] : defaults.dictionaryRepresentation()) defaults.removeObject(key);
}

std::optional<ios::NSNumber> numberForKey(const ios::UserDefaults& defaults, std::string_view key) {
  auto value = defaults.object(key);
  if (!value) return std::nullopt;
  return ios::NSNumber::fromPropertyList(*value);
}

std::optional<float> float_(const ios::UserDefaults& defaults, std::string_view key) {
  auto number = numberForKey(defaults, key);
  if (!number) return std::nullopt;
  const double d = number->doubleValue();
  const auto f = static_cast<float>(d);
  // Only numbers a float holds exactly (NaN included) read as floats.
  if (static_cast<double>(f) != d && !(d != d)) return std::nullopt;
  return f;
}

std::optional<ios::Date> date(const ios::UserDefaults& defaults, std::string_view key) {
  auto value = defaults.object(key);
  if (!value) return std::nullopt;
  return value->dateValue();
}

void addInteger(const Proxy& proxy, std::int64_t n) {
  const std::int64_t stored = proxy.int_().value_or(0);
  std::int64_t sum = 0;
  KP_PRECONDITION(!__builtin_add_overflow(stored, n, &sum), "the sum of a stored integer overflows 64 bits");
  proxy.defaults().setInteger(sum, proxy.key());
}

void addDouble(const Proxy& proxy, double d) {
  proxy.defaults().setDouble(proxy.double_().value_or(0.0) + d, proxy.key());
}

namespace services_internal {

void storePropertyList(ios::UserDefaults& defaults, std::string_view key, const ios::PropertyList& value) {
  switch (value.kind()) {
    case ios::PropertyList::Kind::null: return defaults.removeObject(key);
    case ios::PropertyList::Kind::real: return defaults.setDouble(*value.doubleValue(), key);
    case ios::PropertyList::Kind::integer:
      if (const auto integer = value.integerValue()) return defaults.setInteger(*integer, key);
      // Above the signed 64-bit range: kept as the nearest double, as for a std::uint64_t.
      return defaults.setDouble(static_cast<double>(*value.unsignedIntegerValue()), key);
    case ios::PropertyList::Kind::boolean: return defaults.setBool(*value.boolValue(), key);
    default: return defaults.setObject(value, key);
  }
}

void refuseValue(std::string_view typeName, std::string_view key) {
  ios::NSException(ios::NSInvalidArgumentException, "Attempt to insert non-property list object of type " +
                                                         std::string(typeName) + " for key " + std::string(key))
      .raise();
}

void storeAny(ios::UserDefaults& defaults, std::string_view key, const std::any& value) {
  if (const auto* url = std::any_cast<ios::URL>(&value)) return defaults.setURL(*url, key);
  const std::optional<ios::PropertyList> bridged = values_internal::toPropertyList(value);
  if (!bridged) refuseValue(value.type().name(), key);
  storePropertyList(defaults, key, *bridged);
}

}  // namespace services_internal
}  // namespace kp
