// File: platform/foundation/PropertyList.h
//
// The value kind that the platform's stores and serialisers exchange: null, booleans,
// integers, doubles, text, raw bytes, dates, arrays and string-keyed dictionaries.
//
//   ios::PropertyList settings = ios::PropertyList::Dictionary{
//       {"volume", 0.8}, {"name", "Ann"}, {"tags", ios::PropertyList::Array{"a", "b"}}};
//   settings.dictionaryValue()->at("name").stringValue();  // pointer to "Ann"
//
// Fidelity: stands for the platform's bridged object graph (NSNull, NSNumber, NSString,
// NSData, NSDate, NSArray, NSDictionary). Booleans stay distinct from integers, and
// integers from doubles. Arrays and dictionaries are immutable once built and shared
// between copies, so copying a large value is cheap. Dictionary keys are kept in sorted
// order (the platform's order is unspecified).
#pragma once

#include <concepts>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/foundation/Data.h"
#include "platform/foundation/Date.h"

namespace ios {

class PropertyList {
 public:
  using Array = std::vector<PropertyList>;
  using Dictionary = std::map<std::string, PropertyList, std::less<>>;
  using Data = ios::Data;

  enum class Kind { null, boolean, integer, real, string, data, date, array, dictionary };

  // Null.
  PropertyList() = default;
  PropertyList(std::nullptr_t) {}  // NOLINT: implicit, like the platform's literals
  PropertyList(bool value) : storage_(value) {}
  // Any integer type; the value must fit in 64 signed bits.
  template <std::integral I>
    requires(!std::same_as<I, bool> && !std::same_as<I, char>)
  PropertyList(I value) : storage_(checkedInteger(value)) {}
  PropertyList(double value) : storage_(value) {}
  PropertyList(float value) : storage_(static_cast<double>(value)) {}
  PropertyList(std::string value) : storage_(std::move(value)) {}
  PropertyList(std::string_view value) : storage_(std::string(value)) {}
  PropertyList(const char* value) : storage_(std::string(value)) {}
  PropertyList(Date value) : storage_(value) {}
  PropertyList(Array value);
  PropertyList(Dictionary value);

  // Copying shares arrays, dictionaries and bytes (they are immutable). Defined out of
  // line: one place for the variant's copy and move code.
  PropertyList(const PropertyList& other);
  PropertyList(PropertyList&& other) noexcept;
  PropertyList& operator=(const PropertyList& other);
  PropertyList& operator=(PropertyList&& other) noexcept;
  ~PropertyList();

  // Raw bytes (a separate factory, so that a list of small numbers is never taken for
  // bytes).
  [[nodiscard]] static PropertyList fromData(Data bytes);
  // Any unsigned 64-bit integer, those above INT64_MAX included (the platform's number
  // holds them; the JSON writer writes them). Such a value is of kind integer, but
  // integerValue() has nothing for it: read it with unsignedIntegerValue(). (A separate
  // factory: stores that keep signed integers only never receive one unasked.)
  [[nodiscard]] static PropertyList fromUnsignedInteger(std::uint64_t value);

  [[nodiscard]] Kind kind() const {
    return storage_.index() == kUnsignedIndex ? Kind::integer : static_cast<Kind>(storage_.index());
  }
  [[nodiscard]] bool isNull() const { return kind() == Kind::null; }

  // The value when it is of the named kind, otherwise nothing (no conversions: an
  // integer is not a double and 1 is not true).
  [[nodiscard]] std::optional<bool> boolValue() const;
  [[nodiscard]] std::optional<std::int64_t> integerValue() const;
  // The integer as unsigned: nothing for a negative one (and for other kinds).
  [[nodiscard]] std::optional<std::uint64_t> unsignedIntegerValue() const;
  [[nodiscard]] std::optional<double> doubleValue() const;
  [[nodiscard]] std::optional<Date> dateValue() const;
  [[nodiscard]] const std::string* stringValue() const { return std::get_if<std::string>(&storage_); }
  [[nodiscard]] const Data* dataValue() const;
  [[nodiscard]] const Array* arrayValue() const;
  [[nodiscard]] const Dictionary* dictionaryValue() const;

  // Equal kinds with equal contents (a double NaN is not equal to itself).
  friend bool operator==(const PropertyList& a, const PropertyList& b);

  // The platform's description, as ios::describe writes nested values.
  [[nodiscard]] std::string description() const;
  friend std::ostream& operator<<(std::ostream& os, const PropertyList& value) { return os << value.description(); }

 private:
  struct DataBox {
    std::shared_ptr<const Data> bytes;
  };
  struct ArrayBox {
    std::shared_ptr<const Array> elements;
  };
  struct DictionaryBox {
    std::shared_ptr<const Dictionary> entries;
  };

  template <class I>
  static std::int64_t checkedInteger(I value) {
    if constexpr (std::is_unsigned_v<I> && sizeof(I) >= sizeof(std::int64_t)) {
      if (value > static_cast<std::uint64_t>(INT64_MAX)) integerOutOfRange();
    }
    return static_cast<std::int64_t>(value);
  }
  [[noreturn]] static void integerOutOfRange();

  // Order matches Kind; the last alternative holds integers above INT64_MAX (of kind
  // integer too).
  static constexpr std::size_t kUnsignedIndex = 9;
  std::variant<std::monostate, bool, std::int64_t, double, std::string, DataBox, Date, ArrayBox, DictionaryBox,
               std::uint64_t>
      storage_;
};

}  // namespace ios
