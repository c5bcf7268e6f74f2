#include "KPQuaslet/text/String+KPConversion.h"

#include <cmath>

#include "KPQuaslet/text/NSAttributedString+KPExt.h"
#include "KPQuaslet/text/internal/TextSupport.h"
#include "platform/foundation/CharacterSet.h"
#include "platform/foundation/Data.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/NumberFormatter.h"
#include "platform/foundation/String.h"
#include "platform/foundation/StringTransform.h"
#include "platform/foundation/TimeZone.h"
#include "platform/foundation/URL.h"

namespace kp {
namespace {

// Reads `text` with a fixed format, by a new formatter in the current locale (with its
// calendar) and time zone: the text convertToString() writes reads back.
std::optional<ios::Date> readFixedFormat(std::string_view text, const char* format) {
  ios::DateFormatter formatter;
  formatter.setTimeZone(ios::TimeZone::current());
  formatter.setDateFormat(format);
  return formatter.date(text);
}

// The number the current locale's plain number format reads from the whole text.
std::optional<ios::NSNumber> readNumber(std::string_view text) {
  if (!ios::isValidUTF8(text)) return std::nullopt;
  return ios::NumberFormatter().number(text);
}

// The text with both transforms of change2English() applied.
std::string pinyin(std::string_view text) {
  std::string out = ios::decodingUTF8(text);
  (void)ios::CFStringTransform(out, ios::kCFStringTransformMandarinLatin, false);
  (void)ios::CFStringTransform(out, ios::kCFStringTransformStripDiacritics, false);
  return out;
}

}  // namespace

std::optional<ios::Date> toDate(std::string_view text) { return readFixedFormat(text, "yyyy-MM-dd HH:mm:ss"); }

std::optional<ios::Date> date(std::string_view text) {
  return readFixedFormat(text_internal::lowercased(ios::trimmingCharacters(text, ios::CharacterSet::whitespaces())),
                         "yyyy-MM-dd");
}

std::optional<ios::Date> dateTime(std::string_view text) {
  return readFixedFormat(text_internal::lowercased(ios::trimmingCharacters(text, ios::CharacterSet::whitespaces())),
                         "yyyy-MM-dd HH:mm:ss");
}

std::string urlDecoded(std::string_view text) {
  return ios::removingPercentEncoding(text).value_or(std::string(text));
}

std::string urlEncoded(std::string_view text) {
  return ios::addingPercentEncoding(text, ios::CharacterSet::urlHostAllowed()).value_or(std::string(text));
}

std::string base64(std::string_view text) { return ios::base64EncodedString(ios::Data(text.begin(), text.end())); }

std::optional<std::string> makeStringFromBase64(std::string_view base64) {
  std::string padded(base64);
  const std::size_t remainder = ios::characterCount(base64) % 4;
  if (remainder != 0) padded.append(4 - remainder, '=');
  const auto bytes = ios::dataFromBase64Encoded(padded);
  if (!bytes) return std::nullopt;
  return ios::stringFromUTF8(*bytes);
}

std::string stringToUnicode(std::string_view text) {
  const auto bytes = ios::dataUsingNonLossyASCII(text);
  if (!bytes) return std::string(text);
  return std::string(bytes->begin(), bytes->end());
}

std::string unicodeToString(std::string_view text) {
  const auto bytes = ios::dataUsingUTF8(text);
  if (!bytes) return std::string(text);
  return ios::stringFromNonLossyASCII(*bytes).value_or(std::string(text));
}

ios::NSString toNSString(std::string_view text) { return ios::NSString(text); }

std::string change2English(std::string_view text) { return pinyin(text); }

std::optional<std::string> firstCharactor(std::string_view text) {
  const std::string capitalised = ios::capitalized(pinyin(text));
  if (capitalised.empty()) return std::nullopt;
  return capitalised.substr(0, *ios::index(capitalised, 0, 1));
}

std::string latinized(std::string_view text) {
  return ios::folding(ios::decodingUTF8(text), ios::CompareOptions::diacriticInsensitive);
}

std::string camelCased(std::string_view text) {
  const std::string lower = text_internal::lowercased(text);
  if (lower.empty()) return lower;
  if (lower.find(' ') == std::string::npos) return lower;
  const std::size_t firstEnd = *ios::index(lower, 0, 1);
  std::string joined = ios::capitalized(lower);
  std::erase_if(joined, [](char c) { return c == ' ' || c == '\n'; });
  // Drop the first character of the joined text and put back the lower-cased one.
  const std::size_t dropped = joined.empty() ? 0 : *ios::index(joined, 0, 1);
  joined.replace(0, dropped, lower, 0, firstEnd);
  return joined;
}

std::string capitalizeFirst(std::string_view text) {
  if (text.empty()) return std::string();
  const std::string valid = ios::decodingUTF8(text);
  const std::size_t firstEnd = *ios::index(valid, 0, 1);
  return ios::capitalized(valid.substr(0, firstEnd)) + valid.substr(firstEnd);
}

std::optional<std::int64_t> toInt(std::string_view text) {
  const auto number = readNumber(text);
  if (!number) return std::nullopt;
  if (number->holdsInteger()) return number->intValue();
  const double value = std::trunc(number->doubleValue());
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  if (!std::isfinite(value) || value < -9223372036854775808.0 || value >= 9223372036854775808.0) {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(value);
}

std::optional<double> toDouble(std::string_view text) {
  const auto number = readNumber(text);
  if (!number) return std::nullopt;
  return number->doubleValue();
}

std::optional<float> toFloat(std::string_view text) {
  const auto number = readNumber(text);
  if (!number) return std::nullopt;
  return number->floatValue();
}

ios::NSAttributedString bold(std::string_view text) { return bold(ios::NSAttributedString(std::string(text))); }

ios::NSAttributedString italic(std::string_view text) { return italic(ios::NSAttributedString(std::string(text))); }

ios::NSAttributedString underline(std::string_view text) {
  return underline(ios::NSAttributedString(std::string(text)));
}

ios::NSAttributedString color(std::string_view text, const ios::UIColor& color) {
  return kp::color(ios::NSAttributedString(std::string(text)), color);
}

}  // namespace kp
