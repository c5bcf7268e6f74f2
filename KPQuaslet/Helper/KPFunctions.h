// File: KPQuaslet/Helper/KPFunctions.h
//
// `KP`, the library's namespace type, and its logger.
//
//   kp::KP::print("hello", kp::KP::logLevel::warn, __FILE__, __LINE__, __func__);
//
// prints an empty line, then
//
//   ⚠️ .warn ⏱ 2024-03-05 14:07:09:042 📱 MyApp [4711:?] 📂 Store.x(12) ⚙️ load() ➡️\r\thello
//
// Lines below KP::minimumLogLevel() (initially info) are dropped at the cost of one
// comparison. The logger writes through ios::print, in release builds too.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "KPQuaslet/Helper/RawRepresentable.h"
#include "platform/foundation/Describe.h"

namespace kp {

struct KP {
  // The log levels, in increasing order of severity; raw values 1 to 6.
  enum class logLevel : std::int64_t {
    info = 1,
    debug = 2,
    warn = 3,
    error = 4,
    fatal = 5,
    none = 6,
  };

  // print()
  //
  // Writes one log line for `object` when `level` is at or above minimumLogLevel():
  // "\n", the level's mark, " .", the level's name, " ⏱ " and the local time as
  // "yyyy-MM-dd HH:mm:ss:SSS", " 📱 " and the process name, " [" pid ":?] 📂 ", the
  // last path component of `filename` ("" when it is not a valid URL string), "(" line
  // ") ⚙️ ", `funcname`, " ➡️\r\t" and the object as string interpolation writes it;
  // then a line feed.
  template <class T>
  static void print(const T& object, logLevel level, std::string_view filename, std::int64_t line,
                    std::string_view funcname) {
    if (!isLogged(level)) return;
    printLine(ios::describe(object), level, filename, line, funcname);
  }

  // The lowest level that is printed (initially info). Safe to read and change from any
  // thread.
  [[nodiscard]] static logLevel minimumLogLevel() { return minimumLogLevel_.load(std::memory_order_relaxed); }
  static void setMinimumLogLevel(logLevel level) { minimumLogLevel_.store(level, std::memory_order_relaxed); }

  // log()
  //
  // Does nothing: kept for callers that log through an instance.
  template <class T>
  void log(const T& /*object*/, std::string_view /*file*/, std::string_view /*function*/,
           std::int64_t /*line*/) const {}

  // TODO()
  //
  // Logs "⚠️ TODO code is still in use! ⚠️\n" followed by `message` at level debug.
  void TODO(std::string_view message) const;

  // TODO_()
  //
  // Stops the process with the fatal error "TODO left in code".
  [[noreturn]] void TODO_() const;

 private:
  [[nodiscard]] static bool isLogged(logLevel level) {
    return static_cast<std::int64_t>(level) >= static_cast<std::int64_t>(minimumLogLevel());
  }
  static void printLine(const std::string& message, logLevel level, std::string_view filename, std::int64_t line,
                        std::string_view funcname);

  static constinit inline std::atomic<logLevel> minimumLogLevel_{logLevel::info};
};

// description()
//
// The level's mark: "❓", "✳️", "⚠️", "🚫", "🆘", or "" for none.
[[nodiscard]] std::string description(KP::logLevel level);

// The case name ("warn"), as the value is printed.
[[nodiscard]] std::string ios_describe(KP::logLevel level);

// The level whose raw value is `raw` (1 to 6), or nothing.
[[nodiscard]] std::optional<KP::logLevel> fromRawValue(std::type_identity<KP::logLevel>, std::int64_t raw);

}  // namespace kp
