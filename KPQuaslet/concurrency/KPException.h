// File: KPQuaslet/concurrency/KPException.h
//
// A crash log for uncaught exceptions: once enabled, every NSException that no code
// catches is printed as a report and saved as one JSON file under
// "<home>/Documents/crash/.Exception" before the process ends; the application reads a
// saved log back on its next launch and removes them.
//
//   kp::KPException::enableException();
//   ...  // next launch:
//   if (auto log = kp::KPException::getCrashLog()) upload(*log);
//   kp::KPException::removeCrashLog();
//
// A log is named "<date>.log", the date formatted "YYYYMMddhhmmss" in the current time
// zone and locale, and holds the keys "name", "reason", "useInfo" (only when the
// exception has user info), "callStackSymbols" and "date". Two crashes with the same date
// text are both kept: the later one is saved as "<date>-1.log" (then "-2", ...).
#pragma once

#include <optional>
#include <string>

#include "platform/foundation/NSException.h"

namespace kp {

struct KPException {
  // Prints "exception path : " followed by the crash folder (creating it).
  KPException();

  // filePath()
  //
  // The crash folder. Creates it (with its parents) when it does not exist, printing the
  // error when that fails; the path is answered either way.
  [[nodiscard]] static std::string filePath();

  // enableException()
  //
  // Installs the crash-log handler for uncaught exceptions. When another handler was
  // installed, prints "外部检查到 有捕获 Excption 操作，拦截了" and replaces it (it is not
  // called any more).
  static void enableException();

  // getCrashLog()
  //
  // The text of the first entry the crash folder lists (its listing is sorted by name,
  // so the earliest date), or nothing when the folder is empty or cannot be listed, or
  // that entry cannot be read as UTF-8 text.
  [[nodiscard]] static std::optional<std::string> getCrashLog();

  // removeCrashLog()
  //
  // Removes every entry of the crash folder (the folder itself stays). False at the
  // first removal that fails (later entries stay); true otherwise, also for an empty
  // folder or one that cannot be listed.
  static bool removeCrashLog();
};

// exceptionHandler()
//
// Prints the report of `exception` and saves it as a log in the crash folder, printing
// "崩溃日志保存成功" or "崩溃日志保存失败". Never throws: user info that JSON cannot hold is
// saved as its description text, and text that is not UTF-8 is saved with U+FFFD in
// place of the bad bytes.
void exceptionHandler(const ios::NSException& exception) noexcept;

}  // namespace kp
