#include "KPQuaslet/text/Date+KPExtText.h"

#include <cstdio>

#include "platform/foundation/Calendar.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/TimeZone.h"

namespace kp {
namespace {

using Component = ios::Calendar::Component;

constexpr const char* kPOSIX = "en_US_POSIX";

ios::DateFormatter formatter(std::string_view pattern, bool posix = false) {
  ios::DateFormatter f;
  f.setDateFormat(std::string(pattern));
  if (posix) f.setLocale(ios::Locale(kPOSIX));
  return f;
}

}  // namespace

std::string toString(ios::Date date, std::string_view format) { return formatter(format).string(date); }

std::string convertToString(ios::Date date) { return toString(date, "yyyy-MM-dd HH:mm:ss"); }

std::string iso8601String(ios::Date date) {
  ios::DateFormatter f = formatter("yyyy-MM-dd'T'HH:mm:ss.SSS", /*posix=*/true);
  if (auto gmt = ios::TimeZone::fromAbbreviation("GMT")) f.setTimeZone(gmt);
  std::string text = f.string(date);
  if (text.empty()) return text;  // no calendar reaches the date
  return text + "Z";
}

std::optional<ios::Date> dateWithISO08601StringIfValid(std::string_view text) {
  std::string timestamp(text);
  if (!timestamp.empty() && timestamp.back() == 'Z') {
    timestamp.pop_back();
    timestamp += "-0000";
  }
  return formatter("yyyy-MM-dd'T'HH:mm:ssZ", /*posix=*/true).date(timestamp);
}

ios::Date dateWithISO08601String(std::optional<std::string_view> text) {
  if (!text) return ios::Date::now();
  return dateWithISO08601StringIfValid(*text).value_or(ios::Date::now());
}

std::optional<ios::Date> dateFromStringIfValid(std::string_view text, std::string_view format) {
  return formatter(format).date(text);
}

ios::Date dateFromString(std::string_view text, std::string_view format) {
  return dateFromStringIfValid(text, format).value_or(ios::Date::now());
}

std::int64_t getWeekDay(std::int64_t year, std::int64_t month, std::int64_t day) {
  char text[96];
  std::snprintf(text, sizeof text, "%04lld/%02lld/%02lld", static_cast<long long>(year),
                static_cast<long long>(month), static_cast<long long>(day));
  auto date = formatter("yyyy/MM/dd").date(text);
  if (!date) return 0;
  return ios::Calendar::current().component(Component::weekday, *date);
}

std::optional<ios::Date> makeDate(std::int64_t integerLiteral) {
  return formatter("yyyyMMdd").date(std::to_string(integerLiteral));
}

std::string timeAgoSince(ios::Date date, ios::Date other, bool numericDates) {
  if (!ios::Calendar::canRepresent(date) || !ios::Calendar::canRepresent(other)) return "";
  const ios::Date earlier = date < other ? date : other;
  const ios::Date later = date < other ? other : date;
  const ios::DateComponents parts = ios::Calendar::current().dateComponents(
      {Component::year, Component::month, Component::weekOfYear, Component::day, Component::hour,
       Component::minute, Component::second},
      earlier, later);

  struct Row {
    std::int64_t value;
    const char* unit;  // after the number
    const char* single;  // the word for exactly one, when not numeric
  };
  const Row rows[] = {
      {parts.year.value_or(0), "年前", "去年"},      {parts.month.value_or(0), "月前", "上月"},
      {parts.weekOfYear.value_or(0), "周前", "上周"}, {parts.day.value_or(0), "天前", "昨天"},
      {parts.hour.value_or(0), "小时前", nullptr},    {parts.minute.value_or(0), "分钟前", nullptr},
  };
  for (const Row& row : rows) {
    if (row.value >= 2) return std::to_string(row.value) + row.unit;
    if (row.value >= 1) return (numericDates || !row.single) ? std::string("1") + row.unit : row.single;
  }
  const std::int64_t seconds = parts.second.value_or(0);
  if (seconds >= 3) return std::to_string(seconds) + "秒前";
  return "现在";
}

std::string timeAgoSinceNow(ios::Date date) {
  // Measured against the current instant: comparing the date with itself would always
  // answer "现在".
  return timeAgoSince(date, ios::Date::now(), true);
}

std::string timeAfterTo(ios::Date /*date*/, ios::Date other) {
  const ios::Date now = ios::Date::now();
  if (!ios::Calendar::canRepresent(other) || !ios::Calendar::canRepresent(now)) return "";
  const ios::Date earlier = now < other ? now : other;
  const ios::Date later = now < other ? other : now;
  // Days are the largest unit, so that a countdown of a month or more shows all its days.
  const ios::DateComponents parts = ios::Calendar::current().dateComponents(
      {Component::day, Component::hour, Component::minute, Component::second}, earlier, later);
  std::string text;
  if (parts.day.value_or(0) >= 1) text = std::to_string(*parts.day) + "天 ";
  char clock[96];
  std::snprintf(clock, sizeof clock, "%.2lld:%.2lld:%.2lld", static_cast<long long>(parts.hour.value_or(0)),
                static_cast<long long>(parts.minute.value_or(0)), static_cast<long long>(parts.second.value_or(0)));
  return text + clock;
}

}  // namespace kp
