// File: platform/foundation/NumberFormatter.h
//
// Formats numbers as text and reads numbers from text, in a locale's conventions.
//
//   ios::NumberFormatter f;                       // style none, current locale
//   f.number("3.75");                             // NSNumber 3.75
//   f.setNumberStyle(ios::NumberFormatter::Style::decimal);
//   f.setLocale(ios::Locale("en_US"));
//   f.string(ios::NSNumber(1234567.891));         // "1,234,567.891"
//
// Fidelity: ICU's decimal formats. Style none writes whole numbers without grouping
// (half-even rounding) and reads any plain decimal number; decimal adds the locale's
// grouping and up to three fraction digits; percent multiplies by 100 and adds the
// locale's percent sign. Reading must consume the whole text (no leading or trailing
// spaces). A formatter given no locale uses the current one, read when it is used.
// The other styles, the digit-count and rounding settings and the attributed
// forms are absent.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Locale.h"
#include "platform/foundation/NSNumber.h"

namespace ios {

namespace icu_internal {
class NumberFormatEngine;
}

class NumberFormatter {
 public:
  enum class Style {
    none = 0,
    decimal = 1,
    percent = 3,
  };

  NumberFormatter();
  ~NumberFormatter();
  NumberFormatter(const NumberFormatter&);
  NumberFormatter& operator=(const NumberFormatter&);

  [[nodiscard]] Style numberStyle() const { return numberStyle_; }
  void setNumberStyle(Style style) { numberStyle_ = style; }

  // The locale set on this formatter, or nothing for the current one.
  [[nodiscard]] const std::optional<Locale>& locale() const { return locale_; }
  void setLocale(std::optional<Locale> locale) { locale_ = std::move(locale); }

  // `number` as text in the formatter's style.
  [[nodiscard]] std::string string(const NSNumber& number) const;

  // The number `text` spells in the formatter's style, or nothing when the text is
  // not exactly one such number. Whole numbers that fit in 64 bits come back as
  // integers, others as doubles.
  [[nodiscard]] std::optional<NSNumber> number(std::string_view text) const;

 private:
  std::shared_ptr<const icu_internal::NumberFormatEngine> engine() const;

  Style numberStyle_ = Style::none;
  std::optional<Locale> locale_;
  mutable std::mutex engineMutex_;
  mutable std::shared_ptr<const icu_internal::NumberFormatEngine> engine_;
};

}  // namespace ios
