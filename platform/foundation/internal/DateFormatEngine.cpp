#include "platform/foundation/internal/DateFormatEngine.h"

#include <memory>
#include <vector>

#include "platform/foundation/internal/ICU.h"

namespace ios::icu_internal {
namespace {

constexpr std::size_t kCapacity = 16;

struct Entry {
  std::string pattern;
  std::string locale;
  std::string timeZone;
  std::unique_ptr<icu::SimpleDateFormat> format;
};

std::unique_ptr<icu::SimpleDateFormat> build(const DateFormatKey& key) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Locale locale(std::string(key.locale).c_str());
  auto format = std::make_unique<icu::SimpleDateFormat>(toUnicode(key.pattern), locale, status);
  if (U_FAILURE(status)) {
    // A pattern ICU rejects formats as the empty pattern does: nothing.
    status = U_ZERO_ERROR;
    format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(), locale, status);
  }
  format->adoptTimeZone(icu::TimeZone::createTimeZone(toUnicode(key.timeZone)));
  format->setLenient(false);
  return format;
}

// This thread's formatter for `key`, built on first use; the most recent first.
icu::SimpleDateFormat& formatterFor(const DateFormatKey& key) {
  thread_local std::vector<Entry> entries;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    Entry& e = entries[i];
    if (e.pattern == key.pattern && e.locale == key.locale && e.timeZone == key.timeZone) {
      if (i != 0) std::swap(entries[i], entries[0]);
      return *entries[0].format;
    }
  }
  if (entries.size() >= kCapacity) entries.pop_back();
  entries.insert(entries.begin(), Entry{std::string(key.pattern), std::string(key.locale),
                                        std::string(key.timeZone), build(key)});
  return *entries[0].format;
}

std::optional<UDate> parseWhole(icu::SimpleDateFormat& format, const icu::UnicodeString& input) {
  icu::ParsePosition position(0);
  const UDate result = format.parse(input, position);
  if (position.getErrorIndex() >= 0 || position.getIndex() != input.length()) return std::nullopt;
  return result;
}

// Whether the pattern has a field for the time of day (hour, minute, second, fraction,
// day period); quoted literals do not count.
bool namesTimeOfDay(std::string_view pattern) {
  bool quoted = false;
  for (char c : pattern) {
    if (c == '\'') {
      quoted = !quoted;
    } else if (!quoted && std::string_view("HhKkjJCmsSAaBb").find(c) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

// ICU takes a text that ends part-way through the pattern's closing literal as the
// whole pattern ("2024 wee" for "yyyy 'week'", "" for "'week'", "20199" for "y9" with the
// field taking the 9), and an empty text for some patterns of fields only. Text and
// pattern are read each with an end mark appended, a noncharacter no text holds where a
// date is written: running out of text early then meets the mark, a mismatch.
constexpr std::string_view kEndMark = "\xEF\xBF\xBF";  // U+FFFF

}  // namespace

std::string formatDate(const DateFormatKey& key, double unixMilliseconds) {
  icu::UnicodeString out;
  formatterFor(key).format(unixMilliseconds, out);
  return toUTF8(out);
}

std::optional<double> parseDate(const DateFormatKey& key, std::string_view text) {
  // An empty text holds no field and no literal (ICU would still skip an era it cannot
  // find, and read "" as 1970 for "G").
  if (text.empty() && !key.pattern.empty()) return std::nullopt;
  std::string markedPattern(key.pattern);
  markedPattern += kEndMark;
  std::string markedText(text);
  markedText += kEndMark;
  const icu::UnicodeString input = toUnicode(markedText);
  DateFormatKey marked = key;
  marked.pattern = markedPattern;
  if (auto result = parseWhole(formatterFor(marked), input)) return result;

  // A strict ICU parse also rejects a date whose midnight the zone skips, although the
  // day exists. For patterns without a time of day, read the fields where no time is
  // skipped (GMT), then place them in the zone leniently: the day's first instant. Text
  // that fails there too is not a date. A text naming a skipped time stays unparsed.
  if (namesTimeOfDay(key.pattern)) return std::nullopt;
  DateFormatKey gmtKey = marked;
  gmtKey.timeZone = "GMT";
  auto inGMT = parseWhole(formatterFor(gmtKey), input);
  if (!inGMT) return std::nullopt;
  std::unique_ptr<icu::Calendar> fields(formatterFor(gmtKey).getCalendar()->clone());
  std::unique_ptr<icu::Calendar> placed(formatterFor(marked).getCalendar()->clone());
  UErrorCode status = U_ZERO_ERROR;
  fields->setTime(*inGMT, status);
  placed->setLenient(true);
  placed->setSkippedWallTimeOption(UCAL_WALLTIME_LAST);
  placed->clear();
  for (UCalendarDateFields f : {UCAL_ERA, UCAL_YEAR, UCAL_MONTH, UCAL_DATE, UCAL_HOUR_OF_DAY, UCAL_MINUTE,
                                UCAL_SECOND, UCAL_MILLISECOND}) {
    placed->set(f, fields->get(f, status));
  }
  const UDate result = placed->getTime(status);
  if (U_FAILURE(status)) return std::nullopt;
  return result;
}

}  // namespace ios::icu_internal
