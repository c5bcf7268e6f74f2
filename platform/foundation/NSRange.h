// File: platform/foundation/NSRange.h
//
// Ranges of UTF-16 code units, as the platform's regular expressions and data detectors
// exchange them, and the conversions between UTF-16 offsets and UTF-8 byte offsets.
//
//   std::string text = "a😀b";                   // 6 bytes, 4 UTF-16 units
//   ios::NSRange whole{0, ios::utf16Length(text)};  // {0, 4}
//   ios::utf8Offset(text, 3);                    // 5: the byte offset of "b"
//
// Fidelity: a plain pair of unsigned numbers, with NSNotFound as the platform's "no
// location". Ill-formed UTF-8 bytes count as one UTF-16 unit each (the U+FFFD they read
// as), so the conversions are defined for any byte string.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace ios {

// The location of a range that was not found.
inline constexpr std::size_t NSNotFound = static_cast<std::size_t>(std::numeric_limits<std::int64_t>::max());

struct NSRange {
  std::size_t location = 0;
  std::size_t length = 0;

  // One past the last unit of the range.
  [[nodiscard]] constexpr std::size_t upperBound() const { return location + length; }
  friend constexpr bool operator==(const NSRange&, const NSRange&) = default;
};

// utf16Length()
//
// The number of UTF-16 code units of `text` (scalars above U+FFFF count two).
[[nodiscard]] std::size_t utf16Length(std::string_view text);

// utf16Offset()
//
// The UTF-16 offset of the byte offset `byteOffset` of `text`. A byte offset inside a
// multi-byte scalar answers the offset of that scalar. Precondition:
// byteOffset <= text.size().
[[nodiscard]] std::size_t utf16Offset(std::string_view text, std::size_t byteOffset);

// utf8Offset()
//
// The byte offset of the UTF-16 offset `unitOffset` of `text`; an offset between the two
// units of a surrogate pair, or past the end, answers the next scalar's byte offset (or
// text.size()).
[[nodiscard]] std::size_t utf8Offset(std::string_view text, std::size_t unitOffset);

}  // namespace ios
