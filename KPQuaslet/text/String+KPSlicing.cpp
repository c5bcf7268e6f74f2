#include "KPQuaslet/text/String+KPSlicing.h"

#include <algorithm>
#include <limits>

#include "KPQuaslet/Helper/RawRepresentable.h"
#include "KPQuaslet/values/Character+KPExt.h"
#include "KPQuaslet/text/internal/TextSupport.h"
#include "platform/foundation/CharacterSet.h"
#include "platform/foundation/Precondition.h"
#include "platform/foundation/Random.h"
#include "platform/foundation/String.h"
#include "platform/uikit/UIPasteboard.h"

namespace kp {
namespace {

// The byte range of `length` characters from character position `start`, or nothing
// when either stop would pass the end of the text.
std::optional<std::string_view> characters(std::string_view text, std::int64_t start, std::int64_t length) {
  if (start < 0 || length < 0) return std::nullopt;
  const auto begin = ios::index(text, 0, static_cast<std::size_t>(start));
  if (!begin) return std::nullopt;
  const auto end = ios::index(text, *begin, static_cast<std::size_t>(length));
  if (!end) return std::nullopt;
  return text.substr(*begin, *end - *begin);
}

// The characters of a lenient range of the given start and length.
std::optional<std::string> safeRange(std::string_view text, std::int64_t lower, std::optional<std::int64_t> length) {
  if (!length) return std::nullopt;  // the length does not fit in 64 bits
  const auto found = characters(text, std::max<std::int64_t>(lower, 0), *length);
  if (!found) return std::nullopt;
  return std::string(*found);
}

// True when `text` starts with the characters of `prefix`, compared by canonical
// equivalence; `end` receives the byte offset where the prefix ends in `text`.
bool hasPrefix(std::string_view text, std::string_view prefix, std::size_t& end) {
  if (text.substr(0, prefix.size()) == prefix) {
    // Byte-equal: the prefix must still end on a character boundary of the text.
    if (prefix.size() == text.size()) {
      end = text.size();
      return true;
    }
    const auto count = ios::characterCount(prefix);
    const auto stop = ios::index(text, 0, count);
    if (stop && *stop == prefix.size()) {
      end = *stop;
      return true;
    }
    return false;
  }
  const std::vector<std::size_t> wanted = ios::characterBoundaries(prefix);
  const std::size_t count = wanted.size() - 1;
  const auto stop = ios::index(text, 0, count);
  if (!stop) return false;
  if (!text_internal::canonicallyEqual(text.substr(0, *stop), prefix)) return false;
  // Equal as wholes; compare character by character so that boundaries agree.
  const std::vector<std::size_t> have = ios::characterBoundaries(text.substr(0, *stop));
  for (std::size_t i = 0; i < count; ++i) {
    if (!text_internal::canonicallyEqual(text.substr(have[i], have[i + 1] - have[i]),
                                         prefix.substr(wanted[i], wanted[i + 1] - wanted[i]))) {
      return false;
    }
  }
  end = *stop;
  return true;
}

// True when `text` ends with the characters of `suffix`, compared one by one by
// canonical equivalence; `start` receives the byte offset where the suffix starts in
// `text`. Only the end of the text is segmented.
bool hasSuffix(std::string_view text, std::string_view suffix, std::size_t& start) {
  const std::vector<std::size_t> wanted = ios::characterBoundaries(suffix);
  std::size_t position = text.size();
  for (std::size_t i = wanted.size() - 1; i > 0; --i) {
    if (position == 0) return false;
    const std::size_t before = ios::indexBefore(text, position);
    const std::string_view mine = text.substr(before, position - before);
    const std::string_view theirs = suffix.substr(wanted[i - 1], wanted[i] - wanted[i - 1]);
    if (mine != theirs && !text_internal::canonicallyEqual(mine, theirs)) return false;
    position = before;
  }
  start = position;
  return true;
}

}  // namespace

ios::Character at(std::string_view text, std::int64_t position) {
  const auto found = characters(text, position, 1);
  KP_PRECONDITION(found.has_value(), "String index is out of bounds");
  return *ios::Character::first(*found);
}

std::string at(std::string_view text, Range range) {
  KP_PRECONDITION(range.lowerBound >= 0, "String index is out of bounds");
  const auto found = characters(text, range.lowerBound, range.upperBound - range.lowerBound);
  KP_PRECONDITION(found.has_value(), "String index is out of bounds");
  return std::string(*found);
}

std::optional<ios::Character> safeAt(std::string_view text, std::int64_t position) {
  const auto found = characters(text, position, 1);
  if (!found) return std::nullopt;
  return ios::Character::first(*found);
}

std::optional<std::string> safeAt(std::string_view text, Range range) {
  return safeRange(text, range.lowerBound, text_internal::checkedLength(range.lowerBound, range.upperBound, 0));
}

std::optional<std::string> safeAt(std::string_view text, ClosedRange range) {
  return safeRange(text, range.lowerBound, text_internal::checkedLength(range.lowerBound, range.upperBound, 1));
}

std::int64_t length(std::string_view text) { return static_cast<std::int64_t>(ios::characterCount(text)); }

std::optional<std::string> firstCharacter(std::string_view text) {
  if (text.empty()) return std::nullopt;
  return std::string(*characters(text, 0, 1));
}

std::optional<std::string> lastCharacter(std::string_view text) {
  if (text.empty()) return std::nullopt;
  return std::string(text.substr(ios::indexBefore(text, text.size())));
}

std::optional<std::string> slicing(std::string_view text, std::int64_t from, std::int64_t length) {
  if (from < 0 || length < 0) return std::nullopt;
  const auto begin = ios::index(text, 0, static_cast<std::size_t>(from));
  if (!begin || *begin == text.size()) return std::nullopt;  // from is not below the length
  if (length == 0) return std::string();
  // More characters asked for than remain: the rest of the text.
  const auto end = ios::index(text, *begin, static_cast<std::size_t>(length));
  return std::string(text.substr(*begin, end.value_or(text.size()) - *begin));
}

void slice(std::string& text, std::int64_t from, std::int64_t length) {
  if (auto sliced = slicing(text, from, length)) text = std::move(*sliced);
}

void sliceTo(std::string& text, std::int64_t from, std::int64_t to) {
  if (to < from) return;
  if (auto sliced = safeAt(text, Range{from, to})) text = std::move(*sliced);
}

void slice(std::string& text, std::int64_t at) {
  if (at < 0) return;  // the length count - at would pass the end
  const auto begin = ios::index(text, 0, static_cast<std::size_t>(at));
  if (!begin || *begin == text.size()) return;
  text.erase(0, *begin);
}

std::string kp_truncate(std::string_view text, std::int64_t length, std::optional<std::string_view> trailing) {
  KP_PRECONDITION(length >= 0, "kp_truncate: the length must not be negative");
  const auto end = ios::index(text, 0, static_cast<std::size_t>(length));
  if (!end || *end == text.size()) return std::string(text);  // not longer than `length`
  std::string out(text.substr(0, *end));
  if (trailing) out.append(*trailing);
  return out;
}

std::string trimming(std::string_view text, TrimmingType type) {
  return ios::trimmingCharacters(text, type == TrimmingType::whitespace ? ios::CharacterSet::whitespaces()
                                                                         : ios::CharacterSet::whitespacesAndNewlines());
}

std::string trimmed(std::string_view text) { return trimming(text, TrimmingType::whitespaceAndNewline); }

void trim(std::string& text) { text = trimmed(text); }

std::string removeAllNewLines(std::string_view text) {
  std::string out;
  for (const std::string& part : ios::components(text, ios::CharacterSet::newlines())) out += part;
  return out;
}

std::string withoutSpacesAndNewLines(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != ' ' && c != '\n') out += c;
  }
  return out;
}

bool contains(std::string_view text, std::string_view needle, ios::CompareOptions options) {
  return ios::range(text, needle, options).has_value();
}

bool starts(std::string_view text, std::string_view prefix, bool caseSensitive) {
  std::size_t end = 0;
  if (caseSensitive) return hasPrefix(text, prefix, end);
  return hasPrefix(text_internal::lowercased(text), text_internal::lowercased(prefix), end);
}

bool ends(std::string_view text, std::string_view suffix, bool caseSensitive) {
  std::size_t start = 0;
  if (caseSensitive) return hasSuffix(text, suffix, start);
  return hasSuffix(text_internal::lowercased(text), text_internal::lowercased(suffix), start);
}

std::string removingPrefix(std::string_view text, std::string_view prefix) {
  std::size_t end = 0;
  if (!hasPrefix(text, prefix, end)) return std::string(text);
  return std::string(text.substr(end));
}

std::string removingSuffix(std::string_view text, std::string_view suffix) {
  std::size_t start = 0;
  if (!hasSuffix(text, suffix, start)) return std::string(text);
  return std::string(text.substr(0, start));
}

std::int64_t countOf(std::string_view text, std::string_view needle, bool caseSensitive) {
  if (caseSensitive) return static_cast<std::int64_t>(ios::components(text, needle).size()) - 1;
  return static_cast<std::int64_t>(
             ios::components(text_internal::lowercased(text), text_internal::lowercased(needle)).size()) -
         1;
}

std::string replacing(std::string_view text, std::string_view target, std::string_view replacement) {
  return ios::replacingOccurrences(text, target, replacement);
}

std::string replace(std::string_view text, std::string_view target, std::string_view withString) {
  return ios::replacingOccurrences(text, target, withString, ios::CompareOptions::literal);
}

std::string reversed(std::string_view text) {
  const std::vector<std::size_t> bounds = ios::characterBoundaries(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = bounds.size() - 1; i > 0; --i) out.append(text.substr(bounds[i - 1], bounds[i] - bounds[i - 1]));
  return out;
}

std::string appendingPathComponent(std::string_view text, std::string_view component) {
  return ios::appendingPathComponent(text, component);
}

std::string lastPathComponent(std::string_view text) { return ios::lastPathComponent(text); }

void copyToPasteboard(std::string_view text) { ios::UIPasteboard::general().setString(std::string(text)); }

std::string repeated(std::string_view text, std::int64_t count) {
  std::string out;
  if (count <= 0 || text.empty()) return out;
  KP_PRECONDITION(static_cast<std::uint64_t>(count) <= out.max_size() / text.size(),
                  "repeated: the result is too long");
  out.reserve(text.size() * static_cast<std::size_t>(count));
  for (std::int64_t i = 0; i < count; ++i) out.append(text);
  return out;
}

std::string randomString(std::int64_t length) {
  KP_PRECONDITION(length >= 0, "String.random: the length must not be negative");
  std::string out;
  out.reserve(static_cast<std::size_t>(length));
  for (std::int64_t i = 0; i < length; ++i) {
    out += kAlphanumericCharacters[ios::arc4random_uniform(static_cast<std::uint32_t>(kAlphanumericCharacters.size()))];
  }
  return out;
}

std::string makeRandomString(std::int64_t randomOfLength) {
  return randomOfLength <= 0 ? std::string() : randomString(randomOfLength);
}

std::vector<std::string_view> pairs(std::string_view text) {
  const std::vector<std::size_t> bounds = ios::characterBoundaries(text);
  const std::size_t count = bounds.size() - 1;
  std::vector<std::string_view> out;
  out.reserve(count / 2 + 1);
  for (std::size_t i = 0; i <= count / 2; ++i) {
    const std::size_t begin = bounds[std::min(2 * i, count)];
    const std::size_t end = bounds[std::min(2 * i + 2, count)];
    out.push_back(text.substr(begin, end - begin));
  }
  return out;
}

void insert(std::string& text, std::string_view separator, std::int64_t every) {
  KP_PRECONDITION(every != 0, "insert(separator:every:): every must not be 0");
  const std::vector<std::size_t> bounds = ios::characterBoundaries(text);
  const std::size_t count = bounds.size() - 1;
  const auto step = every < 0 ? static_cast<std::uint64_t>(0) - static_cast<std::uint64_t>(every)
                              : static_cast<std::uint64_t>(every);
  std::string out;
  out.reserve(text.size() + separator.size() * (count / std::max<std::uint64_t>(step, 1) + 1));
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0 && i % step == 0) out.append(separator);
    out.append(text, bounds[i], bounds[i + 1] - bounds[i]);
  }
  text = std::move(out);
}

std::string inserting(std::string_view text, std::string_view separator, std::int64_t every) {
  std::string copy(text);
  insert(copy, separator, every);
  return copy;
}

std::string ios_describe(TrimmingType value) {
  switch (value) {
    case TrimmingType::whitespace: return "whitespace";
    case TrimmingType::whitespaceAndNewline: return "whitespaceAndNewline";
  }
  notACase("TrimmingType", static_cast<std::int64_t>(value));
}

}  // namespace kp
