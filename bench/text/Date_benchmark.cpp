// Date text and period boundaries.
//
// Formatting and parsing 100 000 dates with a fixed pattern through the framework (a new
// DateFormatter per call, as the framework makes one) against one ICU SimpleDateFormat
// kept for the whole run, and the period-boundary operations per call, the start of the
// day, week and month beside one ICU calendar kept for the whole run doing the same
// field work (and the end of the month, two additions more).
#include <benchmark/benchmark.h>
#include <unicode/calendar.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <memory>
#include <string>
#include <vector>

#include "KPQuaslet/text/Date+KPExt.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/TimeZone.h"

namespace {

constexpr int kDates = 100'000;
constexpr const char* kPattern = "yyyy-MM-dd HH:mm:ss";

// 100 000 dates a little over 17 minutes apart, from 2020-01-01.
const std::vector<ios::Date>& sampleDates() {
  static const std::vector<ios::Date> dates = [] {
    std::vector<ios::Date> d;
    d.reserve(kDates);
    for (int i = 0; i < kDates; ++i) d.push_back(ios::Date::fromTimeIntervalSince1970(1577836800.0 + i * 1037.0));
    return d;
  }();
  return dates;
}

const std::vector<std::string>& sampleTexts() {
  static const std::vector<std::string> texts = [] {
    ios::testing::ScopedLocale locale("en_US_POSIX");
    ios::testing::ScopedTimeZone zone("Europe/Berlin");
    std::vector<std::string> t;
    t.reserve(kDates);
    for (ios::Date d : sampleDates()) t.push_back(kp::toString(d, kPattern));
    return t;
  }();
  return texts;
}

std::unique_ptr<icu::SimpleDateFormat> rawFormat() {
  UErrorCode status = U_ZERO_ERROR;
  auto format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(kPattern), icu::Locale("en_US_POSIX"),
                                                        status);
  format->adoptTimeZone(icu::TimeZone::createTimeZone("Europe/Berlin"));
  format->setLenient(false);
  return format;
}

void BM_Format100kDates_Framework(benchmark::State& state) {
  ios::testing::ScopedLocale locale("en_US_POSIX");
  ios::testing::ScopedTimeZone zone("Europe/Berlin");
  const auto& dates = sampleDates();
  for (auto _ : state) {
    std::size_t bytes = 0;
    for (ios::Date d : dates) bytes += kp::toString(d, kPattern).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * kDates);
}
BENCHMARK(BM_Format100kDates_Framework)->Unit(benchmark::kMillisecond);

void BM_Format100kDates_CachedICU(benchmark::State& state) {
  auto format = rawFormat();
  const auto& dates = sampleDates();
  for (auto _ : state) {
    std::size_t bytes = 0;
    for (ios::Date d : dates) {
      icu::UnicodeString out;
      format->format(d.timeIntervalSince1970() * 1000.0, out);
      std::string text;
      out.toUTF8String(text);
      bytes += text.size();
    }
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * kDates);
}
BENCHMARK(BM_Format100kDates_CachedICU)->Unit(benchmark::kMillisecond);

void BM_Parse100kDates_Framework(benchmark::State& state) {
  ios::testing::ScopedLocale locale("en_US_POSIX");
  ios::testing::ScopedTimeZone zone("Europe/Berlin");
  const auto& texts = sampleTexts();
  for (auto _ : state) {
    double sum = 0;
    for (const std::string& t : texts) sum += kp::dateFromStringIfValid(t, kPattern)->timeIntervalSince1970();
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kDates);
}
BENCHMARK(BM_Parse100kDates_Framework)->Unit(benchmark::kMillisecond);

void BM_Parse100kDates_CachedICU(benchmark::State& state) {
  auto format = rawFormat();
  const auto& texts = sampleTexts();
  for (auto _ : state) {
    double sum = 0;
    for (const std::string& t : texts) {
      const icu::UnicodeString input = icu::UnicodeString::fromUTF8(t);
      icu::ParsePosition position(0);
      const UDate millis = format->parse(input, position);
      if (position.getErrorIndex() < 0 && position.getIndex() == input.length()) sum += millis / 1000.0;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kDates);
}
BENCHMARK(BM_Parse100kDates_CachedICU)->Unit(benchmark::kMillisecond);

// Period boundaries, one call per iteration, in a zone with daylight-saving time.
template <class Op>
void runPerCall(benchmark::State& state, Op op) {
  ios::testing::ScopedLocale locale("de_DE");
  ios::testing::ScopedTimeZone zone("Europe/Berlin");
  const auto& dates = sampleDates();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(op(dates[i]));
    if (++i == dates.size()) i = 0;
  }
}

using Component = ios::Calendar::Component;

void BM_ZeroOfDay(benchmark::State& s) { runPerCall(s, [](ios::Date d) { return kp::zeroOfDay(d); }); }
void BM_EndOfDay(benchmark::State& s) { runPerCall(s, [](ios::Date d) { return kp::endOfDay(d); }); }
void BM_StartOfWeek(benchmark::State& s) { runPerCall(s, [](ios::Date d) { return kp::startOfWeek(d, 2); }); }
void BM_EndOfWeek(benchmark::State& s) { runPerCall(s, [](ios::Date d) { return kp::endOfWeek(d, 2); }); }
void BM_StartOfMonth(benchmark::State& s) { runPerCall(s, [](ios::Date d) { return kp::startOfMonth(d); }); }
void BM_EndOfMonth(benchmark::State& s) { runPerCall(s, [](ios::Date d) { return kp::endOfMonth(d); }); }
void BM_EndOfYear(benchmark::State& s) { runPerCall(s, [](ios::Date d) { return kp::endOfYear(d); }); }
void BM_BeginningOfHour(benchmark::State& s) {
  runPerCall(s, [](ios::Date d) { return *kp::beginning(d, Component::hour); });
}
void BM_EndOfMonthComponent(benchmark::State& s) {
  runPerCall(s, [](ios::Date d) { return *kp::end(d, Component::month); });
}
void BM_NearestQuarterHour(benchmark::State& s) {
  runPerCall(s, [](ios::Date d) { return kp::nearestQuarterHour(d); });
}
void BM_TimeAgoSince(benchmark::State& s) {
  runPerCall(s, [](ios::Date d) { return kp::timeAgoSince(d, d + 12345678, true); });
}
void BM_Quarter(benchmark::State& s) { runPerCall(s, [](ios::Date d) { return kp::quarter(d); }); }
void BM_Day(benchmark::State& s) { runPerCall(s, [](ios::Date d) { return kp::day(d); }); }
// One ICU calendar for the whole run: the period start that `start` sets its fields to.
template <class Start>
void runOnCachedICU(benchmark::State& state, Start start) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(
      icu::TimeZone::createTimeZone("Europe/Berlin"), icu::Locale("de_DE"), status));
  const auto& dates = sampleDates();
  std::size_t i = 0;
  for (auto _ : state) {
    calendar->setTime(dates[i].timeIntervalSince1970() * 1000.0, status);
    start(*calendar);
    benchmark::DoNotOptimize(calendar->getTime(status));
    if (++i == dates.size()) i = 0;
  }
}
void startOfDayFields(icu::Calendar& c) {
  c.set(UCAL_HOUR_OF_DAY, 0);
  c.set(UCAL_MINUTE, 0);
  c.set(UCAL_SECOND, 0);
  c.set(UCAL_MILLISECOND, 0);
}
void BM_Baseline_CachedICUStartOfDay(benchmark::State& s) { runOnCachedICU(s, startOfDayFields); }
void BM_Baseline_CachedICUStartOfWeek(benchmark::State& s) {
  runOnCachedICU(s, [](icu::Calendar& c) {
    c.set(UCAL_DAY_OF_WEEK, c.getFirstDayOfWeek());
    startOfDayFields(c);
  });
}
void BM_Baseline_CachedICUStartOfMonth(benchmark::State& s) {
  runOnCachedICU(s, [](icu::Calendar& c) {
    c.set(UCAL_DATE, 1);
    startOfDayFields(c);
  });
}
void BM_Baseline_CachedICUEndOfMonth(benchmark::State& s) {
  runOnCachedICU(s, [](icu::Calendar& c) {
    UErrorCode status = U_ZERO_ERROR;
    c.set(UCAL_DATE, 1);
    startOfDayFields(c);
    c.add(UCAL_MONTH, 1, status);
    c.add(UCAL_DATE, -1, status);
  });
}
BENCHMARK(BM_Baseline_CachedICUStartOfDay);
BENCHMARK(BM_Baseline_CachedICUEndOfMonth);
BENCHMARK(BM_Baseline_CachedICUStartOfWeek);
BENCHMARK(BM_Baseline_CachedICUStartOfMonth);
BENCHMARK(BM_Day);
BENCHMARK(BM_Quarter);
BENCHMARK(BM_ZeroOfDay);
BENCHMARK(BM_EndOfDay);
BENCHMARK(BM_StartOfWeek);
BENCHMARK(BM_EndOfWeek);
BENCHMARK(BM_StartOfMonth);
BENCHMARK(BM_EndOfMonth);
BENCHMARK(BM_EndOfYear);
BENCHMARK(BM_BeginningOfHour);
BENCHMARK(BM_EndOfMonthComponent);
BENCHMARK(BM_NearestQuarterHour);
BENCHMARK(BM_TimeAgoSince);

}  // namespace
