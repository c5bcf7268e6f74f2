#include "KPQuaslet/concurrency/KPException.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>
#include <string_view>
#include <vector>

#include "platform/foundation/Data.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/JSONSerialization.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/StandardOutput.h"

namespace kp {
namespace {

constexpr const char* kReportTitle = "========异常错误报告========\n";
constexpr const char* kSaved = "崩溃日志保存成功";
constexpr const char* kNotSaved = "崩溃日志保存失败";
constexpr const char* kHandlerReplaced = "外部检查到 有捕获 Excption 操作，拦截了";
// What a missing reason reads as (the platform's text for a nil object in a format).
constexpr const char* kNoReason = "(null)";

// `text` with every byte that does not start a well-formed UTF-8 sequence replaced by
// U+FFFD.
std::string wellFormed(std::string_view text) {
  if (ios::isValidUTF8(text)) return std::string(text);
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    bool matched = false;
    for (std::size_t length = 1; length <= 4 && i + length <= text.size(); ++length) {
      if (ios::isValidUTF8(text.substr(i, length))) {
        out.append(text.substr(i, length));
        i += length;
        matched = true;
        break;
      }
    }
    if (!matched) {
      out += "\xEF\xBF\xBD";
      ++i;
    }
  }
  return out;
}

// An array of text as the platform describes it in a format: one quoted element per
// line, indented, in parentheses.
std::string describeArray(const std::vector<std::string>& elements) {
  std::string out = "(\n";
  for (std::size_t i = 0; i < elements.size(); ++i) {
    out += "    \"";
    for (char c : elements[i]) {
      if (c == '"' || c == '\\') out += '\\';
      out += c;
    }
    out += i + 1 < elements.size() ? "\",\n" : "\"\n";
  }
  return out + ")";
}

// How far from 2001 a date may lie for the log to write it as a calendar date: 10,000
// years of 365.25 days, in seconds.
constexpr double kWritableDateDistance = 10000 * 365.25 * 86400;

// `value` with every date the log cannot write as a calendar date replaced by its
// seconds since 2001-01-01 00:00:00 UTC, so that describing it is always defined.
ios::PropertyList withWritableDates(const ios::PropertyList& value) {
  switch (value.kind()) {
    case ios::PropertyList::Kind::date: {
      const double seconds = value.dateValue()->timeIntervalSinceReferenceDate();
      if (std::fabs(seconds) <= kWritableDateDistance) return value;  // false for NaN
      return ios::PropertyList(seconds);
    }
    case ios::PropertyList::Kind::array: {
      ios::PropertyList::Array elements;
      for (const auto& element : *value.arrayValue()) elements.push_back(withWritableDates(element));
      return ios::PropertyList(std::move(elements));
    }
    case ios::PropertyList::Kind::dictionary: {
      ios::PropertyList::Dictionary entries;
      for (const auto& [key, element] : *value.dictionaryValue()) entries.emplace(key, withWritableDates(element));
      return ios::PropertyList(std::move(entries));
    }
    default:
      return value;
  }
}

std::string crashDateText() {
  ios::DateFormatter formatter;
  formatter.setDateFormat("YYYYMMddhhmmss");
  return formatter.string(ios::Date::now());
}

// The temporary files that saves of earlier versions wrote inside the crash folder.
// Nothing writes them there any more, so any one found is a leftover of a save that was
// killed.
constexpr std::string_view kEarlierTemporaryPrefix = ".writing-";

// The temporary files of saves in progress: "<container>/tmp/crash-<pid>-<n>.writing",
// outside the crash folder, where readers of the logs never meet them.
constexpr std::string_view kTemporaryPrefix = "crash-";
constexpr std::string_view kTemporarySuffix = ".writing";

// Whether the folder entry `entry` (a path relative to the crash folder) is the
// temporary file an earlier version's save left behind.
bool isEarlierTemporaryFile(std::string_view entry) {
  const std::size_t slash = entry.rfind('/');
  return entry.substr(slash == std::string_view::npos ? 0 : slash + 1).starts_with(kEarlierTemporaryPrefix);
}

std::string temporaryFolder() { return ios::NSHomeDirectory() + "/tmp"; }

// Removes the temporary files of saves whose process has ended (killed midway).
void removeStaleTemporaryFiles() {
  const std::string folder = temporaryFolder();
  auto names = ios::FileManager::defaultManager().contentsOfDirectory(folder);
  if (!names) return;
  for (const std::string& name : *names) {
    if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) continue;
    const long pid = std::strtol(name.c_str() + kTemporaryPrefix.size(), nullptr, 10);
    if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) ::unlink((folder + "/" + name).c_str());
  }
}

// Removes what earlier versions' killed saves left in the crash folder.
void removeEarlierTemporaryFiles(const std::string& folder, const std::vector<std::string>& entries) {
  for (const std::string& entry : entries) {
    if (isEarlierTemporaryFile(entry)) ::unlink((folder + "/" + entry).c_str());
  }
}

// Gives the finished file `temporary` the name `target` unless that name is taken:
// true when it did, false with errno EEXIST when the name is taken, false with another
// errno on failure. The file appears under its name complete or not at all.
bool renameWithoutReplacing(const std::string& temporary, const std::string& target) {
  if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
  // The file system cannot refuse to replace in a rename: the name is claimed first by an
  // exclusive create (which fails for a name that is taken), then the finished file
  // replaces that empty claim.
  const int claim = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (claim < 0) return false;
  ::close(claim);
  if (::rename(temporary.c_str(), target.c_str()) == 0) return true;
  const int error = errno;
  ::unlink(target.c_str());
  errno = error;
  return false;
}

// Writes `bytes` to "<folder>/<stem>.log", or "<stem>-1.log", "<stem>-2.log", ... when
// that name is taken: the file (owner-only) appears complete or not at all, and an
// earlier log is never replaced. Needs no hard links.
bool writeNewLog(const std::string& folder, const std::string& stem, std::string_view bytes) {
  static thread_local std::mt19937_64 names{std::random_device{}()};
  removeStaleTemporaryFiles();
  const std::string temporaryFolderPath = temporaryFolder();
  (void)ios::FileManager::defaultManager().createDirectory(temporaryFolderPath);
  const std::string temporary = temporaryFolderPath + "/" + std::string(kTemporaryPrefix) +
                                std::to_string(::getpid()) + "-" + std::to_string(names()) +
                                std::string(kTemporarySuffix);
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  std::size_t written = 0;
  bool ok = true;
  while (ok && written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) written += static_cast<std::size_t>(n);
  }
  ok = ::close(fd) == 0 && ok;
  for (int n = 0; ok && n < 10000; ++n) {
    const std::string target = folder + "/" + stem + (n == 0 ? "" : "-" + std::to_string(n)) + ".log";
    if (renameWithoutReplacing(temporary, target)) return true;
    if (errno != EEXIST) break;
  }
  ::unlink(temporary.c_str());
  return false;
}

// The whole file as text, or nothing when it cannot be read.
std::optional<std::string> readFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string text;
  char buffer[16384];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ::close(fd);
      if (n < 0) return std::nullopt;
      return text;
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
}

// Moves the logs an earlier version saved in the user's own "~/Documents/crash/.Exception"
// into `folder`, the application's, once per process: they name no application, so the
// first one that looks at its crash logs takes them. Each is saved anew (under its own
// name, or "-1", "-2", ... when that is taken) before the old file is removed.
void importEarlierLogs(const std::string& folder) {
  static std::mutex mutex;
  static std::vector<std::string> done;
  std::lock_guard lock(mutex);
  if (std::find(done.begin(), done.end(), folder) != done.end()) return;
  done.push_back(folder);
  const std::string home = ios::userHomeDirectory();
  if (home.empty()) return;
  const std::string earlier = home + "/Documents/crash/.Exception";
  if (earlier == folder) return;
  auto names = ios::FileManager::defaultManager().contentsOfDirectory(earlier);
  if (!names) return;
  for (const std::string& name : *names) {
    if (!name.ends_with(".log")) continue;
    const std::string path = earlier + "/" + name;
    const auto text = readFile(path);
    if (text && writeNewLog(folder, name.substr(0, name.size() - 4), *text)) ::unlink(path.c_str());
  }
}

void uncaughtExceptionHandler(const ios::NSException& exception) { exceptionHandler(exception); }

}  // namespace

KPException::KPException() { ios::print("exception path : " + filePath()); }

std::string KPException::filePath() {
  const std::string path = ios::NSHomeDirectory() + "/Documents/crash/.Exception";
  auto& files = ios::FileManager::defaultManager();
  if (!files.fileExists(path)) {
    std::string error;
    if (!files.createDirectory(path, &error)) ios::print(error);
  }
  if (files.fileExists(path)) importEarlierLogs(path);
  return path;
}

void KPException::enableException() {
  if (ios::NSGetUncaughtExceptionHandler() != nullptr) ios::print(kHandlerReplaced);
  ios::NSSetUncaughtExceptionHandler(&uncaughtExceptionHandler);
}

std::optional<std::string> KPException::getCrashLog() {
  const std::string folder = filePath();
  auto& files = ios::FileManager::defaultManager();
  auto entries = files.subpathsOfDirectory(folder);
  if (!entries) return std::nullopt;
  removeEarlierTemporaryFiles(folder, *entries);
  // The first log: not an earlier version's leftover, nor the empty claim of a name
  // whose log is still being saved.
  const auto first = std::find_if(entries->begin(), entries->end(), [&](const std::string& entry) {
    if (isEarlierTemporaryFile(entry)) return false;
    const auto attributes = files.attributesOfItem(folder + "/" + entry);
    return !attributes || attributes->isDirectory || attributes->fileSize > 0;
  });
  if (first == entries->end()) return std::nullopt;
  const std::string path = folder + "/" + *first;
  bool isDirectory = false;
  if (!files.fileExists(path, isDirectory) || isDirectory) return std::nullopt;
  auto text = readFile(path);
  if (!text || !ios::isValidUTF8(*text)) return std::nullopt;
  return text;
}

bool KPException::removeCrashLog() {
  const std::string folder = filePath();
  auto& files = ios::FileManager::defaultManager();
  auto entries = files.subpathsOfDirectory(folder);
  if (!entries) return true;
  removeEarlierTemporaryFiles(folder, *entries);
  removeStaleTemporaryFiles();
  for (const std::string& entry : *entries) {
    if (isEarlierTemporaryFile(entry)) continue;  // removed above
    const std::string path = folder + "/" + entry;
    if (files.fileExists(path) && !files.removeItem(path)) return false;
  }
  return true;
}

void exceptionHandler(const ios::NSException& exception) noexcept {
  try {
    const std::vector<std::string>& symbols = exception.callStackSymbols();
    const std::string reason = exception.reason().value_or(kNoReason);
    const std::string& name = exception.name();
    ios::print(std::string(kReportTitle) + "错误标识:" + name + "\n错误原因:\n" + reason + "\n堆栈信息:\n" +
               describeArray(symbols));

    const std::string date = crashDateText();
    ios::PropertyList::Array symbolTexts;
    for (const std::string& symbol : symbols) symbolTexts.emplace_back(wellFormed(symbol));
    ios::PropertyList::Dictionary report{
        {"name", wellFormed(name)},
        {"reason", wellFormed(reason)},
        {"callStackSymbols", std::move(symbolTexts)},
        {"date", wellFormed(date)},
    };
    if (const auto& userInfo = exception.userInfo()) {
      ios::PropertyList info(*userInfo);
      // What JSON cannot hold (bytes, dates, NaN, text that is not UTF-8) is kept as the
      // user info's description, so that the log is still written.
      report.emplace("useInfo", ios::JSONSerialization::isValidJSONObject(info)
                                    ? info
                                    : ios::PropertyList(wellFormed(withWritableDates(info).description())));
    }
    ios::PropertyList::Data bytes;
    try {
      bytes = ios::JSONSerialization::data(ios::PropertyList(std::move(report)), ios::JSONSerialization::prettyPrinted);
    } catch (const std::exception& e) {
      ios::print(e.what());
      return;
    }
    ios::print(writeNewLog(KPException::filePath(), date,
                           std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))
                   ? kSaved
                   : kNotSaved);
  } catch (...) {
    try {
      ios::print(kNotSaved);
    } catch (...) {
    }
  }
}

}  // namespace kp
