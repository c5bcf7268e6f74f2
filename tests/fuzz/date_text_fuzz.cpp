// The date readers and writers: the fixed formats (toDate, date, dateTime,
// convertToString), caller patterns (toString, dateFromStringIfValid), getWeekDay,
// makeDate and the relative-time and countdown wording, on arbitrary dates (NaN, the
// infinities and huge values included), patterns and texts.
// Invariants: every text written is UTF-8; what convertToString() writes reads back
// through toDate() and dateTime() to the same text, and a pattern of whole fields reads
// back its own output; getWeekDay() agrees with a weekday computed here and answers 0
// for a day that does not exist; makeDate() reads a valid yyyyMMdd number back to its
// own digits and refuses an invalid one; the relative-time phrase is one of the
// documented ones, the same either way round, and for dates a whole number of seconds,
// minutes or hours apart names that number; dates no calendar reaches have no phrase.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "KPQuaslet/text/Date+KPExtText.h"
#include "KPQuaslet/text/String+KPConversion.h"
#include "platform/foundation/Calendar.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

// Seconds since 2001 of 2 January 1583 and of 1 January 9999: the years every fixed
// format writes with four digits, all in the Gregorian calendar.
constexpr double kEarliestGregorian = -13190774400.0;
constexpr double kLatestFourDigit = 252392457600.0;
// 1 January 1992 and 2100: Asia/Shanghai keeps no daylight-saving time in between.
constexpr double kNoDaylightSavingFrom = -284083200.0;
constexpr double kNoDaylightSavingTo = 3124137600.0;

bool inFourDigitYears(double seconds) { return seconds >= kEarliestGregorian && seconds < kLatestFourDigit; }

double pickDate(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0: return kp_fuzz::doubleFromBits(in.ConsumeIntegral<std::uint64_t>());
    case 1: return in.ConsumeFloatingPointInRange<double>(kEarliestGregorian, kLatestFourDigit);
    default: return static_cast<double>(in.ConsumeIntegralInRange<std::int64_t>(-4'000'000'000, 4'000'000'000));
  }
}

bool isLeap(std::int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

std::int64_t daysIn(std::int64_t y, std::int64_t m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

// 1 = Sunday ... 7 = Saturday in the Gregorian calendar (Sakamoto's method).
std::int64_t weekdayOf(std::int64_t y, std::int64_t m, std::int64_t d) {
  static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (m < 3) y -= 1;
  return (y + y / 4 - y / 100 + y / 400 + kOffsets[m - 1] + d) % 7 + 1;
}

// Whether `text` is one of the relative-time phrases.
bool isPhrase(const std::string& text) {
  for (const char* word : {"去年", "上月", "上周", "昨天", "现在"}) {
    if (text == word) return true;
  }
  std::size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
  if (digits == 0 || (text[0] == '0')) return false;
  const std::string_view unit = std::string_view(text).substr(digits);
  for (const char* suffix : {"年前", "月前", "周前", "天前", "小时前", "分钟前", "秒前"}) {
    if (unit == suffix) return true;
  }
  return false;
}

// Whether `text` is a countdown: optional "<days>天 ", then hh:mm:ss.
bool isCountdown(const std::string& text) {
  std::string_view rest = text;
  if (const auto mark = rest.find("天 "); mark != std::string_view::npos) {
    if (mark == 0) return false;
    for (char c : rest.substr(0, mark)) {
      if (c < '0' || c > '9') return false;
    }
    rest.remove_prefix(mark + std::string_view("天 ").size());
  }
  if (rest.size() != 8 || rest[2] != ':' || rest[5] != ':') return false;
  for (std::size_t i : {0, 1, 3, 4, 6, 7}) {
    if (rest[i] < '0' || rest[i] > '9') return false;
  }
  return rest.substr(3, 2) < "60" && rest.substr(6, 2) < "60" && rest.substr(0, 2) < "24";
}

// The fixed formats: written text reads back to itself.
void checkFixedFormats(double seconds) {
  const ios::Date date = ios::Date::fromTimeIntervalSinceReferenceDate(seconds);
  const std::string written = kp::convertToString(date);
  KP_FUZZ_CHECK(kp_fuzz::isUTF8(written), "convertToString() is not UTF-8");
  if (!inFourDigitYears(seconds)) return;
  const auto read = kp::toDate(written);
  KP_FUZZ_CHECK(read.has_value(), "toDate() does not read what convertToString() wrote");
  KP_FUZZ_CHECK(kp::convertToString(*read) == written, "toDate() reads another time than was written");
  const auto again = kp::dateTime("  " + written + "\t");
  KP_FUZZ_CHECK(again && *again == *read, "dateTime() reads the text otherwise than toDate()");
  const auto day = kp::date(written.substr(0, 10));
  KP_FUZZ_CHECK(day.has_value(), "date() does not read the day convertToString() wrote");
  KP_FUZZ_CHECK(kp::convertToString(*day).substr(0, 10) == written.substr(0, 10), "date() reads another day");
}

// A pattern of whole fields and separators, and whether it names every field from the
// year to the second exactly once (so that its text pins the date to the second).
struct Pattern {
  std::string text;
  bool complete = false;
};

Pattern pickPattern(FuzzedDataProvider& in) {
  static const std::vector<std::string_view> kTokens = {"yyyy", "MM", "MMM", "dd", "HH", "hh", "a",   "mm",
                                                        "ss",   "SSS", "EEE", "Z",  "-",  ":",  " ",   "/",
                                                        "'T'",  "''", "'at'", ".",  "yy", "D",  "EEEE", "MMMM"};
  Pattern pattern;
  int year = 0, month = 0, day = 0, hour24 = 0, hour12 = 0, marker = 0, minute = 0, second = 0, other = 0;
  // A zone offset followed at once by digits is ambiguous: "+0800" then "08" reads as
  // the offset "+080008" (hours, minutes and seconds).
  bool digitsAfterOffset = false;
  std::string_view previous;
  const int count = in.ConsumeIntegralInRange<int>(1, 12);
  for (int i = 0; i < count; ++i) {
    const std::string_view token = kTokens[in.ConsumeIntegralInRange<std::size_t>(0, kTokens.size() - 1)];
    pattern.text += token;
    const bool digits = token == "yyyy" || token == "MM" || token == "dd" || token == "HH" || token == "hh" ||
                        token == "mm" || token == "ss" || token == "SSS" || token == "yy" || token == "D";
    if (previous == "Z" && digits) digitsAfterOffset = true;
    previous = token;
    if (token == "yyyy") ++year;
    else if (token == "MM" || token == "MMM" || token == "MMMM") ++month;
    else if (token == "dd") ++day;
    else if (token == "HH") ++hour24;
    else if (token == "hh") ++hour12;
    else if (token == "a") ++marker;
    else if (token == "mm") ++minute;
    else if (token == "ss") ++second;
    else if (token == "yy" || token == "D") ++other;
  }
  const bool hour = (hour24 == 1 && hour12 == 0 && marker == 0) || (hour24 == 0 && hour12 == 1 && marker == 1);
  pattern.complete = year == 1 && month == 1 && day == 1 && hour && minute == 1 && second == 1 && other == 0 &&
                     !digitsAfterOffset;
  return pattern;
}

// Whether the pattern has an unquoted week-based year ('Y'): with the calendar year
// beside it, or without a week of the year, the fields disagree on the day, and what
// such a pattern reads back depends on which field ICU takes last.
bool hasWeekBasedYear(std::string_view pattern) {
  bool quoted = false;
  for (char c : pattern) {
    if (c == '\'') quoted = !quoted;
    else if (!quoted && c == 'Y') return true;
  }
  return false;
}

void checkPatterns(FuzzedDataProvider& in, double seconds) {
  const ios::Date date = ios::Date::fromTimeIntervalSinceReferenceDate(seconds);
  const Pattern pattern = pickPattern(in);
  const std::string written = kp::toString(date, pattern.text);
  KP_FUZZ_CHECK(kp_fuzz::isUTF8(written), "toString() with a field pattern is not UTF-8");
  if (pattern.complete && inFourDigitYears(seconds)) {
    const auto read = kp::dateFromStringIfValid(written, pattern.text);
    KP_FUZZ_CHECK(read.has_value(), "a complete pattern does not read its own text");
    KP_FUZZ_CHECK(kp::toString(*read, pattern.text) == written, "a complete pattern reads another date");
  }

  // Any pattern and any text.
  const std::string freePattern = in.ConsumeRandomLengthString(64);
  const std::string freeText = in.ConsumeRandomLengthString(64);
  KP_FUZZ_CHECK(kp_fuzz::isUTF8(kp::toString(date, freePattern)) || !kp_fuzz::isUTF8(freePattern),
                "toString() with a UTF-8 pattern is not UTF-8");
  if (const auto read = kp::dateFromStringIfValid(freeText, freePattern)) {
    KP_FUZZ_CHECK(std::isfinite(read->timeIntervalSinceReferenceDate()), "a parsed date is not finite");
    // What a pattern writes of a date it read, it reads as a date it writes the same way.
    if (inFourDigitYears(read->timeIntervalSinceReferenceDate()) && !hasWeekBasedYear(freePattern)) {
      const std::string again = kp::toString(*read, freePattern);
      const auto reread = kp::dateFromStringIfValid(again, freePattern);
      KP_FUZZ_CHECK(!reread || kp::toString(*reread, freePattern) == again, "a pattern's text reads back otherwise");
    }
  }
  for (const auto& reader : {kp::toDate, kp::date, kp::dateTime}) {
    if (const auto read = reader(freeText)) {
      KP_FUZZ_CHECK(std::isfinite(read->timeIntervalSinceReferenceDate()), "a fixed-format date is not finite");
      KP_FUZZ_CHECK(kp::date(kp::toString(*read, "yyyy-MM-dd")).has_value() || !inFourDigitYears(read->timeIntervalSinceReferenceDate()),
                    "the day of a parsed date does not read back");
    }
  }
}

void checkWeekDay(FuzzedDataProvider& in) {
  const bool plausible = in.ConsumeBool();
  const std::int64_t y = plausible ? in.ConsumeIntegralInRange<std::int64_t>(-10, 10000) : in.ConsumeIntegral<std::int64_t>();
  const std::int64_t m = plausible ? in.ConsumeIntegralInRange<std::int64_t>(-1, 14) : in.ConsumeIntegral<std::int64_t>();
  const std::int64_t d = plausible ? in.ConsumeIntegralInRange<std::int64_t>(-1, 32) : in.ConsumeIntegral<std::int64_t>();
  const std::int64_t weekday = kp::getWeekDay(y, m, d);
  KP_FUZZ_CHECK(weekday >= 0 && weekday <= 7, "getWeekDay() outside 0...7");
  if (y >= 1583 && y <= 9999) {
    const bool exists = m >= 1 && m <= 12 && d >= 1 && d <= daysIn(y, m);
    KP_FUZZ_CHECK(weekday == (exists ? weekdayOf(y, m, d) : 0), "getWeekDay() names the wrong weekday");
  }

  const std::int64_t literal = plausible ? y * 10000 + m * 100 + d : in.ConsumeIntegral<std::int64_t>();
  const auto made = kp::makeDate(literal);
  if (made) KP_FUZZ_CHECK(std::isfinite(made->timeIntervalSinceReferenceDate()), "makeDate() is not finite");
  if (plausible && y >= 1583 && y <= 9999 && m >= 0 && m <= 14 && d >= 0 && d <= 32) {
    const bool exists = m >= 1 && m <= 12 && d >= 1 && d <= daysIn(y, m);
    KP_FUZZ_CHECK(made.has_value() == exists, "makeDate() and the calendar disagree on a yyyyMMdd number");
    if (made) KP_FUZZ_CHECK(kp::toString(*made, "yyyyMMdd") == std::to_string(literal), "makeDate() reads another day");
  }
}

void checkRelativeTime(FuzzedDataProvider& in, double seconds) {
  const ios::Date date = ios::Date::fromTimeIntervalSinceReferenceDate(seconds);
  const ios::Date other = ios::Date::fromTimeIntervalSinceReferenceDate(pickDate(in));
  const bool numeric = in.ConsumeBool();
  // Dates no calendar reaches have no phrase and no countdown.
  if (!ios::Calendar::canRepresent(date) || !ios::Calendar::canRepresent(other)) {
    KP_FUZZ_CHECK(kp::timeAgoSince(date, other, numeric).empty(), "timeAgoSince() of a date no calendar reaches");
    if (!ios::Calendar::canRepresent(other)) {
      KP_FUZZ_CHECK(kp::timeAfterTo(date, other).empty(), "timeAfterTo() of a date no calendar reaches");
    }
    return;
  }
  const std::string phrase = kp::timeAgoSince(date, other, numeric);
  KP_FUZZ_CHECK(isPhrase(phrase), "timeAgoSince() is not a relative-time phrase");
  KP_FUZZ_CHECK(kp::timeAgoSince(other, date, numeric) == phrase, "timeAgoSince() depends on the order");
  KP_FUZZ_CHECK(isPhrase(kp::timeAgoSinceNow(date)), "timeAgoSinceNow() is not a relative-time phrase");
  KP_FUZZ_CHECK(isCountdown(kp::timeAfterTo(date, other)), "timeAfterTo() is not a countdown");

  // Whole seconds apart, in years without daylight-saving time: the phrase names them.
  const double start = std::floor(seconds);
  if (!(start >= kNoDaylightSavingFrom && start < kNoDaylightSavingTo)) return;
  const std::int64_t apart = in.ConsumeIntegralInRange<std::int64_t>(0, 86399);
  const std::string near =
      kp::timeAgoSince(ios::Date::fromTimeIntervalSinceReferenceDate(start),
                       ios::Date::fromTimeIntervalSinceReferenceDate(start + static_cast<double>(apart)), numeric);
  std::string expected;
  if (apart >= 7200) expected = std::to_string(apart / 3600) + "小时前";
  else if (apart >= 3600) expected = "1小时前";
  else if (apart >= 120) expected = std::to_string(apart / 60) + "分钟前";
  else if (apart >= 60) expected = "1分钟前";
  else if (apart >= 3) expected = std::to_string(apart) + "秒前";
  else expected = "现在";
  KP_FUZZ_CHECK(near == expected, "timeAgoSince() miscounts a time of less than a day");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  FuzzedDataProvider in(data, size);
  const double seconds = pickDate(in);
  checkFixedFormats(seconds);
  checkPatterns(in, seconds);
  checkWeekDay(in);
  checkRelativeTime(in, seconds);
  return 0;
}
