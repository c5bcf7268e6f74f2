// File: platform/foundation/internal/Unicode.h
//
// The text engine behind Character and the text services: UTF-8 decoding and
// validation, extended grapheme clusters, full case mapping, canonical normalisation
// and the Unicode properties of scalars, all backed by ICU. The interface carries no
// ICU type, so any platform file may include it.
//
//   ios::unicode_internal::firstGraphemeLength("e\u0301x");   // 3
//   ios::unicode_internal::uppercased("straße");              // "STRASSE"
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ios::unicode_internal {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or values
// above U+10FFFF).
[[nodiscard]] bool isValidUTF8(std::string_view text);

// Decodes the scalar that starts at byte `position` and moves `position` past it. An
// ill-formed sequence decodes to U+FFFD and moves past its first byte only.
// Precondition: position < text.size().
[[nodiscard]] char32_t decodeScalar(std::string_view text, std::size_t& position);

// True when `value` is a Unicode scalar (at most U+10FFFF and not a surrogate).
[[nodiscard]] constexpr bool isScalar(char32_t value) {
  return value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
}

// Appends the UTF-8 form of the scalar `scalar` to `out`.
void appendUTF8(std::string& out, char32_t scalar);

// Every scalar of `text`, ill-formed bytes as U+FFFD.
[[nodiscard]] std::vector<char32_t> scalars(std::string_view text);

// The byte length of the first extended grapheme cluster of `text` (0 when empty).
[[nodiscard]] std::size_t firstGraphemeLength(std::string_view text);

// The byte offset `distance` clusters after the cluster boundary `from`, or nothing
// when that passes the end of the text (reaching text.size() is allowed). Only the
// clusters walked are segmented: the cost grows with the distance, not the text.
[[nodiscard]] std::optional<std::size_t> advanceGraphemes(std::string_view text, std::size_t from,
                                                          std::size_t distance);

// The byte offset at which the last cluster of `text` starts (0 when empty). Only the
// end of the text is segmented.
[[nodiscard]] std::size_t lastGraphemeStart(std::string_view text);

// The byte offsets at which the extended grapheme clusters of `text` start, followed
// by text.size(); {0} for the empty text. An ill-formed byte is a cluster of its own.
[[nodiscard]] std::vector<std::size_t> graphemeBoundaries(std::string_view text);

// The number of extended grapheme clusters in `text`.
[[nodiscard]] std::size_t graphemeCount(std::string_view text);

// Full case mappings without language tailoring ("ß" upper-cases to "SS", "İ"
// lower-cases to "i" followed by U+0307). Ill-formed bytes become U+FFFD.
[[nodiscard]] std::string uppercased(std::string_view text);
[[nodiscard]] std::string lowercased(std::string_view text);

// The canonical composition (NFC) of `text`. Ill-formed bytes become U+FFFD.
[[nodiscard]] std::string nfc(std::string_view text);
// The canonical (NFD) and compatibility (NFKD) decompositions of `text`.
[[nodiscard]] std::string nfd(std::string_view text);
[[nodiscard]] std::string nfkd(std::string_view text);
// The full case folding of `text` (for caseless comparison).
[[nodiscard]] std::string foldCase(std::string_view text);
// `word` with its first scalar mapped to title case and the rest to lower case
// ("ßa" gives "Ssa", "hELLO" gives "Hello"). Ill-formed bytes become U+FFFD.
[[nodiscard]] std::string titlecasedWord(std::string_view word);

// General-category groups of a scalar.
enum class CategoryGroup {
  letter,       // L*
  mark,         // M*
  number,       // N*
  punctuation,  // P*
  symbol,       // S*
  separator,    // Z*
  other,        // C*
};
[[nodiscard]] CategoryGroup categoryGroup(char32_t scalar);

// The general category of a scalar.
enum class GeneralCategory {
  Lu, Ll, Lt, Lm, Lo,          // letters
  Mn, Mc, Me,                  // marks
  Nd, Nl, No,                  // numbers
  Pc, Pd, Ps, Pe, Pi, Pf, Po,  // punctuation
  Sm, Sc, Sk, So,              // symbols
  Zs, Zl, Zp,                  // separators
  Cc, Cf, Cs, Co, Cn,          // other
};
[[nodiscard]] GeneralCategory generalCategory(char32_t scalar);

// Single properties of a scalar, as the Unicode Character Database defines them.
[[nodiscard]] bool isAlphabetic(char32_t scalar);
[[nodiscard]] bool isWhiteSpace(char32_t scalar);
[[nodiscard]] bool isUppercaseProperty(char32_t scalar);
[[nodiscard]] bool isLowercaseProperty(char32_t scalar);
[[nodiscard]] bool isCasedProperty(char32_t scalar);
[[nodiscard]] bool isMathProperty(char32_t scalar);
[[nodiscard]] bool isCurrencySymbol(char32_t scalar);  // general category Sc
[[nodiscard]] bool isDecimalDigit(char32_t scalar);    // general category Nd
// True when the scalar has a numeric type (decimal, digit or numeric).
[[nodiscard]] bool hasNumericType(char32_t scalar);
// The whole-number value of the scalar ("٣" is 3, "Ⅻ" is 12), or false when its
// numeric value is absent or not a whole number in 64 bits.
[[nodiscard]] bool wholeNumberValue(char32_t scalar, std::int64_t& value);

}  // namespace ios::unicode_internal
