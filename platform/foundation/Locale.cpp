#include "platform/foundation/Locale.h"

#include <mutex>
#include <utility>

#include "platform/foundation/internal/ICU.h"

namespace ios {
namespace {

std::mutex& localeMutex() {
  static std::mutex m;
  return m;
}

std::optional<std::string>& overriddenLocale() {
  static std::optional<std::string> locale;
  return locale;
}

std::string hostLocale() {
  const icu::Locale& host = icu::Locale::getDefault();
  std::string name = host.getName();
  if (name.empty() || name == "c" || name == "C" || name == "en_US_POSIX" || name == "POSIX") {
    return "en_US_POSIX";
  }
  return name;
}

}  // namespace

Locale Locale::current() {
  {
    std::lock_guard lock(localeMutex());
    if (overriddenLocale()) return Locale(*overriddenLocale());
  }
  return Locale(hostLocale());
}

namespace testing {

ScopedLocale::ScopedLocale(std::string identifier) {
  std::lock_guard lock(localeMutex());
  previous_ = std::exchange(overriddenLocale(), std::move(identifier));
}

ScopedLocale::~ScopedLocale() {
  std::lock_guard lock(localeMutex());
  overriddenLocale() = std::move(previous_);
}

void resetCurrentLocale() {
  std::lock_guard lock(localeMutex());
  overriddenLocale().reset();
}

}  // namespace testing
}  // namespace ios
