#include "KPQuaslet/Helper/KPFunctions.h"

#include <cmath>

#include "KPQuaslet/Helper/RawRepresentable.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/Precondition.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/foundation/StandardOutput.h"
#include "platform/foundation/URL.h"

namespace kp {
namespace {

// This file's path as the TODO line names it.
constexpr std::string_view kThisFile = "KPQuaslet/Helper/KPFunctions.cpp";

// The last path component of `filename` read as a URL string, or "" when it is not one.
// Callers log from a few source files, so each thread remembers its last answer.
const std::string& fileNameOf(std::string_view filename) {
  struct LastFileName {
    bool valid = false;
    std::string path;
    std::string name;
  };
  thread_local LastFileName last;
  if (!last.valid || last.path != filename) {
    auto url = ios::URL::fromString(filename);
    last.name = url ? url->lastPathComponent() : std::string();
    last.path.assign(filename);
    last.valid = true;
  }
  return last.name;
}

// The current date as "yyyy-MM-dd HH:mm:ss:SSS" in the current locale (and its calendar)
// and time zone, cut to the millisecond as a date formatter cuts it. Everything up to the milliseconds changes once
// a second, so each thread keeps that part, made by a date formatter, for as long as
// the second, the locale and the zone stay the same, and adds the milliseconds itself.
// Where the locale writes numbers in other digits than 0-9, the whole text comes from
// the formatter on every call.
std::string currentLogDate() {
  struct LastSecond {
    bool valid = false;
    double second = 0;  // whole seconds since 1970
    std::string locale;
    std::string zone;
    std::string prefix;  // the text of the whole second without its "000"
    bool asciiDigits = false;
  };
  thread_local LastSecond last;

  const double milliseconds = ios::shownMillisecondsSince1970(ios::Date::now());
  const double second = std::floor(milliseconds / 1000.0);
  ios::Locale locale = ios::Locale::current();
  ios::TimeZone zone = ios::TimeZone::current();
  auto format = [&](double unixSeconds) {
    ios::DateFormatter formatter;
    formatter.setDateFormat("yyyy-MM-dd HH:mm:ss:SSS");
    formatter.setLocale(locale);
    formatter.setTimeZone(zone);
    return formatter.string(ios::Date::fromTimeIntervalSince1970(unixSeconds));
  };
  if (!last.valid || last.second != second || last.locale != locale.identifier() || last.zone != zone.identifier()) {
    std::string whole = format(second);
    last.asciiDigits = whole.size() >= 3 && whole.compare(whole.size() - 3, 3, "000") == 0;
    if (last.asciiDigits) whole.resize(whole.size() - 3);
    last.prefix = std::move(whole);
    last.second = second;
    last.locale = locale.identifier();
    last.zone = zone.identifier();
    last.valid = true;
  }
  if (!last.asciiDigits) return format(milliseconds / 1000.0);

  const auto millisecond = static_cast<int>(milliseconds - second * 1000.0);
  std::string text = last.prefix;
  text += static_cast<char>('0' + millisecond / 100);
  text += static_cast<char>('0' + millisecond / 10 % 10);
  text += static_cast<char>('0' + millisecond % 10);
  return text;
}

}  // namespace

void KP::printLine(const std::string& message, logLevel level, std::string_view filename, std::int64_t line,
                   std::string_view funcname) {
  const auto& process = ios::ProcessInfo::processInfo();
  std::string entry = "\n";
  entry += description(level);
  entry += " .";
  entry += ios_describe(level);
  entry += " \u23F1 ";
  entry += currentLogDate();
  entry += " \U0001F4F1 ";
  entry += process.processName();
  entry += " [";
  entry += std::to_string(process.processIdentifier());
  entry += ":?] \U0001F4C2 ";
  entry += fileNameOf(filename);
  entry += '(';
  entry += std::to_string(line);
  entry += ") \u2699\uFE0F ";
  entry += funcname;
  entry += " \u27A1\uFE0F\r\t";
  entry += message;
  ios::print(entry);
}

void KP::TODO(std::string_view message) const {
  std::string text = "\u26A0\uFE0F TODO code is still in use! \u26A0\uFE0F\n";
  text += message;
  print(text, logLevel::debug, kThisFile, 342, "TODO(_:)");
}

void KP::TODO_() const { ios::fatalError("TODO left in code"); }

std::string description(KP::logLevel level) {
  switch (level) {
    case KP::logLevel::info: return "\u2753";
    case KP::logLevel::debug: return "\u2733\uFE0F";
    case KP::logLevel::warn: return "\u26A0\uFE0F";
    case KP::logLevel::error: return "\U0001F6AB";
    case KP::logLevel::fatal: return "\U0001F198";
    case KP::logLevel::none: return "";
  }
  notACase("KP.logLevel", static_cast<std::int64_t>(level));
}

std::string ios_describe(KP::logLevel level) {
  switch (level) {
    case KP::logLevel::info: return "info";
    case KP::logLevel::debug: return "debug";
    case KP::logLevel::warn: return "warn";
    case KP::logLevel::error: return "error";
    case KP::logLevel::fatal: return "fatal";
    case KP::logLevel::none: return "none";
  }
  notACase("KP.logLevel", static_cast<std::int64_t>(level));
}

std::optional<KP::logLevel> fromRawValue(std::type_identity<KP::logLevel>, std::int64_t raw) {
  if (raw < 1 || raw > 6) return std::nullopt;
  return static_cast<KP::logLevel>(raw);
}

std::span<const KP::logLevel> allCases(std::type_identity<KP::logLevel>) {
  using L = KP::logLevel;
  static constexpr L cases[] = {L::info, L::debug, L::warn, L::error, L::fatal, L::none};
  return cases;
}

}  // namespace kp
