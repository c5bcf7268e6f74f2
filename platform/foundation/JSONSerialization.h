// File: platform/foundation/JSONSerialization.h
//
// JSON text to and from property-list values.
//
//   ios::PropertyList value = ios::PropertyList::Dictionary{{"a", 1}, {"b", "x/y"}};
//   ios::JSONSerialization::isValidJSONObject(value);             // true
//   ios::JSONSerialization::data(value);                          // {"a":1,"b":"x\/y"}
//   ios::JSONSerialization::data(value, ios::JSONSerialization::prettyPrinted);
//   // {
//   //   "a" : 1,
//   //   "b" : "x\/y"
//   // }
//
// Fidelity: the writer keeps the platform's two layouts: compact (no whitespace at all)
// and pretty-printed (two-space indentation, one value per line, " : " between a key
// and its value); "/" is written as "\/" unless withoutEscapingSlashes is given; doubles
// with a whole value within +-2^53 are written without a fraction ("3", not "3.0").
// Differs: dictionary keys are always written in sorted order (the platform's order is
// unspecified unless sortedKeys is given); empty containers are "[]" and "{}" in both
// layouts. Reading and writing use nlohmann-json. Absent: the stream variants.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/foundation/PropertyList.h"

namespace ios {

class JSONSerialization {
 public:
  // Writing options (a bit set, as on the platform).
  struct WritingOptions {
    std::uint64_t rawValue = 0;
    [[nodiscard]] constexpr bool contains(WritingOptions o) const { return (rawValue & o.rawValue) == o.rawValue; }
    constexpr WritingOptions operator|(WritingOptions o) const { return {rawValue | o.rawValue}; }
  };
  static constexpr WritingOptions prettyPrinted{1};
  static constexpr WritingOptions sortedKeys{2};
  static constexpr WritingOptions fragmentsAllowed{4};
  static constexpr WritingOptions withoutEscapingSlashes{8};

  // Reading options.
  struct ReadingOptions {
    std::uint64_t rawValue = 0;
    [[nodiscard]] constexpr bool contains(ReadingOptions o) const { return (rawValue & o.rawValue) == o.rawValue; }
  };
  static constexpr ReadingOptions readingFragmentsAllowed{4};

  // The deepest nesting of arrays and dictionaries read or written: jsonObject() refuses
  // text nested deeper, as malformed, before building any of it, and a value nested
  // deeper is not a valid JSON object. (The platform's reader has a limit of its own; a
  // stack-bound one would let hostile text end the process.)
  static constexpr std::size_t maximumNestingDepth = 512;

  // What data() throws for an object it cannot write (the platform raises an
  // invalid-argument exception there).
  class InvalidObject : public std::invalid_argument {
   public:
    using std::invalid_argument::invalid_argument;
  };

  // isValidJSONObject()
  //
  // True when `object` can be written: the top level is an array or a dictionary, and
  // every value inside is (recursively) null, a boolean, an integer, a finite double,
  // well-formed UTF-8 text, an array or a dictionary whose keys are well-formed UTF-8,
  // with containers nested no deeper than maximumNestingDepth. Raw bytes, dates, NaN and
  // infinities make it false. Never throws.
  [[nodiscard]] static bool isValidJSONObject(const PropertyList& object);

  // data()
  //
  // The UTF-8 JSON text of `object`, compact or pretty-printed (see the banner). With
  // fragmentsAllowed the top level may be any writable value. Throws InvalidObject when
  // the object is not writable.
  [[nodiscard]] static PropertyList::Data data(const PropertyList& object, WritingOptions options);
  [[nodiscard]] static PropertyList::Data data(const PropertyList& object) { return data(object, WritingOptions{0}); }

  // jsonObject()
  //
  // The value that the JSON text `data` holds: integers that fit in 64 signed bits
  // become integers, other numbers doubles. The top level must be an array or an object
  // unless readingFragmentsAllowed is given. Throws NSError{"NSCocoaErrorDomain", 3840}
  // for text that is not valid JSON, and for text that nests arrays and objects deeper
  // than maximumNestingDepth (20,000 "[" are refused, not read).
  [[nodiscard]] static PropertyList jsonObject(std::string_view data, ReadingOptions options);
  [[nodiscard]] static PropertyList jsonObject(const PropertyList::Data& data, ReadingOptions options);
  [[nodiscard]] static PropertyList jsonObject(std::string_view data) { return jsonObject(data, ReadingOptions{0}); }
  [[nodiscard]] static PropertyList jsonObject(const PropertyList::Data& data) {
    return jsonObject(data, ReadingOptions{0});
  }
};

}  // namespace ios
