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
// comparison. The logger writes through ios::print, in release builds too. A printed
// line costs about what strftime, fprintf and fflush cost: each thread keeps the date's
// text up to the second (made again when the second, the current locale or the current
// time zone changes) and the file name of the last path it was given.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "KPQuaslet/Helper/RawRepresentable.h"
#include "platform/coregraphics/CGGeometry.h"
#include "platform/foundation/Describe.h"

namespace ios {
class DispatchQueue;
class Timer;
class UIViewController;
enum class UIInterfaceOrientation : std::int64_t;
}  // namespace ios

namespace kp {

// A lazy sequence of the cases of an enum, in declaration order: next() answers the
// next case, and nothing once the last one was answered.
template <CaseIterable T>
class EnumIterator {
 public:
  EnumIterator() = default;

  [[nodiscard]] std::optional<T> next() {
    if (index_ == cases_.size()) return std::nullopt;
    return cases_[index_++];
  }

 private:
  std::span<const T> cases_ = allCases<T>();
  std::size_t index_ = 0;
};

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

  // ---- Application information -------------------------------------------------

  // The Info dictionary's "CFBundleDisplayName", else its "CFBundleName", if text.
  [[nodiscard]] static std::optional<std::string> appDisplayName();
  // "CFBundleShortVersionString", if text.
  [[nodiscard]] static std::optional<std::string> appVersion();
  // "CFBundleVersion", if text.
  [[nodiscard]] static std::optional<std::string> appBuild();
  // The main bundle's identifier.
  [[nodiscard]] static std::optional<std::string> appBundleID();
  // "v1.2(45)", or "v1.2" when version and build are equal; nothing when either is missing.
  [[nodiscard]] static std::optional<std::string> appVersionAndBuild();
  // The hardware model, as "hw.machine" reports it.
  [[nodiscard]] static std::string deviceVersion();
  static constexpr bool isDebug = false;
  static constexpr bool isRelease = true;
  static constexpr bool isSimulator = false;
  static constexpr bool isDevice = true;

  // ---- Screen and interface -----------------------------------------------------

  // The controller on top of the key window's root controller; nothing (after a debug
  // log line) when there is no key window or root controller.
  [[nodiscard]] static std::shared_ptr<ios::UIViewController> topMostVC();

  [[nodiscard]] static ios::UIInterfaceOrientation screenOrientation();
  // The main screen's width for the status bar's orientation: the bounds width in
  // portrait and upside down, the bounds height otherwise (unknown included).
  [[nodiscard]] static ios::CGFloat screenWidth();
  // The other side: the bounds height in portrait, the width otherwise.
  [[nodiscard]] static ios::CGFloat screenHeight();
  // The height of the status bar's frame.
  [[nodiscard]] static ios::CGFloat screenStatusBarHeight();
  // screenHeight() minus the status bar's height.
  [[nodiscard]] static ios::CGFloat screenHeightWithoutStatusBar();
  // The current locale's country code, if any.
  [[nodiscard]] static std::optional<std::string> currentRegion();

  // ---- Operations ---------------------------------------------------------------

  // Opens the store link `urlString` (from iOS 10 on with open(_:options:completionHandler:),
  // below with openURL(_:)); does nothing when it is not a valid URL.
  static void gotoAppStore(const std::string& urlString);

  // Calls `action` on the main queue each time the user takes a screenshot, for the life
  // of the process (the registration cannot be removed).
  static void detectScreenShot(std::function<void()> action);

  // iterateEnum()
  //
  // The cases of a simple enum, in declaration order, whatever its raw values: every
  // enum of the library lists its cases, and a caller's enum joins by declaring
  // allCases() next to it (see RawRepresentable.h). An enum that lists no cases does not
  // compile here; it never answers an empty sequence.
  template <CaseIterable T>
  [[nodiscard]] static EnumIterator<T> iterateEnum() {
    return EnumIterator<T>();
  }

  // Runs `closure` on the main queue after `seconds` (truncated to whole nanoseconds;
  // the value must be finite and fit in 64 bits of nanoseconds).
  static void dispatchDelay(double seconds, std::function<void()> closure);
  static void runThisAfterDelay(double seconds, std::function<void()> after);
  // Runs `after` on `queue` after `seconds`.
  static void runThisAfterDelay(double seconds, const ios::DispatchQueue& queue, std::function<void()> after);
  // Runs `block` on the main queue later, also when called there.
  static void runThisInMainThread(std::function<void()> block);
  // Runs `block` on the global queue of default quality of service.
  static void runThisInBackground(std::function<void()> block);
  // A timer on the calling thread's run loop, in its common modes: first at now +
  // `startAfterSeconds`, then every `seconds`. Invalidate it to stop it.
  static std::shared_ptr<ios::Timer> runThisEvery(double seconds, double startAfterSeconds,
                                                  std::function<void(ios::Timer*)> handler);

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
// The six levels, info to none.
[[nodiscard]] std::span<const KP::logLevel> allCases(std::type_identity<KP::logLevel>);

}  // namespace kp
