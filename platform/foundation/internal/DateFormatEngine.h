// File: platform/foundation/internal/DateFormatEngine.h
//
// ICU's SimpleDateFormat for one pattern, locale and time zone. Built by
// DateFormatter on demand; immutable once built.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/internal/ICU.h"

namespace ios::icu_internal {

class DateFormatEngine {
 public:
  DateFormatEngine(const std::string& pattern, const std::string& locale, const std::string& timeZone);

  [[nodiscard]] bool matches(const std::string& pattern, const std::string& locale,
                             const std::string& timeZone) const {
    return pattern == pattern_ && locale == locale_ && timeZone == timeZone_;
  }
  // Milliseconds since 1970 as text.
  [[nodiscard]] std::string format(double unixMilliseconds) const;
  // Text as milliseconds since 1970, or nothing.
  [[nodiscard]] std::optional<double> parse(std::string_view text) const;

 private:
  std::string pattern_;
  std::string locale_;
  std::string timeZone_;
  std::unique_ptr<icu::SimpleDateFormat> format_;
};

}  // namespace ios::icu_internal
