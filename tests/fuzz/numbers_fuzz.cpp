// Numbers from text and numbers as text: toInt/toDouble/toFloat and isNumber on
// arbitrary text, NumberFormatter in several styles and locales, and the library's
// integer and floating-point conversions (kFormatted, romanNumeral, isPrime, clamp,
// int_, float_, the angle conversions) on arbitrary values.
// Invariants: the readers agree with one another and with the formatter; a formatter
// reads back the integers it writes; kFormatted() has its documented shape and
// quotient; romanNumeral() reads back to its number (with a bound on the length asked
// for) and answers nothing below 1; isPrime() agrees with trial division; the
// conversions answer the values the language gives inside their preconditions.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "KPQuaslet/text/String+KPConversion.h"
#include "KPQuaslet/text/String+KPValidation.h"
#include "KPQuaslet/values/CGFloat+KPExt.h"
#include "KPQuaslet/values/Double+KPExt.h"
#include "KPQuaslet/values/Float+KPExt.h"
#include "KPQuaslet/values/Int+KPExt.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/NumberFormatter.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

void checkReaders(const std::string& text) {
  const auto asDouble = kp::toDouble(text);
  const auto asInt = kp::toInt(text);
  const auto asFloat = kp::toFloat(text);
  KP_FUZZ_CHECK(kp::isNumber(text) == asDouble.has_value(), "isNumber() and toDouble() disagree");
  KP_FUZZ_CHECK(asFloat.has_value() == asDouble.has_value(), "toFloat() and toDouble() disagree");
  if (asInt) KP_FUZZ_CHECK(asDouble.has_value(), "toInt() reads what toDouble() does not");
  if (asInt && asDouble && std::fabs(*asDouble) < 9007199254740992.0) {
    KP_FUZZ_CHECK(static_cast<double>(*asInt) == std::trunc(*asDouble), "toInt() is not the number cut toward zero");
  }
  if (asDouble && std::isfinite(*asDouble) && std::fabs(*asDouble) < 9e18) {
    KP_FUZZ_CHECK(asInt.has_value(), "toInt() refuses a number that fits in 64 bits");
  }
}

void checkFormatter(FuzzedDataProvider& in, const std::string& text) {
  static const char* const kLocales[] = {"en_US", "de_DE", "fr_FR", "ar_EG", "hi_IN", "zh_CN", "en_US_POSIX"};
  ios::NumberFormatter formatter;
  const auto style = static_cast<ios::NumberFormatter::Style>(in.PickValueInArray({0, 1, 3}));
  formatter.setNumberStyle(style);
  formatter.setLocale(ios::Locale(in.PickValueInArray(kLocales)));

  const std::int64_t integer = in.ConsumeBool() ? in.ConsumeIntegral<std::int64_t>()
                                                : in.ConsumeIntegralInRange<std::int64_t>(-100000, 100000);
  const std::string written = formatter.string(ios::NSNumber(integer));
  KP_FUZZ_CHECK(kp_fuzz::isUTF8(written), "a formatted number is not UTF-8");
  // A percent reads back divided by 100, so only whole percents come back whole.
  if (style != ios::NumberFormatter::Style::percent && std::fabs(static_cast<double>(integer)) < 1e15) {
    const auto read = formatter.number(written);
    KP_FUZZ_CHECK(read && read->integerValue() == integer, "a formatter does not read back an integer it wrote");
  }
  const double real = kp_fuzz::doubleFromBits(in.ConsumeIntegral<std::uint64_t>());
  KP_FUZZ_CHECK(kp_fuzz::isUTF8(formatter.string(ios::NSNumber(real))), "a formatted double is not UTF-8");
  if (const auto read = formatter.number(text)) {
    const std::string again = formatter.string(*read);
    KP_FUZZ_CHECK(kp_fuzz::isUTF8(again), "a number read from text does not format as UTF-8");
  }
}

// The value of a Roman numeral written with the subtractive pairs.
std::int64_t romanValue(const std::string& text) {
  auto value = [](char c) -> std::int64_t {
    switch (c) {
      case 'I': return 1;
      case 'V': return 5;
      case 'X': return 10;
      case 'L': return 50;
      case 'C': return 100;
      case 'D': return 500;
      case 'M': return 1000;
      default: return -1'000'000'000'000;
    }
  };
  std::int64_t total = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::int64_t v = value(text[i]);
    total += i + 1 < text.size() && v < value(text[i + 1]) ? -v : v;
  }
  return total;
}

bool isPrimeByTrialDivision(std::int64_t n) {
  if (n < 2) return false;
  for (std::int64_t d = 2; d * d <= n; ++d) {
    if (n % d == 0) return false;
  }
  return true;
}

void checkIntegers(FuzzedDataProvider& in) {
  const std::int64_t n = in.ConsumeIntegral<std::int64_t>();
  const std::string k = kp::kFormatted(n);
  const std::uint64_t magnitude = n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
  std::string expected;
  if (magnitude < 1000) expected = "0k";
  else if (magnitude < 1'000'000) expected = (n < 0 ? "-" : "") + std::to_string(magnitude / 1000) + "k";
  else expected = (n < 0 ? "-" : "") + std::to_string(magnitude / 1'000'000) + "kk";
  KP_FUZZ_CHECK(k == expected, "kFormatted() is not the quotient with its unit");

  // Roman numerals of every size up to a few thousand letters.
  const std::int64_t roman = in.ConsumeBool() ? in.ConsumeIntegralInRange<std::int64_t>(-10, 4'000'000)
                                              : in.ConsumeIntegralInRange<std::int64_t>(-10, 4000);
  const auto numeral = kp::romanNumeral(roman);
  KP_FUZZ_CHECK(numeral.has_value() == (roman >= 1), "romanNumeral() answers below 1 or refuses a number");
  if (numeral) KP_FUZZ_CHECK(romanValue(*numeral) == roman, "a Roman numeral does not read back to its number");

  const std::int64_t small = in.ConsumeIntegralInRange<std::int64_t>(-100, 2'000'000);
  KP_FUZZ_CHECK(kp::isPrime(small) == isPrimeByTrialDivision(small), "isPrime() disagrees with trial division");
  // Trial division runs to the square root: a 64-bit prime takes billions of steps.
  (void)kp::isPrime(in.ConsumeIntegralInRange<std::int64_t>(std::numeric_limits<std::int64_t>::min(), 1'000'000'000'000));
  KP_FUZZ_CHECK(kp::isEven(n) == (n % 2 == 0), "isEven() is wrong");

  const std::int64_t lo = in.ConsumeIntegral<std::int64_t>();
  const std::int64_t hi = in.ConsumeIntegral<std::int64_t>();
  const std::int64_t clamped = kp::clamp(n, lo, hi);
  KP_FUZZ_CHECK(clamped == (n > hi ? hi : n < lo ? lo : n), "clamp() is not max-first clamping");
  KP_FUZZ_CHECK(kp::double_(n) == static_cast<double>(n), "double_() of an integer is wrong");
}

void checkReals(FuzzedDataProvider& in) {
  const double value = kp_fuzz::doubleFromBits(in.ConsumeIntegral<std::uint64_t>());
  if (std::isfinite(value) && value >= -9223372036854775808.0 && value < 9223372036854775808.0) {
    KP_FUZZ_CHECK(kp::int_(value) == static_cast<std::int64_t>(value), "int_() is not the value cut toward zero");
    const float single = static_cast<float>(value);
    if (std::isfinite(single) && single >= -9223372036854775808.0f && single < 9223372036854775808.0f) {
      KP_FUZZ_CHECK(kp::int_(single) == static_cast<std::int64_t>(single), "int_(float) is wrong");
    }
  }
  const float narrowed = kp::float_(value);
  if (std::isnan(value)) {
    KP_FUZZ_CHECK(std::isnan(narrowed), "float_() of NaN is not NaN");
  } else if (std::fabs(value) <= std::numeric_limits<float>::max()) {
    KP_FUZZ_CHECK(narrowed == static_cast<float>(value), "float_() is not the nearest float");
  } else {
    KP_FUZZ_CHECK(std::isinf(narrowed) || std::fabs(static_cast<double>(narrowed)) == std::numeric_limits<float>::max(),
                  "float_() of a value beyond the floats is neither the largest float nor infinite");
  }
  KP_FUZZ_CHECK(kp::double_(kp::float_(value)) == static_cast<double>(narrowed) || std::isnan(value),
                "widening a float changed it");
  const double radians = kp::degreesToRadians(value);
  KP_FUZZ_CHECK(std::isnan(value) == std::isnan(radians) || std::isinf(value), "degreesToRadians() made a NaN");
  (void)kp::radiansToDegrees(value);
  KP_FUZZ_CHECK(kp::isPositive(value) == (value > 0) && kp::isNegative(value) == (value < 0), "the sign tests are wrong");
  (void)kp::abs(value);
  (void)kp::ceil(value);
  (void)kp::floor(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  FuzzedDataProvider in(data, size);
  const std::string text = in.ConsumeRandomLengthString(48);
  checkReaders(text);
  checkFormatter(in, text);
  checkIntegers(in);
  checkReals(in);
  return 0;
}
