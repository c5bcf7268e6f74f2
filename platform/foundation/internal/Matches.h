// File: platform/foundation/internal/Matches.h
//
// What NSRegularExpression and NSDataDetector share: clipping a UTF-16 range to the
// text, and collecting the matches an enumeration yields.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/foundation/NSRange.h"
#include "platform/foundation/NSRegularExpression.h"

namespace ios::matches_internal {

// The byte range [begin, end) of the UTF-16 `range` of `text`, clipped to the text.
[[nodiscard]] inline std::pair<std::size_t, std::size_t> byteRange(std::string_view text, NSRange range) {
  const std::size_t begin = utf8Offset(text, range.location);
  const std::size_t end =
      range.length > NSNotFound - range.location ? text.size() : utf8Offset(text, range.upperBound());
  return {begin, std::max(begin, end)};
}

// Every match that `enumerate(body)` passes to its body.
template <class Enumerate>
[[nodiscard]] std::vector<NSTextCheckingResult> all(Enumerate&& enumerate) {
  std::vector<NSTextCheckingResult> out;
  enumerate([&](const NSTextCheckingResult& match, bool&) { out.push_back(match); });
  return out;
}

// The first match that `enumerate(body)` passes to its body, or nothing.
template <class Enumerate>
[[nodiscard]] std::optional<NSTextCheckingResult> first(Enumerate&& enumerate) {
  std::optional<NSTextCheckingResult> out;
  enumerate([&](const NSTextCheckingResult& match, bool& stop) {
    out = match;
    stop = true;
  });
  return out;
}

}  // namespace ios::matches_internal
