// Helpers for date tests: a fixture that pins the locale and time zone, building local
// dates and showing them in the current calendar and time zone.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/Calendar.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/testing/PlatformFixture.h"

namespace date_testing {

// A platform fixture whose current locale is en_US (weeks start on Sunday) and whose
// current zone is Europe/Berlin; tests nest other scoped overrides inside.
class PinnedDateTest : public ios::testing::PlatformFixture {
 protected:
  ios::testing::ScopedLocale locale_{"en_US"};
  ios::testing::ScopedTimeZone zone_{"Europe/Berlin"};
};

// The local wall-clock time in the current zone (a skipped time moves forward by the gap,
// a repeated one is its first occurrence), plus `fraction` of a second.
inline ios::Date local(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour = 0,
                       std::int64_t minute = 0, std::int64_t second = 0, double fraction = 0) {
  ios::DateComponents c;
  c.year = year;
  c.month = month;
  c.day = day;
  c.hour = hour;
  c.minute = minute;
  c.second = second;
  return *ios::Calendar::current().dateFrom(c) + fraction;
}

// The date in the current zone as "yyyy-MM-dd HH:mm:ss", with the offset when `withZone`.
inline std::string show(ios::Date date, bool withZone = false) {
  ios::DateFormatter f;
  f.setLocale(ios::Locale("en_US_POSIX"));
  f.setDateFormat(withZone ? "yyyy-MM-dd HH:mm:ss xx" : "yyyy-MM-dd HH:mm:ss");
  return f.string(date);
}

// The date in UTC as "yyyy-MM-dd HH:mm:ss.SSS".
inline std::string utc(ios::Date date) {
  ios::DateFormatter f;
  f.setLocale(ios::Locale("en_US_POSIX"));
  f.setTimeZone(ios::TimeZone::gmt());
  f.setDateFormat("yyyy-MM-dd HH:mm:ss.SSS");
  return f.string(date);
}

// Runs `check(thread, iteration)` on `threads` threads at once, `iterations` times on
// each, and answers how many checks failed.
template <class Check>
int failuresOnThreads(int threads, int iterations, Check check) {
  std::atomic<int> failures{0};
  std::vector<std::thread> running;
  for (int t = 0; t < threads; ++t) {
    running.emplace_back([&, t] {
      for (int i = 0; i < iterations; ++i) {
        if (!check(t, i)) ++failures;
      }
    });
  }
  for (auto& thread : running) thread.join();
  return failures.load();
}

}  // namespace date_testing
