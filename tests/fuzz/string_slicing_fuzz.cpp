// Text addressed by character positions, on arbitrary bytes (ill-formed UTF-8
// included) and arbitrary positions (huge and negative ones included): the subscripts,
// slicing, truncation, trimming, search, affixes, replacement, reversal, pairs and
// separators.
// Invariants: the safe forms answer exactly when their documented bounds hold, and then
// the characters asked for, which are a run of the text; the in-place forms agree with
// the copying ones; truncation, separators and repetition have the sizes they promise;
// counts and replacements agree with a search done here; UTF-8 in gives UTF-8 out.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "KPQuaslet/text/String+KPSlicing.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/String.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

using kp::ClosedRange;
using kp::Range;

// A position near the text, or any 64-bit value.
std::int64_t pickPosition(FuzzedDataProvider& in, std::int64_t length) {
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return in.ConsumeIntegral<std::int64_t>();
    case 1: return in.ConsumeBool() ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    default: return in.ConsumeIntegralInRange<std::int64_t>(-3, length + 3);
  }
}

bool isRunOf(std::string_view run, std::string_view text) { return text.find(run) != std::string_view::npos; }

void checkSubscripts(const std::string& text, std::int64_t length, FuzzedDataProvider& in) {
  const bool utf8 = kp_fuzz::isUTF8(text);
  const std::int64_t position = pickPosition(in, length);
  const auto character = kp::safeAt(text, position);
  KP_FUZZ_CHECK(character.has_value() == (position >= 0 && position < length), "safeAt(position) answers wrongly");
  if (character) {
    KP_FUZZ_CHECK(kp::at(text, position) == *character, "at() and safeAt() answer different characters");
    // A character holds UTF-8: an ill-formed byte reads as U+FFFD there.
    if (utf8) KP_FUZZ_CHECK(isRunOf(character->utf8(), text), "a character is not part of the text");
  }

  const std::int64_t lower = pickPosition(in, length);
  const std::int64_t upper = pickPosition(in, length);
  if (lower <= upper) {
    const auto slice = kp::safeAt(text, Range(lower, upper));
    std::int64_t span = 0;
    const bool fits = !__builtin_sub_overflow(upper, lower, &span);
    const std::int64_t start = std::max<std::int64_t>(lower, 0);
    std::int64_t end = 0;
    const bool inside = fits && !__builtin_add_overflow(start, span, &end) && start <= length && end <= length;
    KP_FUZZ_CHECK(slice.has_value() == inside, "safeAt(range) answers outside its bounds or fails inside them");
    if (slice) {
      KP_FUZZ_CHECK(isRunOf(*slice, text), "a slice is not a run of the text");
      if (lower >= 0) KP_FUZZ_CHECK(kp::at(text, Range(lower, upper)) == *slice, "at(range) and safeAt(range) differ");
      if (utf8) KP_FUZZ_CHECK(kp_fuzz::isUTF8(*slice), "a slice of UTF-8 is not UTF-8");
    }
    if (upper < std::numeric_limits<std::int64_t>::max()) {
      const auto closed = kp::safeAt(text, ClosedRange(lower, upper));
      const auto wider = kp::safeAt(text, Range(lower, upper + 1));
      KP_FUZZ_CHECK(closed == wider, "the closed range differs from the half-open one a character wider");
    }
  }

  const auto first = kp::firstCharacter(text);
  const auto last = kp::lastCharacter(text);
  KP_FUZZ_CHECK(first.has_value() == (length > 0) && last.has_value() == (length > 0), "first/last character misplaced");
  if (first) KP_FUZZ_CHECK(text.starts_with(*first) && text.ends_with(*last), "first/last character is not at the end");
}

void checkSlicing(const std::string& text, std::int64_t length, FuzzedDataProvider& in) {
  const std::int64_t from = pickPosition(in, length);
  const std::int64_t count = pickPosition(in, length);
  const auto sliced = kp::slicing(text, from, count);
  KP_FUZZ_CHECK(sliced.has_value() == (from >= 0 && count >= 0 && from < length), "slicing() answers wrongly");
  if (sliced) {
    KP_FUZZ_CHECK(isRunOf(*sliced, text), "slicing() is not a run of the text");
    KP_FUZZ_CHECK(count > 0 || sliced->empty(), "slicing() of no characters is not empty");
  }
  std::string inPlace = text;
  kp::slice(inPlace, from, count);
  KP_FUZZ_CHECK(inPlace == sliced.value_or(text), "slice(from, length) differs from slicing()");

  const std::int64_t to = pickPosition(in, length);
  std::string ranged = text;
  kp::sliceTo(ranged, from, to);
  if (to < from) {
    KP_FUZZ_CHECK(ranged == text, "sliceTo() with the end before the start changed the text");
  } else {
    KP_FUZZ_CHECK(ranged == kp::safeAt(text, Range(from, to)).value_or(text), "sliceTo() differs from safeAt()");
  }
  std::string rest = text;
  kp::slice(rest, from);
  KP_FUZZ_CHECK(rest == (from >= 0 && from < length ? *kp::slicing(text, from, length - from) : text),
                "slice(at) differs from the rest of the text");

  const std::int64_t limit = in.ConsumeIntegralInRange<std::int64_t>(0, length + 2);
  const std::string trailing = in.ConsumeRandomLengthString(8);
  const std::string truncated = kp::kp_truncate(text, limit, trailing);
  if (length > limit) {
    KP_FUZZ_CHECK(truncated == kp::at(text, Range(0, limit)) + trailing, "kp_truncate() of a longer text is wrong");
  } else {
    KP_FUZZ_CHECK(truncated == text, "kp_truncate() changed a text that is short enough");
  }
}

std::int64_t occurrences(std::string_view text, std::string_view needle) {
  if (needle.empty()) return 0;
  std::int64_t n = 0;
  for (std::size_t at = text.find(needle); at != std::string_view::npos; at = text.find(needle, at + needle.size())) ++n;
  return n;
}

std::string replacedBytes(std::string_view text, std::string_view target, std::string_view with) {
  if (target.empty()) return std::string(text);
  std::string out;
  std::size_t from = 0;
  for (std::size_t at = text.find(target); at != std::string_view::npos; at = text.find(target, from)) {
    out.append(text.substr(from, at - from)).append(with);
    from = at + target.size();
  }
  return out.append(text.substr(from));
}

// Any mix of compare options: the search ends, and what it finds is a run of whole
// characters of the text, at the edge the anchored option names.
void checkSearchOptions(const std::string& text, const std::string& needle, FuzzedDataProvider& in) {
  constexpr std::uint32_t kOptionBits = 1 | 2 | 4 | 8 | 64 | 128 | 256 | 512 | 1024;
  const auto options = static_cast<ios::CompareOptions>(in.ConsumeIntegral<std::uint32_t>() & kOptionBits);
  const auto found = ios::range(text, needle, options);
  KP_FUZZ_CHECK(kp::contains(text, needle, options) == found.has_value(), "contains() and range() disagree");
  if (!found) return;
  const auto [begin, size] = *found;
  KP_FUZZ_CHECK(begin <= text.size() && size <= text.size() - begin, "a match lies outside the text");
  // Regular expressions and literal searches compare code points: their matches may
  // split characters.
  if (ios::hasOptions(options, ios::CompareOptions::regularExpression) ||
      ios::hasOptions(options, ios::CompareOptions::literal)) {
    return;
  }
  const std::vector<std::size_t> bounds = ios::characterBoundaries(text);
  const auto isBoundary = [&](std::size_t at) { return std::binary_search(bounds.begin(), bounds.end(), at); };
  KP_FUZZ_CHECK(isBoundary(begin) && isBoundary(begin + size), "a match splits a character");
  if (ios::hasOptions(options, ios::CompareOptions::anchored)) {
    const bool backwards = ios::hasOptions(options, ios::CompareOptions::backwards);
    KP_FUZZ_CHECK(backwards ? begin + size == text.size() : begin == 0, "an anchored match is not at its edge");
  }
}

void checkSearch(const std::string& text, FuzzedDataProvider& in) {
  const bool utf8 = kp_fuzz::isUTF8(text);
  const std::string needle = in.ConsumeRandomLengthString(8);
  const std::string replacement = in.ConsumeRandomLengthString(8);

  KP_FUZZ_CHECK(kp::replace(text, needle, replacement) == replacedBytes(text, needle, replacement),
                "replace() differs from a byte-for-byte replacement");
  const std::int64_t count = kp::countOf(text, needle);
  KP_FUZZ_CHECK(count >= 0 && count * static_cast<std::int64_t>(needle.size()) <= static_cast<std::int64_t>(text.size()),
                "countOf() counts more than fits");
  if (count > 0) KP_FUZZ_CHECK(kp::contains(text, needle), "countOf() finds what contains() does not");
  // Plain ASCII without CR (CR LF is one character): characters are bytes.
  const auto plain = [](std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c > 0 && c != '\r'; });
  };
  if (plain(text) && plain(needle)) {
    KP_FUZZ_CHECK(count == occurrences(text, needle), "countOf() of ASCII text differs from a byte search");
  }
  if (needle.empty()) KP_FUZZ_CHECK(!kp::contains(text, needle) && count == 0, "the empty needle was found");
  (void)kp::countOf(text, needle, false);
  checkSearchOptions(text, needle, in);
  const std::string replaced = kp::replacing(text, needle, replacement);
  if (!kp::contains(text, needle)) KP_FUZZ_CHECK(replaced == text, "replacing() changed a text without the target");
  if (utf8 && kp_fuzz::isUTF8(replacement)) KP_FUZZ_CHECK(kp_fuzz::isUTF8(replaced), "replacing() broke UTF-8");

  if (kp::starts(text, needle)) {
    const std::string rest = kp::removingPrefix(text, needle);
    KP_FUZZ_CHECK(text.ends_with(rest) && rest.size() <= text.size(), "removingPrefix() did not remove a prefix");
  } else {
    KP_FUZZ_CHECK(kp::removingPrefix(text, needle) == text, "removingPrefix() changed a text without the prefix");
  }
  if (kp::ends(text, needle)) {
    const std::string rest = kp::removingSuffix(text, needle);
    KP_FUZZ_CHECK(text.starts_with(rest) && rest.size() <= text.size(), "removingSuffix() did not remove a suffix");
  } else {
    KP_FUZZ_CHECK(kp::removingSuffix(text, needle) == text, "removingSuffix() changed a text without the suffix");
  }
  (void)kp::starts(text, needle, false);
  (void)kp::ends(text, needle, false);
}

void checkShapes(const std::string& text, std::int64_t length, FuzzedDataProvider& in) {
  const bool utf8 = kp_fuzz::isUTF8(text);
  const std::string reversed = kp::reversed(text);
  KP_FUZZ_CHECK(reversed.size() == text.size(), "reversed() changed the size");

  const auto runs = kp::pairs(std::string_view(text));
  KP_FUZZ_CHECK(static_cast<std::int64_t>(runs.size()) == length / 2 + 1, "pairs() has the wrong number of runs");
  std::string joined;
  for (const auto run : runs) joined += run;
  KP_FUZZ_CHECK(joined == text, "pairs() does not cover the text");

  const std::string separator = in.ConsumeRandomLengthString(4);
  std::int64_t every = pickPosition(in, length);
  if (every == 0) every = 1;
  const std::string inserted = kp::inserting(text, separator, every);
  const std::uint64_t step = every < 0 ? 0 - static_cast<std::uint64_t>(every) : static_cast<std::uint64_t>(every);
  const std::uint64_t separators = length > 0 ? (static_cast<std::uint64_t>(length) - 1) / step : 0;
  KP_FUZZ_CHECK(inserted.size() == text.size() + separator.size() * separators, "inserting() placed too many separators");
  std::string inPlace = text;
  kp::insert(inPlace, separator, every);
  KP_FUZZ_CHECK(inPlace == inserted, "insert() differs from inserting()");

  const std::int64_t times = in.ConsumeIntegralInRange<std::int64_t>(-2, 16);
  KP_FUZZ_CHECK(kp::repeated(text, times).size() == text.size() * static_cast<std::size_t>(std::max<std::int64_t>(times, 0)),
                "repeated() has the wrong size");

  for (const std::string& trimmed : {kp::trimmed(text), kp::trimming(text, kp::TrimmingType::whitespace),
                                     kp::removeAllNewLines(text), kp::withoutSpacesAndNewLines(text)}) {
    KP_FUZZ_CHECK(trimmed.size() <= text.size(), "trimming made the text longer");
    if (utf8) KP_FUZZ_CHECK(kp_fuzz::isUTF8(trimmed), "trimming broke UTF-8");
  }
  KP_FUZZ_CHECK(isRunOf(kp::trimmed(text), text), "trimmed() is not a run of the text");
  std::string trimmedInPlace = text;
  kp::trim(trimmedInPlace);
  KP_FUZZ_CHECK(trimmedInPlace == kp::trimmed(text), "trim() differs from trimmed()");
  KP_FUZZ_CHECK(kp::withoutSpacesAndNewLines(text).find_first_of(" \n") == std::string::npos,
                "withoutSpacesAndNewLines() kept a space or a line feed");
  (void)kp::lastPathComponent(text);
  (void)kp::appendingPathComponent(text, separator);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  FuzzedDataProvider in(data, size);
  const std::string text = in.ConsumeRandomLengthString(128);
  const std::int64_t length = kp::length(text);
  KP_FUZZ_CHECK(length >= 0 && length <= static_cast<std::int64_t>(text.size()), "length() is not within the bytes");
  checkSubscripts(text, length, in);
  checkSlicing(text, length, in);
  checkSearch(text, in);
  checkShapes(text, length, in);
  return 0;
}
