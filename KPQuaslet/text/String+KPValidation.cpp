#include "KPQuaslet/text/String+KPValidation.h"

#include <algorithm>
#include <unordered_map>

#include "KPQuaslet/text/String+KPSlicing.h"
#include "KPQuaslet/text/internal/TextSupport.h"
#include "platform/foundation/CharacterSet.h"
#include "platform/foundation/Data.h"
#include "platform/foundation/NSDataDetector.h"
#include "platform/foundation/NSException.h"
#include "platform/foundation/NSRegularExpression.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NumberFormatter.h"
#include "platform/foundation/Scanner.h"
#include "platform/foundation/String.h"

namespace kp {

const std::string_view kFullEmailPattern =
    R"re(^(?:[\p{L}0-9!#$%\&'*+/=?\^_`{|}~-]+(?:\.[\p{L}0-9!#$%\&'*+/=?\^_`{|}~-]+)*|"(?:[\x01-\x08\x0b\x0c\x0e-\x1f\x21\x23-\x5b\x5d-\x7f]|\\[\x01-\x09\x0b\x0c\x0e-\x7f])*")@(?:(?:[\p{L}0-9](?:[a-z0-9-]*[\p{L}0-9])?\.)+[\p{L}0-9](?:[\p{L}0-9-]*[\p{L}0-9])?|\[(?:(?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\.){3}(?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?|[\p{L}0-9-]*[\p{L}0-9]:(?:[\x01-\x08\x0b\x0c\x0e-\x1f\x21-\x5a\x53-\x7f]|\\[\x01-\x09\x0b\x0c\x0e-\x7f])+)\])$)re";

namespace {

ios::NSRange wholeRange(std::string_view text) { return ios::NSRange{0, ios::utf16Length(text)}; }

std::optional<ios::URL> url(std::string_view text) { return ios::URL::fromString(text); }

bool hasScheme(std::string_view text, std::string_view scheme) {
  const auto made = url(text);
  return made && made->scheme() == std::string(scheme);
}

bool inEmojiSet(char32_t c) {
  return c == 0x3030 || c == 0x00AE || c == 0x00A9 || (c >= 0x1F600 && c <= 0x1F64F) ||
         (c >= 0x1F300 && c <= 0x1F5FF) || (c >= 0x1F680 && c <= 0x1F6FF) || (c >= 0x2600 && c <= 0x26FF) ||
         (c >= 0x2700 && c <= 0x27BF) || (c >= 0xFE00 && c <= 0xFE0F);
}

}  // namespace

bool isValidateByRegex(std::string_view text, std::string_view pattern) {
  try {
    return ios::NSPredicate::matches(pattern).evaluate(text);
  } catch (const ios::NSException&) {
    return false;  // not a valid pattern
  }
}

bool isMobileNumberClassification(std::string_view text) { return isValidateByRegex(text, kMobileNumberPattern); }

bool isEmailAddress(std::string_view text) { return isValidateByRegex(text, kSimpleEmailPattern); }

bool isValidEmail(std::string_view text) {
  static const ios::NSRegularExpression expression(kFullEmailPattern);
  const ios::NSRange whole = wholeRange(text);
  const auto match = expression.firstMatch(text, whole);
  // "$" also matches before a final line break: the match must cover the whole text.
  return match && match->range == whole;
}

bool isEmail(std::string_view text) {
  const auto match = ios::NSDataDetector(ios::NSDataDetector::link).firstMatch(text, wholeRange(text));
  if (!match || match->range.location == ios::NSNotFound || !match->url) return false;
  const auto scheme = match->url->scheme();
  return scheme && *scheme == "mailto";
}

bool isValidUrl(std::string_view text) { return url(text).has_value(); }

bool isValidSchemedUrl(std::string_view text) {
  const auto made = url(text);
  return made && made->scheme().has_value();
}

bool isValidHttpsUrl(std::string_view text) { return hasScheme(text, "https"); }

bool isValidHttpUrl(std::string_view text) { return hasScheme(text, "http"); }

std::vector<ios::URL> kp_embeddedURLs(std::string_view text) {
  std::vector<ios::URL> out;
  ios::NSDataDetector(ios::NSDataDetector::link)
      .enumerateMatches(text, wholeRange(text), [&](const ios::NSTextCheckingResult& match, bool&) {
        if (match.url) out.push_back(*match.url);
      });
  return out;
}

bool hasLetters(std::string_view text) {
  return ios::rangeOfCharacter(text, ios::CharacterSet::letters()).has_value();
}

bool hasNumbers(std::string_view text) {
  return ios::rangeOfCharacter(text, ios::CharacterSet::decimalDigits()).has_value();
}

bool isAlphabetic(std::string_view text) { return hasLetters(text) && !hasNumbers(text); }

bool isNumeric(std::string_view text) { return hasNumbers(text) && !hasLetters(text); }

bool isAlphaNumeric(std::string_view text) {
  const bool onlyAlphanumerics =
      !ios::rangeOfCharacter(text, ios::CharacterSet::alphanumerics().inverted()).has_value();
  return onlyAlphanumerics && hasLetters(text) && hasNumbers(text);
}

bool containEmoji(std::string_view text) {
  const std::vector<char32_t> scalars = ios::unicodeScalars(text);
  return std::any_of(scalars.begin(), scalars.end(), inEmojiSet);
}

std::optional<bool> bool_(std::string_view text) {
  const std::string value = text_internal::lowercased(ios::trimmingCharacters(text, ios::CharacterSet::whitespacesAndNewlines()));
  if (value == "true" || value == "1") return true;
  if (value == "false" || value == "0") return false;
  return std::nullopt;
}

bool isNumber(std::string_view text) {
  return ios::isValidUTF8(text) && ios::NumberFormatter().number(text).has_value();
}

bool isPureInt(std::string_view text) {
  ios::Scanner scanner(text);
  return scanner.scanInt().has_value() && scanner.isAtEnd();
}

bool isPureDouble(std::string_view text) {
  ios::Scanner scanner(text);
  return scanner.scanDouble().has_value() && scanner.isAtEnd();
}

bool isEmpty(std::string_view text) {
  return ios::trimmingCharacters(text, ios::CharacterSet::whitespacesAndNewlines()).empty();
}

std::vector<std::string> lines(std::string_view text) {
  std::vector<std::string> out;
  ios::enumerateLines(text, [&](std::string_view line) { out.emplace_back(line); });
  return out;
}

std::vector<std::string> words(std::string_view text) {
  const ios::CharacterSet separators =
      ios::CharacterSet::whitespacesAndNewlines().union_(ios::CharacterSet::punctuationCharacters());
  std::vector<std::string> out = ios::components(text, separators);
  std::erase_if(out, [](const std::string& word) { return word.empty(); });
  return out;
}

std::int64_t wordCount(std::string_view text) { return static_cast<std::int64_t>(words(text).size()); }

std::int64_t countofParagraphs(std::string_view text) {
  static const ios::NSRegularExpression lineFeed("\\n");
  const std::string trimmedText = ios::trimmingCharacters(text, ios::CharacterSet::whitespacesAndNewlines());
  return static_cast<std::int64_t>(lineFeed.numberOfMatches(trimmedText, wholeRange(trimmedText))) + 1;
}

std::string mostCommonCharacter(std::string_view text) {
  // A candidate is one character, and occurrences are found on whole characters, so
  // its number of occurrences is the number of characters of the text equal to it:
  // count them all in one pass.
  std::unordered_map<std::string, std::size_t> occurrences;
  const std::vector<std::size_t> bounds = ios::characterBoundaries(text);
  for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
    ++occurrences[text_internal::canonicalKey(text.substr(bounds[i], bounds[i + 1] - bounds[i]))];
  }
  // The candidates are the characters of the text without spaces and line feeds, in
  // order of first appearance, so that ties always go to the first one.
  const std::string candidates = withoutSpacesAndNewLines(text);
  const std::vector<std::size_t> candidateBounds = ios::characterBoundaries(candidates);
  std::string best;
  std::size_t bestCount = 0;
  for (std::size_t i = 0; i + 1 < candidateBounds.size(); ++i) {
    const std::string_view candidate =
        std::string_view(candidates).substr(candidateBounds[i], candidateBounds[i + 1] - candidateBounds[i]);
    const auto found = occurrences.find(text_internal::canonicalKey(candidate));
    if (found != occurrences.end() && found->second > bestCount) {
      best = std::string(candidate);
      bestCount = found->second;
    }
  }
  return best;
}

std::optional<std::int64_t> getIndexOf(std::string_view text, const ios::Character& character) {
  const std::vector<std::size_t> bounds = ios::characterBoundaries(text);
  for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
    const auto here = ios::Character::first(text.substr(bounds[i], bounds[i + 1] - bounds[i]));
    if (here && *here == character) return static_cast<std::int64_t>(i);
  }
  return std::nullopt;
}

}  // namespace kp
