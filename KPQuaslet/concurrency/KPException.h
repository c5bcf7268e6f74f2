// File: KPQuaslet/concurrency/KPException.h
//
// A crash log for uncaught exceptions: once enabled, every NSException that no code
// catches is printed as a report and saved as one JSON file under
// NSHomeDirectory() + "/Documents/crash/.Exception" (the application's own container,
// see platform/foundation/FileManager.h) before the process ends; the application
// reads a saved log back on its next launch and removes them.
//
//   kp::KPException::enableException();
//   ...  // next launch:
//   if (auto log = kp::KPException::getCrashLog()) upload(*log);
//   kp::KPException::removeCrashLog();
//
// A log is named "<date>.log", the date formatted "YYYYMMddhhmmss" in the current time
// zone and locale, and holds the keys "name", "reason", "useInfo" (only when the
// exception has user info), "callStackSymbols" and "date". Two crashes with the same date
// text are both kept: the later one is saved as "<date>-1.log" (then "-2", ...). Logs
// are owner-only (0600). A log is first written to a temporary file outside the crash
// folder ("<container>/tmp/crash-<pid>-<number>.writing") and then given its name by a
// rename that never replaces an existing log, so that a log appears complete or not at
// all and the folder holds nothing but logs; no hard links are needed (on a file system
// whose rename cannot refuse to replace, the name is claimed by an exclusive create
// first). The temporary file of a save whose process has ended (killed midway) is
// removed by the next save or removeCrashLog(), and so are the ".writing-<number>" files
// that earlier versions' killed saves left inside the crash folder.
//
// Earlier versions kept the logs in the user's own "~/Documents/crash/.Exception". Such
// logs name no application, so the first application that uses the crash folder (in a
// process) takes them: each is saved anew in its folder and then removed from the old
// one, so none is lost or imported twice.
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
  // The text of the first finished log of the crash folder's listing, or nothing when
  // there is none, the folder cannot be listed, or that entry cannot be read as UTF-8
  // text (a folder, for one). The listing is sorted by name (byte order) and includes
  // what sub-folders hold; earlier versions' leftovers are removed first, and empty
  // files (a name claimed by a save in progress) are skipped. Name order is not crash order: the
  // hour is on the 12-hour clock (03 pm sorts before 11 am), and a later log of the
  // same second, "<date>-1.log", sorts before "<date>.log".
  [[nodiscard]] static std::optional<std::string> getCrashLog();

  // removeCrashLog()
  //
  // Removes every entry of the crash folder (the folder itself stays), earlier
  // versions' leftovers included, and the temporary files of saves that were killed.
  // False at the first removal that fails (later entries stay); true otherwise, also for
  // an empty folder or one that cannot be listed.
  static bool removeCrashLog();
};

// exceptionHandler()
//
// Prints the report of `exception` and saves it as a log in the crash folder, printing
// "崩溃日志保存成功" or "崩溃日志保存失败". Never throws: user info that JSON cannot hold is
// saved as its description text, and text that is not UTF-8 is saved with U+FFFD in
// place of the bad bytes. In that description a date the log cannot write as a calendar
// date (one more than 10,000 years from 2001, or not finite) is written as its number of
// seconds since 2001-01-01 00:00:00 UTC ("1e+300", "inf", "nan").
void exceptionHandler(const ios::NSException& exception) noexcept;

}  // namespace kp
