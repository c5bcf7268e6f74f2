#include "KPQuaslet/Helper/KPFunctions.h"

#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/Precondition.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/foundation/StandardOutput.h"
#include "platform/foundation/URL.h"

namespace kp {
namespace {

// This file's path as the TODO line names it.
constexpr std::string_view kThisFile = "KPQuaslet/Helper/KPFunctions.cpp";

}  // namespace

void KP::printLine(const std::string& message, logLevel level, std::string_view filename, std::int64_t line,
                   std::string_view funcname) {
  ios::DateFormatter formatter;
  formatter.setDateFormat("yyyy-MM-dd HH:mm:ss:SSS");

  std::string file;
  if (auto url = ios::URL::fromString(filename)) file = url->lastPathComponent();

  const auto& process = ios::ProcessInfo::processInfo();
  std::string entry = "\n";
  entry += description(level);
  entry += " .";
  entry += ios_describe(level);
  entry += " \u23F1 ";
  entry += formatter.string(ios::Date::now());
  entry += " \U0001F4F1 ";
  entry += process.processName();
  entry += " [";
  entry += std::to_string(process.processIdentifier());
  entry += ":?] \U0001F4C2 ";
  entry += file;
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
  return "";
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
  return "";
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
