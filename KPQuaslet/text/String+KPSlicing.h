// File: KPQuaslet/text/String+KPSlicing.h
//
// Text addressed by character positions: subscripts, slicing, truncation, trimming,
// search and replacement, repetition, random texts, and grouping with separators.
//
//   kp::at(std::string("héllo"), 1);                  // Character "é"
//   kp::safeAt("0123456789", kp::Range{-3, 2});        // "01234": the length counts from -3
//   kp::slicing("hello", 2, 100);                     // "llo"
//   kp::kp_truncate("hello world", 5, "…");          // "hello…"
//   kp::inserting("1234567", " ", 3);                 // "123 456 7"
//
// Positions, lengths and counts are characters (extended grapheme clusters): "👍🏽",
// "e" + U+0301 and CR LF are one character each. Text is UTF-8; an ill-formed byte is a
// character of its own and is copied unchanged by the slicing operations. Texts compare
// by canonical equivalence (precomposed "é" equals "e" + U+0301). Forms that name a
// precondition stop the process when it is broken; the "safe" forms answer nothing.
#pragma once

#include <concepts>
#include <cstdint>
#include <optional>
#include <ranges>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "KPQuaslet/values/Range.h"
#include "platform/foundation/Character.h"
#include "platform/foundation/NSString.h"

namespace kp {

// ---------------------------------------------------------------------------------
// Positions and subscripts

// at()
//
// The character at `position`. Precondition: 0 <= position < length(text).
[[nodiscard]] ios::Character at(std::string_view text, std::int64_t position);

// The characters at range.lowerBound ..< range.upperBound. Precondition:
// 0 <= lowerBound and upperBound <= length(text).
[[nodiscard]] std::string at(std::string_view text, Range range);

// safeAt()
//
// The character at `position`, or nothing when the position is negative or not below
// the length.
[[nodiscard]] std::optional<ios::Character> safeAt(std::string_view text, std::int64_t position);

// The characters of `range`, leniently: the start is max(lowerBound, 0) but the length
// stays upperBound - lowerBound, so on a ten-character text -3..<2 gives the first five
// characters; 10..<10 gives ""; nothing when the start or the end would pass the end of
// the text, or when the length does not fit in 64 bits.
[[nodiscard]] std::optional<std::string> safeAt(std::string_view text, Range range);

// As above with the length upperBound - lowerBound + 1.
[[nodiscard]] std::optional<std::string> safeAt(std::string_view text, ClosedRange range);

// length()
//
// The number of characters.
[[nodiscard]] std::int64_t length(std::string_view text);

// firstCharacter(), lastCharacter()
//
// The first (last) character as a one-character text, or nothing for the empty text.
[[nodiscard]] std::optional<std::string> firstCharacter(std::string_view text);
[[nodiscard]] std::optional<std::string> lastCharacter(std::string_view text);

// ---------------------------------------------------------------------------------
// Slicing and truncation

// slicing()
//
// `length` characters from position `from`, or the rest of the text when fewer
// remain; "" for a length of 0. Nothing when from < 0, length < 0 or from is not below
// the length of the text (so slicing("", 0, 0) is nothing).
[[nodiscard]] std::optional<std::string> slicing(std::string_view text, std::int64_t from, std::int64_t length);

// slice()
//
// Makes `text` its slicing(from, length) when that has a value; leaves it unchanged
// otherwise.
void slice(std::string& text, std::int64_t from, std::int64_t length);

// sliceTo()
//
// Makes `text` its characters from ..< to (safeAt's rules); unchanged when to < from or
// when that range has no value.
void sliceTo(std::string& text, std::int64_t from, std::int64_t to);

// slice()
//
// Makes `text` its characters from position `at` to the end; unchanged when `at` is
// negative or not below the length.
void slice(std::string& text, std::int64_t at);

// kp_truncate()
//
// The first `length` characters followed by `trailing` when the text is longer than
// `length`; the text unchanged (and nothing appended) otherwise. Precondition:
// length >= 0.
[[nodiscard]] std::string kp_truncate(std::string_view text, std::int64_t length,
                                      std::optional<std::string_view> trailing = std::nullopt);

// ---------------------------------------------------------------------------------
// Trimming and spacing

enum class TrimmingType {
  whitespace,            // spaces and tabs (CharacterSet::whitespaces())
  whitespaceAndNewline,  // those and line breaks (CharacterSet::whitespacesAndNewlines())
};
// The two kinds, in declaration order.
[[nodiscard]] inline std::span<const TrimmingType> allCases(std::type_identity<TrimmingType>) {
  static constexpr TrimmingType cases[] = {TrimmingType::whitespace, TrimmingType::whitespaceAndNewline};
  return cases;
}
// The case name, as the value is printed.
[[nodiscard]] std::string ios_describe(TrimmingType value);

// trimming()
//
// The text without its leading and trailing characters of the set `type` names.
[[nodiscard]] std::string trimming(std::string_view text, TrimmingType type);

// trimmed()
//
// The text without leading and trailing whitespace and line breaks.
[[nodiscard]] std::string trimmed(std::string_view text);

// trim()
//
// Makes `text` its trimmed() form.
void trim(std::string& text);

// removeAllNewLines()
//
// The text with every line-break scalar removed (LF, VT, FF, CR, U+0085, U+2028,
// U+2029); the two scalars of CR LF both go.
[[nodiscard]] std::string removeAllNewLines(std::string_view text);

// withoutSpacesAndNewLines()
//
// The text with every space U+0020 and line feed U+000A removed; tabs, carriage returns
// and other whitespace stay (so CR LF leaves its CR).
[[nodiscard]] std::string withoutSpacesAndNewLines(std::string_view text);

// ---------------------------------------------------------------------------------
// Search, affixes and replacement

// contains()
//
// True when `needle` occurs in the text, searched with `options` (by default by
// canonical equivalence, on whole characters). An empty needle is never found. With
// ios::CompareOptions::regularExpression the needle is a pattern: an invalid one is
// never found, and a search that reaches ios::NSRegularExpression::matchTimeLimit
// (about half a second of backtracking) answers false.
[[nodiscard]] bool contains(std::string_view text, std::string_view needle,
                            ios::CompareOptions options = ios::CompareOptions::none);

// starts(), ends()
//
// True when the text begins (ends) with the characters of `affix`; with caseSensitive
// false both are lower-cased first. The affix must end on a character boundary: "e"
// is not a prefix of "e" + U+0301.
[[nodiscard]] bool starts(std::string_view text, std::string_view prefix, bool caseSensitive = true);
[[nodiscard]] bool ends(std::string_view text, std::string_view suffix, bool caseSensitive = true);

// removingPrefix(), removingSuffix()
//
// The text without its first (last) length(affix) characters when it has that
// prefix (suffix); the text unchanged otherwise.
[[nodiscard]] std::string removingPrefix(std::string_view text, std::string_view prefix);
[[nodiscard]] std::string removingSuffix(std::string_view text, std::string_view suffix);

// countOf()
//
// The number of non-overlapping occurrences of `needle` ("aa" occurs once in "aaa");
// with caseSensitive false both are lower-cased first. 0 for an empty needle.
[[nodiscard]] std::int64_t countOf(std::string_view text, std::string_view needle, bool caseSensitive = true);

// replacing()
//
// The text with every occurrence of `target` (compared by canonical equivalence)
// replaced by `replacement`. An empty target changes nothing.
[[nodiscard]] std::string replacing(std::string_view text, std::string_view target, std::string_view replacement);

// replace()
//
// The text with every occurrence of `target` (compared byte for byte) replaced by
// `withString`. It returns the new text: the argument is not changed.
[[nodiscard]] std::string replace(std::string_view text, std::string_view target, std::string_view withString);

// reversed()
//
// The characters in reverse order (each character's scalars keep their order).
[[nodiscard]] std::string reversed(std::string_view text);

// ---------------------------------------------------------------------------------
// Paths, the pasteboard, repetition and random texts

// appendingPathComponent(), lastPathComponent()
//
// The platform's path joining and last path component (ios::appendingPathComponent()).
[[nodiscard]] std::string appendingPathComponent(std::string_view text, std::string_view component);
[[nodiscard]] std::string lastPathComponent(std::string_view text);

// copyToPasteboard()
//
// Sets the text as the general pasteboard's string.
void copyToPasteboard(std::string_view text);

// repeated()
//
// The text `count` times; "" when count <= 0.
[[nodiscard]] std::string repeated(std::string_view text, std::int64_t count);

// randomString()
//
// `length` characters drawn independently and uniformly from the 62 letters and digits
// of kAlphanumericCharacters (ios::arc4random_uniform). Precondition: length >= 0.
[[nodiscard]] std::string randomString(std::int64_t length);

// makeRandomString()
//
// As randomString(), and "" for a length of 0 or below.
[[nodiscard]] std::string makeRandomString(std::int64_t randomOfLength);

// ---------------------------------------------------------------------------------
// Pairs and separators

// pairs()
//
// The text cut into runs of two characters from the start; the last run holds the
// single last character for an odd length and is empty for an even one ("" gives
// {""}, "abc" gives {"ab", "c"}, "ab" gives {"ab", ""}). The views point into `text`.
[[nodiscard]] std::vector<std::string_view> pairs(std::string_view text);
// Refused for a temporary std::string: the views would outlive it.
template <class S>
  requires std::same_as<S, std::string>
std::vector<std::string_view> pairs(S&& text) = delete;

// The same for any collection: count / 2 + 1 sub-ranges of two elements, the last one
// holding the odd element or empty.
template <std::ranges::forward_range R>
  requires(std::ranges::borrowed_range<R> && !std::convertible_to<R, std::string_view>)
[[nodiscard]] auto pairs(R&& collection) {
  using Sub = std::ranges::subrange<std::ranges::iterator_t<R>>;
  std::vector<Sub> out;
  auto it = std::ranges::begin(collection);
  const auto end = std::ranges::end(collection);
  const auto count = std::ranges::distance(collection);
  for (decltype(std::ranges::distance(collection)) i = 0; i <= count / 2; ++i) {
    auto stop = it;
    std::ranges::advance(stop, 2, end);
    out.emplace_back(it, stop);
    it = stop;
  }
  return out;
}

// insert()
//
// Inserts `separator` before every character whose position is a positive multiple of
// `every`, counting from the start ("1234567" with 3 becomes "123,456,7"; no separator
// is added at the end). Precondition: every != 0.
void insert(std::string& text, std::string_view separator, std::int64_t every);

// inserting()
//
// A copy of the text on which insert() has run.
[[nodiscard]] std::string inserting(std::string_view text, std::string_view separator, std::int64_t every);

// ---------------------------------------------------------------------------------
// Operators (opt in with `using namespace kp::operators;`)

namespace operators {

// text * n and n * text: repeated(text, n). Character and floating-point counts are
// refused, so "ab" * 'x' does not repeat 120 times.
template <std::integral N>
  requires(!std::same_as<N, char> && !std::same_as<N, char8_t> && !std::same_as<N, char16_t> &&
           !std::same_as<N, char32_t> && !std::same_as<N, wchar_t> && !std::same_as<N, bool>)
[[nodiscard]] std::string operator*(const std::string& text, N count) {
  return repeated(text, static_cast<std::int64_t>(count));
}
template <std::integral N>
  requires(!std::same_as<N, char> && !std::same_as<N, char8_t> && !std::same_as<N, char16_t> &&
           !std::same_as<N, char32_t> && !std::same_as<N, wchar_t> && !std::same_as<N, bool>)
[[nodiscard]] std::string operator*(N count, const std::string& text) {
  return repeated(text, static_cast<std::int64_t>(count));
}

}  // namespace operators

}  // namespace kp
