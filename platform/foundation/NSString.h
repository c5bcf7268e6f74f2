// File: platform/foundation/NSString.h
//
// The platform's string operations on UTF-8 text: search with compare options,
// replacement, splitting, trimming, capitalisation, diacritic folding, line
// enumeration and path joining; and the bridged string object.
//
//   ios::range("Crème", "CRÈME", ios::CompareOptions::caseInsensitive);  // bytes {0, 6}
//   ios::replacingOccurrences("a-b-c", "-", "+");                     // "a+b+c"
//   ios::components("a,b,,c", ",");                                   // {"a", "b", "", "c"}
//   ios::capitalized("hello wORLD");                                  // "Hello World"
//   ios::appendingPathComponent("/var/", "log");                      // "/var/log"
//
// Fidelity: a search without the literal option compares by canonical equivalence and
// only matches whole extended grapheme clusters (precomposed "é" finds e + U+0301, and
// "e" does not match the start of e + U+0301); the literal option compares the bytes.
// The case-insensitive, diacritic-insensitive and width-insensitive options fold both
// sides (Unicode case folding, removal of non-spacing marks, compatibility
// decomposition); the regular-expression option searches with ICU's engine. An empty
// target is never found. Ranges are byte ranges of the UTF-8 text. Capitalisation
// treats runs delimited by whitespace and line breaks as words. Ill-formed UTF-8 bytes
// read as U+FFFD. Locale-sensitive comparison, the numeric and forced-ordering options
// (they affect ordering only) and the other NSString members are absent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/foundation/CharacterSet.h"
#include "platform/foundation/NSRange.h"

namespace ios {

// NSString.CompareOptions: an option set.
enum class CompareOptions : std::uint32_t {
  none = 0,
  caseInsensitive = 1,
  literal = 2,
  backwards = 4,
  anchored = 8,
  numeric = 64,
  diacriticInsensitive = 128,
  widthInsensitive = 256,
  forcedOrdering = 512,
  regularExpression = 1024,
};
[[nodiscard]] constexpr CompareOptions operator|(CompareOptions a, CompareOptions b) {
  return static_cast<CompareOptions>(static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b));
}
// True when `options` holds every option of `wanted`.
[[nodiscard]] constexpr bool hasOptions(CompareOptions options, CompareOptions wanted) {
  return (static_cast<std::uint32_t>(options) & static_cast<std::uint32_t>(wanted)) ==
         static_cast<std::uint32_t>(wanted);
}

// A byte range (offset, length) of UTF-8 text.
using ByteRange = std::pair<std::size_t, std::size_t>;

// range()
//
// The byte range of the first occurrence of `target` in `text` (the last one with
// `backwards`; only at the start, or with `backwards` only at the end, when
// `anchored`), or nothing. With regularExpression, `target` is an ICU pattern (an
// invalid pattern finds nothing, and so does a search that reaches
// NSRegularExpression::matchTimeLimit). An empty target is never found.
[[nodiscard]] std::optional<ByteRange> range(std::string_view text, std::string_view target,
                                             CompareOptions options = CompareOptions::none);

// replacingOccurrences()
//
// `text` with every non-overlapping occurrence of `target` (found left to right with
// `options`) replaced by `replacement`. An empty target changes nothing.
[[nodiscard]] std::string replacingOccurrences(std::string_view text, std::string_view target,
                                               std::string_view replacement,
                                               CompareOptions options = CompareOptions::none);

// components()
//
// The parts of `text` between the non-overlapping occurrences of `separator` (searched
// as range() does without options); empty parts are kept, and an empty separator
// gives {text}.
[[nodiscard]] std::vector<std::string> components(std::string_view text, std::string_view separator);

// The parts of `text` between the scalars that are in `separators`; empty parts are
// kept, so n separators give n + 1 parts.
[[nodiscard]] std::vector<std::string> components(std::string_view text, const CharacterSet& separators);

// trimmingCharacters()
//
// `text` without its leading and trailing scalars that are in `set`.
[[nodiscard]] std::string trimmingCharacters(std::string_view text, const CharacterSet& set);

// capitalized()
//
// `text` with the first character of every word in title case and the rest of the
// word in lower case; words are runs between whitespace and line breaks ("ß" becomes
// "Ss").
[[nodiscard]] std::string capitalized(std::string_view text);

// folding()
//
// `text` folded by `options`: caseInsensitive folds letter case, diacriticInsensitive
// removes non-spacing marks ("Crème" gives "Creme"), widthInsensitive maps
// compatibility forms (full-width letters) to their plain forms. The result is in NFC.
[[nodiscard]] std::string folding(std::string_view text, CompareOptions options);

// enumerateLines()
//
// Calls `body` with every line of `text` in order, without its terminator (LF, CR,
// CR LF, U+0085, U+2028 or U+2029). A final terminator does not open an empty line, so
// "" has no lines and "a\n" has one.
void enumerateLines(std::string_view text, const std::function<void(std::string_view line)>& body);

// appendingPathComponent()
//
// `path` joined with `component` by one "/": repeated slashes collapse, and a trailing
// slash is dropped unless the result is "/". An empty path gives the component.
[[nodiscard]] std::string appendingPathComponent(std::string_view path, std::string_view component);

// lastPathComponent()
//
// The last component of `path` ("/var/log/" gives "log", "/" gives "/", "" gives "").
[[nodiscard]] std::string lastPathComponent(std::string_view path);

// NSString
//
// The bridged string object: the text as UTF-16 code units, as the platform keeps it.
class NSString {
 public:
  // The string of the UTF-8 `text` (ill-formed bytes become U+FFFD).
  explicit NSString(std::string_view text);

  // The number of UTF-16 code units.
  [[nodiscard]] std::size_t length() const { return units_.size(); }
  // The UTF-16 code unit at `index`. Precondition: index < length().
  [[nodiscard]] char16_t characterAtIndex(std::size_t index) const;
  // The text as UTF-8.
  [[nodiscard]] std::string utf8() const;
  [[nodiscard]] const std::u16string& utf16() const { return units_; }

  friend bool operator==(const NSString&, const NSString&) = default;

 private:
  std::u16string units_;
};

}  // namespace ios
