// File: platform/foundation/Locale.h
//
// Locales by identifier, and the process's current locale.
//
//   ios::Locale fr("fr_FR");
//   ios::Locale::current();  // read afresh each call
//
// Fidelity: an identifier as ICU understands it ("en_US_POSIX", "zh_Hans_CN"). The
// current locale is the host's (LC_ALL, LANG) unless a test overrides it
// (ios::testing::ScopedLocale). The host's "C" / "POSIX" locale is "en_US_POSIX".
#pragma once

#include <optional>
#include <string>

namespace ios {

class Locale {
 public:
  explicit Locale(std::string identifier) : identifier_(std::move(identifier)) {}

  // The process's current locale, read afresh on each call.
  [[nodiscard]] static Locale current();

  [[nodiscard]] const std::string& identifier() const { return identifier_; }
  // The identifier, as the locale is printed.
  [[nodiscard]] const std::string& description() const { return identifier_; }

  bool operator==(const Locale&) const = default;

 private:
  std::string identifier_;
};

namespace testing {

// ScopedLocale
//
// While alive, Locale::current() is the locale named `identifier`.
class ScopedLocale {
 public:
  explicit ScopedLocale(std::string identifier);
  ~ScopedLocale();
  ScopedLocale(const ScopedLocale&) = delete;
  ScopedLocale& operator=(const ScopedLocale&) = delete;

 private:
  std::optional<std::string> previous_;
};

// Forgets any overridden current locale.
void resetCurrentLocale();

}  // namespace testing
}  // namespace ios
