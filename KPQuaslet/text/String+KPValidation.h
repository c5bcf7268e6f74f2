// File: KPQuaslet/text/String+KPValidation.h
//
// Tests and detection on text: validation by regular expression, URL and e-mail
// recognition, link extraction, character-class tests, a Boolean reading, and counts of
// lines, words and paragraphs.
//
//   kp::isEmailAddress("me@example.org");              // true
//   kp::isValidateByRegex("2024", "[0-9]{4}");          // true: the whole text matches
//   kp::kp_embeddedURLs("see https://a.example/x");     // {https://a.example/x}
//   kp::bool_(" TRUE\n");                               // true
//   kp::wordCount("Hello, world");                      // 2
//
// Patterns use the regular-expression syntax of the platform (ICU): `\d` is any
// decimal digit, `[0-9]` only the ASCII ones. Failures answer false, an empty list or
// nothing; nothing throws.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Character.h"
#include "platform/foundation/URL.h"

namespace kp {

// The pattern isEmailAddress() matches the whole text against.
inline constexpr std::string_view kSimpleEmailPattern = "[A-Za-z0-9._%+-]+@[A-Za-z0-9.-]+\\.[A-Za-z]{2,4}";
// The pattern isMobileNumberClassification() matches the whole text against.
inline constexpr std::string_view kMobileNumberPattern = "^1(3\\d|5[0-35-9]|7[0-9]|8[025-9])\\d\\d{7}$";
// The pattern isValidEmail() matches the whole text against.
extern const std::string_view kFullEmailPattern;

// ---------------------------------------------------------------------------------
// Regular expressions

// isValidateByRegex()
//
// True when the whole text matches `pattern` (the "SELF MATCHES" predicate). False
// when the pattern is not a valid regular expression, and when the test reaches
// the time limit of ios::NSRegularExpression::matchTimeLimit (about half a second on a
// short text, growing with the text's length): a caller's pattern
// that backtracks without end, such as "(a+)+$" on forty "a" and a "b", answers false
// instead of running for minutes. The engine's backtracking memory grows with the text
// too (ios::NSRegularExpression::matchStackLimit), so long texts that a pattern matches
// ("a*" against a million "a") answer true; only a text beyond the limit's cap of
// 1 GiB of backtracking memory answers false.
[[nodiscard]] bool isValidateByRegex(std::string_view text, std::string_view pattern);

// isMobileNumberClassification()
//
// True when the whole text is an eleven-digit mobile number (kMobileNumberPattern:
// "1", then 3x, 5x without 4, 7x or 8x of 0, 2 and 5 to 9, then eight digits). The
// `\d` positions accept any decimal digit, not only ASCII ones.
[[nodiscard]] bool isMobileNumberClassification(std::string_view text);

// isEmailAddress()
//
// True when the whole text matches kSimpleEmailPattern (a last label of 2 to 4
// letters; no surrounding spaces).
[[nodiscard]] bool isEmailAddress(std::string_view text);

// isValidEmail()
//
// True when the whole text matches kFullEmailPattern, which accepts letters of any
// script in the local part and in the first and last characters of domain labels (the
// middle of a label takes lower-case ASCII letters, digits and "-" only, so
// "a@EXAMPLE.COM" is refused). A trailing line break is refused.
[[nodiscard]] bool isValidEmail(std::string_view text);

// ---------------------------------------------------------------------------------
// URLs and e-mail links

// isEmail()
//
// True when the first link that ios::NSDataDetector finds in the text is an e-mail
// address (a mailto URL); the text may hold other words.
[[nodiscard]] bool isEmail(std::string_view text);

// isValidUrl(), isValidSchemedUrl()
//
// True when ios::URL can be made from the text (and it has a scheme).
[[nodiscard]] bool isValidUrl(std::string_view text);
[[nodiscard]] bool isValidSchemedUrl(std::string_view text);

// isValidHttpsUrl(), isValidHttpUrl()
//
// True when that URL's scheme is exactly "https" ("http"); "HTTPS" does not count.
[[nodiscard]] bool isValidHttpsUrl(std::string_view text);
[[nodiscard]] bool isValidHttpUrl(std::string_view text);

// kp_embeddedURLs(), extractURLs()
//
// The URLs of the links that ios::NSDataDetector finds in the text, in text order.
[[nodiscard]] std::vector<ios::URL> kp_embeddedURLs(std::string_view text);
[[nodiscard]] inline std::vector<ios::URL> extractURLs(std::string_view text) { return kp_embeddedURLs(text); }

// ---------------------------------------------------------------------------------
// Character classes

// hasLetters(), hasNumbers()
//
// True when a scalar of the text is a letter or mark (a decimal digit).
[[nodiscard]] bool hasLetters(std::string_view text);
[[nodiscard]] bool hasNumbers(std::string_view text);

// isAlphabetic(), isNumeric()
//
// Letters and no digits (digits and no letters); other characters may be present.
[[nodiscard]] bool isAlphabetic(std::string_view text);
[[nodiscard]] bool isNumeric(std::string_view text);

// isAlphaNumeric()
//
// True when every scalar is a letter, mark or number and the text has both letters and
// decimal digits.
[[nodiscard]] bool isAlphaNumeric(std::string_view text);

// containEmoji()
//
// True when any scalar of the text is U+00A9, U+00AE, U+3030, or lies in U+1F600 ...
// U+1F64F, U+1F300 ... U+1F5FF, U+1F680 ... U+1F6FF, U+2600 ... U+26FF, U+2700 ...
// U+27BF or U+FE00 ... U+FE0F. False for the empty text. (Newer emoji, such as
// U+1F900 ... U+1F9FF, and flags are not in this set.)
[[nodiscard]] bool containEmoji(std::string_view text);

// ---------------------------------------------------------------------------------
// Readings

// bool_()
//
// The text trimmed of whitespace and line breaks and lower-cased: true for "true" and
// "1", false for "false" and "0", nothing otherwise.
[[nodiscard]] std::optional<bool> bool_(std::string_view text);

// isNumber()
//
// True when the current locale's plain number format reads the whole text as a number.
[[nodiscard]] bool isNumber(std::string_view text);

// isPureInt(), isPureDouble()
//
// True when the text is one integer (one decimal number with "." as its separator),
// with only whitespace and line breaks around it. An integer beyond 64 bits is pure too
// (the scanner reads it, clamped), though toInt() of it is nothing.
[[nodiscard]] bool isPureInt(std::string_view text);
[[nodiscard]] bool isPureDouble(std::string_view text);

// isEmpty(), isOnlyEmptySpacesAndNewLineCharacters()
//
// True when nothing is left after trimming whitespace and line breaks (so a blank text
// is "empty").
[[nodiscard]] bool isEmpty(std::string_view text);
[[nodiscard]] inline bool isOnlyEmptySpacesAndNewLineCharacters(std::string_view text) { return isEmpty(text); }

// ---------------------------------------------------------------------------------
// Counts

// lines()
//
// The lines of the text without their terminators; a final terminator opens no empty
// line, and "" has none.
[[nodiscard]] std::vector<std::string> lines(std::string_view text);

// words(), wordCount()
//
// The runs of the text between whitespace, line breaks and punctuation, empty runs
// dropped ("don't" gives "don" and "t"; symbols such as "$" stay in words); and their
// number.
[[nodiscard]] std::vector<std::string> words(std::string_view text);
[[nodiscard]] std::int64_t wordCount(std::string_view text);

// countofParagraphs()
//
// The number of line feeds inside the text trimmed of whitespace and line breaks, plus
// one (a blank text has one paragraph).
[[nodiscard]] std::int64_t countofParagraphs(std::string_view text);

// mostCommonCharacter()
//
// The character (other than space and line feed) that occurs most often in the text,
// as a one-character text; among equally frequent ones the one that appears first. ""
// when there is none.
[[nodiscard]] std::string mostCommonCharacter(std::string_view text);

// getIndexOf()
//
// The character position of the first character equal to `character` (canonical
// equivalence), or nothing.
[[nodiscard]] std::optional<std::int64_t> getIndexOf(std::string_view text, const ios::Character& character);

}  // namespace kp
