#include "platform/foundation/internal/NumberFormatEngine.h"

#include <cmath>
#include <mutex>

#include "platform/foundation/Precondition.h"

namespace ios::icu_internal {

NumberFormatEngine::NumberFormatEngine(int style, const std::string& locale) : style_(style), locale_(locale) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Locale icuLocale(locale.c_str());
  const UNumberFormatStyle icuStyle = style == 3 ? UNUM_PERCENT : UNUM_DECIMAL;
  format_.reset(icu::NumberFormat::createInstance(icuLocale, icuStyle, status));
  if (U_FAILURE(status) || !format_) ios::fatalError("ICU: cannot create a number format");
  if (style == 0) {
    format_->setGroupingUsed(false);
    format_->setMaximumFractionDigits(0);
  }
  format_->setLenient(false);
}

std::string NumberFormatEngine::format(const NSNumber& number) const {
  icu::UnicodeString out;
  std::lock_guard lock(formatterMutex());
  if (number.holdsInteger()) {
    format_->format(static_cast<int64_t>(number.intValue()), out);
  } else {
    format_->format(number.doubleValue(), out);
  }
  return toUTF8(out);
}

std::optional<NSNumber> NumberFormatEngine::parse(std::string_view text) const {
  if (text.empty()) return std::nullopt;
  const icu::UnicodeString input = toUnicode(text);
  icu::Formattable result;
  icu::ParsePosition position(0);
  {
    std::lock_guard lock(formatterMutex());
    format_->parse(input, result, position);
  }
  if (position.getErrorIndex() >= 0 || position.getIndex() != input.length()) return std::nullopt;
  UErrorCode status = U_ZERO_ERROR;
  switch (result.getType()) {
    case icu::Formattable::kLong:
    case icu::Formattable::kInt64: {
      const int64_t value = result.getInt64(status);
      if (U_SUCCESS(status)) return NSNumber(static_cast<std::int64_t>(value));
      break;
    }
    default:
      break;
  }
  status = U_ZERO_ERROR;
  const double value = result.getDouble(status);
  if (U_FAILURE(status)) return std::nullopt;
  // A whole number ICU kept as a double (it does so past 2^53) stays a double.
  return NSNumber(value);
}

}  // namespace ios::icu_internal
