#include "platform/foundation/Clock.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>

#include "platform/foundation/Precondition.h"

namespace ios {
namespace {

// Seconds between the Unix epoch and 2001-01-01 00:00:00 UTC.
constexpr double kUnixToReferenceDate = 978307200.0;

struct ManualState {
  std::mutex mutex;
  bool installed = false;
  double absolute = 0;
  std::uint64_t uptime = 0;
};

ManualState& manual() {
  static ManualState state;
  return state;
}

}  // namespace

namespace clock {

double absoluteTime() {
  auto& m = manual();
  {
    std::lock_guard lock(m.mutex);
    if (m.installed) return m.absolute;
  }
  auto now = std::chrono::system_clock::now().time_since_epoch();
  return std::chrono::duration<double>(now).count() - kUnixToReferenceDate;
}

std::uint64_t uptimeNanoseconds() {
  auto& m = manual();
  {
    std::lock_guard lock(m.mutex);
    if (m.installed) return m.uptime;
  }
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

bool isManual() {
  auto& m = manual();
  std::lock_guard lock(m.mutex);
  return m.installed;
}

}  // namespace clock

namespace testing {

ManualClock::ManualClock(double absoluteTime, std::uint64_t uptimeNanoseconds) {
  auto& m = manual();
  std::lock_guard lock(m.mutex);
  KP_PRECONDITION(!m.installed, "only one manual clock may be installed at a time");
  m.installed = true;
  m.absolute = absoluteTime;
  m.uptime = uptimeNanoseconds;
}

ManualClock::~ManualClock() {
  auto& m = manual();
  std::lock_guard lock(m.mutex);
  m.installed = false;
}

void ManualClock::advance(double seconds) {
  KP_PRECONDITION(std::isfinite(seconds) && seconds >= 0, "a clock only moves forward");
  auto& m = manual();
  std::lock_guard lock(m.mutex);
  m.absolute += seconds;
  m.uptime += static_cast<std::uint64_t>(std::llround(seconds * 1e9));
}

void ManualClock::advanceNanoseconds(std::uint64_t nanoseconds) {
  auto& m = manual();
  std::lock_guard lock(m.mutex);
  m.absolute += static_cast<double>(nanoseconds) / 1e9;
  m.uptime += nanoseconds;
}

void ManualClock::setAbsoluteTime(double seconds) {
  auto& m = manual();
  std::lock_guard lock(m.mutex);
  m.absolute = seconds;
}

}  // namespace testing
}  // namespace ios
