// File: KPQuaslet/text/String+KPConversion.h
//
// Conversions of text: dates read by fixed formats, percent and base64 encodings,
// escaped Unicode, pinyin and diacritic folding, camel case, and numbers.
//
//   kp::dateTime("2024-03-05 14:07:09");   // a Date in the current time zone
//   kp::base64("hi");                      // "aGk="
//   kp::makeStringFromBase64("aGk");       // "hi": the padding is added
//   kp::change2English("中文");            // "zhong wen"
//   kp::camelCased("hello big world");     // "helloBigWorld"
//   kp::toInt("3.7");                      // 3
//   kp::bold("Title");                     // attributed: the bold system font throughout
//
// Failures answer nothing (readers) or the text unchanged (encoders); nothing throws.
// Ill-formed UTF-8 input makes the encoders answer the text unchanged and the readers
// answer nothing; the case and script conversions read ill-formed bytes as U+FFFD.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Date.h"
#include "platform/foundation/NSAttributedString.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/UIColor.h"

namespace kp {

// ---------------------------------------------------------------------------------
// Dates
//
// Each reader makes a new formatter in the current locale, with the locale's calendar,
// and the current time zone, so that the text kp::convertToString() writes reads back:
// in a Thai locale "2563-03-04" is 4 March 2020 (the Buddhist year), and under
// "ja_JP@calendar=japanese" the year is the current era's.

// toDate()
//
// The date that the whole text spells as "yyyy-MM-dd HH:mm:ss" in the current time
// zone, or nothing. The text is not trimmed.
[[nodiscard]] std::optional<ios::Date> toDate(std::string_view text);

// date()
//
// The start of the day that the text spells as "yyyy-MM-dd" in the current time zone,
// after trimming spaces and tabs (line breaks stay and make it fail); or nothing.
[[nodiscard]] std::optional<ios::Date> date(std::string_view text);

// dateTime()
//
// As date() with the format "yyyy-MM-dd HH:mm:ss".
[[nodiscard]] std::optional<ios::Date> dateTime(std::string_view text);

// ---------------------------------------------------------------------------------
// Encodings

// urlDecoded()
//
// The text with its %XX escapes decoded ("+" stays "+"); the text unchanged when an
// escape is malformed or the decoded bytes are not UTF-8.
[[nodiscard]] std::string urlDecoded(std::string_view text);

// urlEncoded()
//
// The text with every character outside CharacterSet::urlHostAllowed() written as %XX
// escapes of its UTF-8 bytes. That set lets "&", "=", "+", ";", ",", "'", "(", ")",
// "!", "*", "$", ":", "[" and "]" through, so the result is not safe as a query value.
// The text unchanged when it is not well-formed UTF-8.
[[nodiscard]] std::string urlEncoded(std::string_view text);

// base64()
//
// The UTF-8 bytes of the text as padded base64 without line breaks.
[[nodiscard]] std::string base64(std::string_view text);

// makeStringFromBase64()
//
// The UTF-8 text that `base64` encodes, after padding it with "=" to a multiple of four
// characters; nothing when it holds a character outside the base64 alphabet (a line
// break included), its length leaves one character over, or the bytes are not UTF-8.
[[nodiscard]] std::optional<std::string> makeStringFromBase64(std::string_view base64);

// stringToUnicode()
//
// The text in the non-lossy ASCII form: a backslash doubled, U+0080 ... U+00FF as "\ooo"
// (three octal digits), every other UTF-16 unit above U+007F as "\uxxxx". ASCII text
// without backslashes is unchanged.
[[nodiscard]] std::string stringToUnicode(std::string_view text);

// unicodeToString()
//
// The reverse of stringToUnicode(): the escapes turned back into characters; the text
// unchanged when an escape is malformed or the text is not ASCII.
[[nodiscard]] std::string unicodeToString(std::string_view text);

// toNSString()
//
// The bridged platform string.
[[nodiscard]] ios::NSString toNSString(std::string_view text);

// ---------------------------------------------------------------------------------
// Transliteration and case

// change2English()
//
// The text with Chinese characters written as toneless pinyin syllables separated by
// spaces ("中文" gives "zhong wen"), and every diacritic removed.
[[nodiscard]] std::string change2English(std::string_view text);

// firstCharactor()
//
// The first character of the capitalised change2English() form ("中文" gives "Z"), or
// nothing when that form is empty (an empty text, or one of combining marks only).
[[nodiscard]] std::optional<std::string> firstCharactor(std::string_view text);

// latinized()
//
// The text without accents and other diacritics, letter case kept ("Crème Brûlée"
// gives "Creme Brulee").
[[nodiscard]] std::string latinized(std::string_view text);

// camelCased()
//
// The lower-cased text; when it holds a space, its words capitalised and joined with
// spaces and line feeds removed, keeping the first character as it was lower-cased
// ("Hello big World" gives "helloBigWorld"; a text that starts with a space keeps that
// space and loses its first letter). "" for the empty text.
[[nodiscard]] std::string camelCased(std::string_view text);

// capitalizeFirst()
//
// The text with its first character capitalised ("ßa" gives "Ssa", "élan" "Élan") and
// the rest unchanged; "" for the empty text.
[[nodiscard]] std::string capitalizeFirst(std::string_view text);

// ---------------------------------------------------------------------------------
// Numbers (read with a NumberFormatter of the current locale: the whole text must be
// one number, without surrounding spaces)

// toInt()
//
// The number cut toward zero ("3.7" gives 3, "-3.7" gives -3); nothing when the text
// is not a number, or the number is not finite or does not fit in 64 bits.
[[nodiscard]] std::optional<std::int64_t> toInt(std::string_view text);

// toDouble(), toFloat()
//
// The number as a double (single-precision float), or nothing.
[[nodiscard]] std::optional<double> toDouble(std::string_view text);
[[nodiscard]] std::optional<float> toFloat(std::string_view text);

// ---------------------------------------------------------------------------------
// Attributed strings: the text with one attribute over all of it

// bold(), italic()
//
// The font attribute: the bold (italic) system font of UIFont::systemFontSize().
[[nodiscard]] ios::NSAttributedString bold(std::string_view text);
[[nodiscard]] ios::NSAttributedString italic(std::string_view text);

// underline()
//
// The underline-style attribute NSUnderlineStyle::single (1).
[[nodiscard]] ios::NSAttributedString underline(std::string_view text);

// color()
//
// The foreground-colour attribute `color`.
[[nodiscard]] ios::NSAttributedString color(std::string_view text, const ios::UIColor& color);

}  // namespace kp
