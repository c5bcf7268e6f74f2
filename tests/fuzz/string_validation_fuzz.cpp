// Text tests and detection on arbitrary bytes: validation by a caller's regular
// expression and by the fixed patterns, regular-expression matching, URL and e-mail
// recognition, link extraction, character classes, Boolean and number readings, and the
// line, word and paragraph counts.
// Invariants: an invalid pattern answers false, never raises; the fixed-pattern tests
// are the predicate with their published patterns; matches lie inside the text and do
// not overlap; every link found is a URL that reads back from its text; the class
// tests agree with their definitions; words are non-empty runs of the text, their count
// their number; what bool_() reads is what its definition reads.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "KPQuaslet/text/String+KPSlicing.h"
#include "KPQuaslet/text/String+KPValidation.h"
#include "platform/foundation/NSRegularExpression.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/StringCase.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

void checkPatterns(const std::string& text, const std::string& pattern) {
  const bool valid = kp::isValidateByRegex(text, pattern);
  bool compiles = true;
  try {
    const ios::NSRegularExpression expression(pattern);
    const ios::NSRange whole{0, ios::utf16Length(text)};
    const auto matches = expression.matches(text, whole);
    std::size_t end = 0;
    for (const auto& match : matches) {
      KP_FUZZ_CHECK(match.range.location >= end && match.range.location + match.range.length <= whole.length,
                    "a match lies outside the text or overlaps the one before");
      end = match.range.location + match.range.length;
    }
    KP_FUZZ_CHECK(expression.numberOfMatches(text, whole) == matches.size(), "numberOfMatches() differs from matches()");
    const auto first = expression.firstMatch(text, whole);
    KP_FUZZ_CHECK(first.has_value() == !matches.empty(), "firstMatch() and matches() disagree");
    if (first) KP_FUZZ_CHECK(first->range == matches.front().range, "firstMatch() is not the first of matches()");
  } catch (const ios::NSRegularExpression::InvalidPattern&) {
    compiles = false;
  }
  KP_FUZZ_CHECK(compiles || !valid, "a pattern that does not compile validated a text");

  KP_FUZZ_CHECK(kp::isEmailAddress(text) == kp::isValidateByRegex(text, kp::kSimpleEmailPattern),
                "isEmailAddress() is not the predicate of its pattern");
  KP_FUZZ_CHECK(kp::isMobileNumberClassification(text) == kp::isValidateByRegex(text, kp::kMobileNumberPattern),
                "isMobileNumberClassification() is not the predicate of its pattern");
  (void)kp::isValidEmail(text);
}

void checkLinks(const std::string& text) {
  const bool url = kp::isValidUrl(text);
  const bool schemed = kp::isValidSchemedUrl(text);
  const bool https = kp::isValidHttpsUrl(text);
  const bool http = kp::isValidHttpUrl(text);
  KP_FUZZ_CHECK((!schemed || url) && (!https || schemed) && (!http || schemed) && !(http && https),
                "the URL tests contradict one another");
  for (const ios::URL& link : kp::kp_embeddedURLs(text)) {
    KP_FUZZ_CHECK(kp_fuzz::isUTF8(link.absoluteString()), "a link found is not UTF-8");
    KP_FUZZ_CHECK(ios::URL::fromString(link.absoluteString()) == link, "a link found does not read back as a URL");
    KP_FUZZ_CHECK(link.scheme().has_value(), "a link found has no scheme");
  }
  if (kp::isEmail(text)) KP_FUZZ_CHECK(!kp::kp_embeddedURLs(text).empty(), "isEmail() found a link the list lacks");
}

void checkClasses(const std::string& text) {
  const bool letters = kp::hasLetters(text);
  const bool numbers = kp::hasNumbers(text);
  KP_FUZZ_CHECK(kp::isAlphabetic(text) == (letters && !numbers), "isAlphabetic() is not letters without digits");
  KP_FUZZ_CHECK(kp::isNumeric(text) == (numbers && !letters), "isNumeric() is not digits without letters");
  if (kp::isAlphaNumeric(text)) KP_FUZZ_CHECK(letters && numbers, "isAlphaNumeric() without letters and digits");
  if (text.empty()) KP_FUZZ_CHECK(!kp::containEmoji(text), "the empty text contains an emoji");
  KP_FUZZ_CHECK(kp::isEmpty(text) == kp::trimmed(text).empty(), "isEmpty() is not an empty trimmed text");
  KP_FUZZ_CHECK(kp::isOnlyEmptySpacesAndNewLineCharacters(text) == kp::isEmpty(text), "the two blank tests differ");
}

void checkReadings(const std::string& text) {
  const auto reading = kp::bool_(text);
  const auto lower = ios::lowercased(kp::trimmed(text));
  std::optional<bool> expected;
  if (lower && (*lower == "true" || *lower == "1")) expected = true;
  if (lower && (*lower == "false" || *lower == "0")) expected = false;
  KP_FUZZ_CHECK(reading == expected, "bool_() reads otherwise than its definition");
  (void)kp::isNumber(text);
  if (kp::isPureInt(text)) KP_FUZZ_CHECK(kp::isPureDouble(text), "a pure integer is not a pure decimal number");
}

void checkCounts(const std::string& text, FuzzedDataProvider& in) {
  const bool utf8 = kp_fuzz::isUTF8(text);
  const std::vector<std::string> words = kp::words(text);
  KP_FUZZ_CHECK(static_cast<std::int64_t>(words.size()) == kp::wordCount(text), "wordCount() is not the words' number");
  for (const std::string& word : words) {
    KP_FUZZ_CHECK(!word.empty(), "an empty word");
    if (utf8) KP_FUZZ_CHECK(text.find(word) != std::string::npos && kp_fuzz::isUTF8(word), "a word is not in the text");
  }
  for (const std::string& line : kp::lines(text)) {
    KP_FUZZ_CHECK(line.find('\n') == std::string::npos, "a line holds a line feed");
    if (utf8) KP_FUZZ_CHECK(text.find(line) != std::string::npos, "a line is not in the text");
  }
  KP_FUZZ_CHECK(kp::countofParagraphs(text) >= 1, "a text has no paragraph");
  const std::string common = kp::mostCommonCharacter(text);
  if (utf8 && !common.empty()) {
    KP_FUZZ_CHECK(text.find(common) != std::string::npos && common != " " && common != "\n",
                  "the most common character is not one of the text");
  }

  const std::int64_t length = kp::length(text);
  if (length == 0) return;
  const auto character = kp::safeAt(text, in.ConsumeIntegralInRange<std::int64_t>(0, length - 1));
  const auto found = kp::getIndexOf(text, *character);
  KP_FUZZ_CHECK(found.has_value(), "getIndexOf() misses a character of the text");
  KP_FUZZ_CHECK(kp::safeAt(text, *found) == character, "getIndexOf() names another character");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  FuzzedDataProvider in(data, size);
  // While matching has no time limit, long texts let a backtracking pattern run for
  // minutes; a discovery run can keep them short.
  const std::size_t longest = kp_fuzz::skipping("regex-time") ? 16 : 256;
  const std::string pattern = in.ConsumeRandomLengthString(64);
  const std::string text = in.ConsumeRandomLengthString(longest);
  checkPatterns(text, pattern);
  checkLinks(text);
  checkClasses(text);
  checkReadings(text);
  checkCounts(text, in);
  return 0;
}
