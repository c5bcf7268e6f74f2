// ISO 8601 text: the library's writer and readers (iso8601String,
// dateWithISO08601StringIfValid) and the platform's ISO8601DateFormatter with any set
// of options, on arbitrary dates and texts.
// Invariants: the library reads back what it writes, to the second (its reader takes no
// fraction); whatever a reader accepts is a finite date that it reads again from its own
// writing; the
// formatter's writing reads back to itself under every set of options, and to the
// second (or the millisecond) for the full internet date-time.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "KPQuaslet/text/Date+KPExtText.h"
#include "platform/foundation/ISO8601DateFormatter.h"
#include "platform/foundation/TimeZone.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

// Seconds since 2001 of 2 January 1583 and of 1 January 9999.
constexpr double kEarliest = -13190774400.0;
constexpr double kLatest = 252392457600.0;

double pickDate(FuzzedDataProvider& in) {
  if (in.ConsumeBool()) return kp_fuzz::doubleFromBits(in.ConsumeIntegral<std::uint64_t>());
  return in.ConsumeFloatingPointInRange<double>(kEarliest, kLatest);
}

bool inRange(double seconds) { return seconds >= kEarliest && seconds < kLatest; }

ios::Date dateAt(double seconds) { return ios::Date::fromTimeIntervalSinceReferenceDate(seconds); }

// The library's writer and reader. The writer gives milliseconds; the reader takes whole
// seconds only, so the written text with its fraction removed is what reads back.
std::string withoutFraction(const std::string& written) { return written.substr(0, 19) + "Z"; }

void checkLibrary(double seconds, const std::string& text) {
  const std::string written = kp::iso8601String(dateAt(seconds));
  KP_FUZZ_CHECK(kp_fuzz::isUTF8(written), "iso8601String() is not UTF-8");
  if (inRange(seconds)) {
    KP_FUZZ_CHECK(written.size() == 24 && written.back() == 'Z', "iso8601String() is not yyyy-MM-ddTHH:mm:ss.SSSZ");
    KP_FUZZ_CHECK(!kp::dateWithISO08601StringIfValid(written), "the library reads fractional seconds");
    const auto read = kp::dateWithISO08601StringIfValid(withoutFraction(written));
    KP_FUZZ_CHECK(read.has_value(), "the library does not read its own ISO 8601 text to the second");
    const double back = read->timeIntervalSinceReferenceDate();
    KP_FUZZ_CHECK(back == std::floor(back) && back <= seconds + 1e-3 && back > seconds - 1 - 1e-3,
                  "the library reads its text another second");
    KP_FUZZ_CHECK(kp::iso8601String(*read) == withoutFraction(written).substr(0, 19) + ".000Z",
                  "the library's ISO 8601 text does not read back to itself");
  }
  if (const auto read = kp::dateWithISO08601StringIfValid(text)) {
    const double back = read->timeIntervalSinceReferenceDate();
    KP_FUZZ_CHECK(std::isfinite(back), "an ISO 8601 text read as a date that is not finite");
    if (inRange(back)) {
      KP_FUZZ_CHECK(back == std::floor(back), "an ISO 8601 text read with a fraction of a second");
      const auto again = kp::dateWithISO08601StringIfValid(withoutFraction(kp::iso8601String(*read)));
      KP_FUZZ_CHECK(again && again->timeIntervalSinceReferenceDate() == back,
                    "a date read from ISO 8601 text does not survive its own writing");
    }
  }
}

// The platform formatter with the options and zone the input picks.
void checkFormatter(FuzzedDataProvider& in, double seconds, const std::string& text) {
  ios::ISO8601DateFormatter formatter;
  const bool internet = in.ConsumeBool();
  auto options = internet ? ios::ISO8601DateFormatter::withInternetDateTime : in.ConsumeIntegral<std::uint32_t>();
  const bool fractional = in.ConsumeBool();
  if (fractional) options |= ios::ISO8601DateFormatter::withFractionalSeconds;
  formatter.setFormatOptions(options);
  if (in.ConsumeBool()) {
    const auto zone = ios::TimeZone::fromSecondsFromGMT(60 * in.ConsumeIntegralInRange<std::int64_t>(-18 * 60, 18 * 60));
    if (zone) formatter.setTimeZone(*zone);
  }

  const std::string written = formatter.string(dateAt(seconds));
  KP_FUZZ_CHECK(kp_fuzz::isUTF8(written), "ISO8601DateFormatter::string() is not UTF-8");
  if (inRange(seconds)) {
    if (const auto read = formatter.date(written)) {
      KP_FUZZ_CHECK(formatter.string(*read) == written, "the formatter's text reads back to another text");
    } else {
      KP_FUZZ_CHECK(!internet, "the formatter does not read its own internet date-time");
    }
    if (internet) {
      const double back = formatter.date(written)->timeIntervalSinceReferenceDate();
      const double unit = fractional ? 1e-3 : 1.0;
      // A date a few units in its last place below a millisecond shows as that millisecond.
      const double slack = 1e-6 + 8 * (std::nextafter(std::fabs(seconds), HUGE_VAL) - std::fabs(seconds));
      KP_FUZZ_CHECK(back <= seconds + slack && back > seconds - unit - slack, "the formatter reads another instant");
    }
  }
  if (const auto read = formatter.date(text)) {
    const double back = read->timeIntervalSinceReferenceDate();
    KP_FUZZ_CHECK(std::isfinite(back), "the formatter read a date that is not finite");
    if (inRange(back)) {
      const std::string again = formatter.string(*read);
      const auto reread = formatter.date(again);
      KP_FUZZ_CHECK(reread && formatter.string(*reread) == again, "a date read by the formatter does not read back");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  FuzzedDataProvider in(data, size);
  const std::string text = in.ConsumeRandomLengthString(64);
  const double seconds = pickDate(in);
  checkLibrary(seconds, text);
  checkFormatter(in, seconds, text);
  return 0;
}
