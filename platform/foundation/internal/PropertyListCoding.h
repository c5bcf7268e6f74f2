// File: platform/foundation/internal/PropertyListCoding.h
//
// A lossless JSON form of property-list values, for the files the stand-ins keep (user
// defaults, keyed archives). Plain JSON cannot tell an integer from a double or hold
// bytes, dates, NaN or text that is not UTF-8, so those kinds are tagged:
//
//   true, 7, "text", [..]          booleans, integers, UTF-8 text and arrays as themselves
//   {"real": 1.5} / {"real": "nan"}  doubles (also "inf" and "-inf")
//   {"data": "AAE="}               bytes, Base64
//   {"date": 12.5}                 dates, seconds since 2001-01-01
//   {"bytes": "..."}               text that is not well-formed UTF-8, Base64
//   {"dict": [[key, value], ..]}   dictionaries; a key is written as text is
//   null                           null
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include <optional>
#include <string>

#include "platform/foundation/PropertyList.h"

namespace ios::foundation_internal {

// The deepest a value may lie inside arrays and dictionaries for decodePropertyList() to
// read it (the outermost value lies at depth 0); deeper forms are refused rather than
// risking the stack on a hostile file.
inline constexpr std::size_t kMaximumDecodingDepth = 512;

// What keeps a value from having a tagged form that reads back.
enum class Unencodable {
  none,
  // Some value inside lies deeper than kMaximumDecodingDepth.
  nestedTooDeeply,
  // Some integer inside lies above the signed 64-bit range.
  integerAboveSignedRange,
};

// What in `value`, itself lying at `depth` (0 for the outermost value of a form), has no
// form that reads back; the first found. Walked without recursion.
[[nodiscard]] Unencodable findUnencodable(const PropertyList& value, std::size_t depth = 0);

// The tagged JSON form of `value`.
[[nodiscard]] nlohmann::json encodePropertyList(const PropertyList& value);
// The same for a dictionary, without copying it into a PropertyList first.
[[nodiscard]] nlohmann::json encodePropertyList(const PropertyList::Dictionary& entries);

// Appends the compact text of encodePropertyList(entries), byte for byte what its dump()
// writes, to `out`, without building the JSON form first (the stores write their files
// with it). Throws std::runtime_error as encodePropertyList() does.
void appendPropertyListText(const PropertyList::Dictionary& entries, std::string& out);

// The value a tagged JSON form holds. Throws std::runtime_error for anything that is
// not such a form.
[[nodiscard]] PropertyList decodePropertyList(const nlohmann::json& form);
// The dictionary a tagged dictionary form holds, decoded without an intermediate copy;
// nothing for a form of another kind. Throws std::runtime_error as decodePropertyList().
[[nodiscard]] std::optional<PropertyList::Dictionary> decodePropertyListDictionary(const nlohmann::json& form);

}  // namespace ios::foundation_internal
