#include "platform/foundation/NumberFormatter.h"

#include "platform/foundation/internal/NumberFormatEngine.h"

namespace ios {

NumberFormatter::NumberFormatter() = default;
NumberFormatter::~NumberFormatter() = default;
NumberFormatter::NumberFormatter(const NumberFormatter& other)
    : numberStyle_(other.numberStyle_), locale_(other.locale_) {}

NumberFormatter& NumberFormatter::operator=(const NumberFormatter& other) {
  if (this != &other) {
    numberStyle_ = other.numberStyle_;
    locale_ = other.locale_;
  }
  return *this;
}

std::shared_ptr<const icu_internal::NumberFormatEngine> NumberFormatter::engine() const {
  // The current locale is read on every use; the ICU format is rebuilt only when a
  // setting changed since it was built.
  const std::string locale = (locale_ ? *locale_ : Locale::current()).identifier();
  const int style = static_cast<int>(numberStyle_);
  std::lock_guard lock(engineMutex_);
  if (!engine_ || !engine_->matches(style, locale)) {
    engine_ = std::make_shared<const icu_internal::NumberFormatEngine>(style, locale);
  }
  return engine_;
}

std::string NumberFormatter::string(const NSNumber& number) const { return engine()->format(number); }

std::optional<NSNumber> NumberFormatter::number(std::string_view text) const { return engine()->parse(text); }

}  // namespace ios
