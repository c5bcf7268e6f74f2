// File: platform/foundation/NSRegularExpression.h
//
// Regular expressions over text, the "SELF MATCHES" predicate, and the result of a
// match.
//
//   ios::NSRegularExpression digits("[0-9]+");
//   std::string text = "a1b22";
//   digits.numberOfMatches(text, {0, ios::utf16Length(text)});   // 2
//   ios::NSPredicate::matches("[a-z]+").evaluate("abc");          // true
//
// Fidelity: ICU's regular-expression syntax and semantics (the platform's engine):
// `\d` is any decimal digit, `\p{L}` any letter, and in the default mode `$` also
// matches before a final line terminator. Ranges are in UTF-16 code units of the text.
// An invalid pattern throws (NSRegularExpression::InvalidPattern for the expression,
// NSException "NSInvalidArgumentException" for the predicate, as the platform raises
// there). The predicate matches the whole text; the predicate language beyond
// "SELF MATCHES %@", templates and capture groups are absent. Compiled patterns are
// cached, so a predicate made again with the same pattern does not recompile it.
// Differs: each match attempt stops at a time limit (NSRegularExpression::matchTimeLimit,
// which grows with the text's length; the platform has no limit), so a pattern that
// backtracks without end (such as "(a+)+$" on a long run of "a" and a "b") answers no
// match within about half a second instead of running for minutes; matches found before
// the limit stay found. Likewise the engine's backtracking memory has a limit that grows
// with the text (NSRegularExpression::matchStackLimit).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/NSError.h"
#include "platform/foundation/NSRange.h"
#include "platform/foundation/URL.h"

namespace ios {

namespace regex_internal {
class CompiledPattern;
}

// NSTextCheckingResult
//
// One match: its range in UTF-16 units, and for a link found by a data detector the
// URL it stands for.
struct NSTextCheckingResult {
  NSRange range;
  std::optional<URL> url;
};

class NSRegularExpression {
 public:
  // NSRegularExpression.Options: an option set of raw values.
  enum Options : std::uint32_t {
    none = 0,
    caseInsensitive = 1u << 0,
    allowCommentsAndWhitespace = 1u << 1,
    ignoreMetacharacters = 1u << 2,
    dotMatchesLineSeparators = 1u << 3,
    anchorsMatchLines = 1u << 4,
    useUnixLineSeparators = 1u << 5,
    useUnicodeWordBoundaries = 1u << 6,
  };

  // The time limit of one match attempt (one search for the next match, or one
  // whole-text test), in the units ICU's RegexMatcher::setTimeLimit() takes (ten
  // thousand steps of the engine, about half a millisecond on a current machine):
  // matchTimeLimit, plus one unit for every matchTimeLimitBytesPerUnit bytes of the
  // text, so that a search whose cost grows with the text's length (about 150 steps a
  // byte) never reaches it, however long the text. An attempt that reaches it finds no
  // match, and no later match is searched for.
  static constexpr std::int32_t matchTimeLimit = 1000;
  static constexpr std::int64_t matchTimeLimitBytesPerUnit = 64;

  // The memory one match attempt may use to remember where to backtrack to, in bytes
  // (ICU's RegexMatcher::setStackLimit(); the engine keeps it on the heap, not on the
  // thread's stack): matchStackLimit, plus matchStackBytesPerTextByte for every byte of
  // the text, at most matchStackLimitMost. Patterns whose memory grows with the text
  // ("a*" over a million "a", "(\w+\s)*\w+" over a hundred thousand words) stay within
  // it, however long the text; the cap keeps a caller's pattern from exhausting the
  // process's memory. An attempt that reaches it, like one that reaches the time limit,
  // ends the search: the whole-text test answers false and no later match is searched
  // for (matches found before stay found).
  static constexpr std::int64_t matchStackLimit = 8'000'000;
  static constexpr std::int64_t matchStackBytesPerTextByte = 64;
  static constexpr std::int64_t matchStackLimitMost = std::int64_t{1} << 30;

  // What the constructor throws for a pattern the engine rejects; error() is the
  // platform's error (domain "NSCocoaErrorDomain", code 2048).
  class InvalidPattern : public std::invalid_argument {
   public:
    explicit InvalidPattern(const std::string& pattern)
        : std::invalid_argument("invalid regular expression: " + pattern) {}
    [[nodiscard]] NSError error() const { return NSError{"NSCocoaErrorDomain", 2048}; }
  };

  // The expression of `pattern`. Throws InvalidPattern when it does not compile.
  explicit NSRegularExpression(std::string_view pattern, std::uint32_t options = none);

  [[nodiscard]] const std::string& pattern() const { return pattern_; }

  // Every non-overlapping match inside `range` of `text`, in order. A range beyond
  // the text is clipped to it.
  [[nodiscard]] std::vector<NSTextCheckingResult> matches(std::string_view text, NSRange range) const;
  // The first match inside `range`, or nothing.
  [[nodiscard]] std::optional<NSTextCheckingResult> firstMatch(std::string_view text, NSRange range) const;
  // The number of matches inside `range`.
  [[nodiscard]] std::size_t numberOfMatches(std::string_view text, NSRange range) const;
  // Calls `body` with each match in order until it sets its stop flag.
  void enumerateMatches(std::string_view text, NSRange range,
                        const std::function<void(const NSTextCheckingResult&, bool& stop)>& body) const;

 private:
  std::string pattern_;
  std::shared_ptr<const regex_internal::CompiledPattern> compiled_;
};

// NSPredicate
//
// The predicate "SELF MATCHES %@" with a pattern as its argument: true for a text
// that the pattern matches as a whole.
class NSPredicate {
 public:
  // The predicate of `format` with `argument` substituted for %@. Only the format
  // "SELF MATCHES %@" is understood; any other format stops the process.
  NSPredicate(std::string_view format, std::string_view argument);

  // The "SELF MATCHES %@" predicate of `pattern`.
  [[nodiscard]] static NSPredicate matches(std::string_view pattern) { return {"SELF MATCHES %@", pattern}; }

  // True when the whole of `text` matches. Throws NSException
  // ("NSInvalidArgumentException") when the pattern does not compile. False when the
  // test reaches NSRegularExpression::matchTimeLimit.
  [[nodiscard]] bool evaluate(std::string_view text) const;

 private:
  std::string pattern_;
};

}  // namespace ios
