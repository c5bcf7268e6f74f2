// File: platform/foundation/internal/NumberFormatEngine.h
//
// ICU's decimal format for one number style and locale. Built by NumberFormatter on
// demand; immutable once built.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/NSNumber.h"
#include "platform/foundation/internal/ICU.h"

namespace ios::icu_internal {

class NumberFormatEngine {
 public:
  // `style` is the raw value of NumberFormatter::Style.
  NumberFormatEngine(int style, const std::string& locale);

  [[nodiscard]] bool matches(int style, const std::string& locale) const {
    return style == style_ && locale == locale_;
  }
  [[nodiscard]] std::string format(const NSNumber& number) const;
  [[nodiscard]] std::optional<NSNumber> parse(std::string_view text) const;

 private:
  int style_;
  std::string locale_;
  std::unique_ptr<icu::NumberFormat> format_;
};

}  // namespace ios::icu_internal
