// File: platform/foundation/StringCase.h
//
// The platform's case mapping of whole strings.
//
//   ios::lowercased("ÀB");   // "àb"
//   ios::uppercased("straße");  // "STRASSE"
//
// Fidelity: full Unicode case mapping (special casing included, so the length may
// change) with no locale tailoring, as the platform's String.lowercased() and
// uppercased() do; backed by ICU. Differs: text that is not well-formed UTF-8 answers
// nothing (platform strings are always well formed).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ios {

// The lower-case form of `text`, or nothing when `text` is not well-formed UTF-8.
[[nodiscard]] std::optional<std::string> lowercased(std::string_view text);

// The upper-case form of `text`, or nothing when `text` is not well-formed UTF-8.
[[nodiscard]] std::optional<std::string> uppercased(std::string_view text);

}  // namespace ios
