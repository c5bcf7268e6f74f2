// File: KPQuaslet/text/internal/TextSupport.h
//
// Small helpers shared by the text extensions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Data.h"
#include "platform/foundation/String.h"
#include "platform/foundation/StringCase.h"

namespace kp::text_internal {

// upper - lower + extra, or nothing when it does not fit in 64 bits.
[[nodiscard]] inline std::optional<std::int64_t> checkedLength(std::int64_t lower, std::int64_t upper,
                                                               std::int64_t extra) {
  std::int64_t length = 0;
  if (__builtin_sub_overflow(upper, lower, &length) || __builtin_add_overflow(length, extra, &length)) {
    return std::nullopt;
  }
  return length;
}

// The full lower-case form of `text`; ill-formed bytes read as U+FFFD.
[[nodiscard]] inline std::string lowercased(std::string_view text) {
  if (ios::isValidUTF8(text)) return *ios::lowercased(text);
  return *ios::lowercased(ios::decodingUTF8(text));
}

// The form by which texts compare: the canonical composition of well-formed text; the
// bytes themselves otherwise, so that an ill-formed byte only equals itself.
[[nodiscard]] inline std::string canonicalKey(std::string_view text) {
  if (!ios::isValidUTF8(text)) return std::string(text);
  return ios::precomposedStringWithCanonicalMapping(text);
}

// True when the two texts are canonically equivalent.
[[nodiscard]] inline bool canonicallyEqual(std::string_view a, std::string_view b) {
  return a == b || canonicalKey(a) == canonicalKey(b);
}

}  // namespace kp::text_internal
