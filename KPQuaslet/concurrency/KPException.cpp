#include "KPQuaslet/concurrency/KPException.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <random>

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

// The temporary files a save writes before the log takes its name.
constexpr std::string_view kTemporaryPrefix = ".writing-";

// Whether the folder entry `entry` (a path relative to the crash folder) is the
// temporary file of a save in progress, or left by a save that never finished.
bool isTemporaryFile(std::string_view entry) {
  const std::size_t slash = entry.rfind('/');
  return entry.substr(slash == std::string_view::npos ? 0 : slash + 1).starts_with(kTemporaryPrefix);
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
  const int claim = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (claim < 0) return false;
  ::close(claim);
  if (::rename(temporary.c_str(), target.c_str()) == 0) return true;
  const int error = errno;
  ::unlink(target.c_str());
  errno = error;
  return false;
}

// Writes `bytes` to "<folder>/<stem>.log", or "<stem>-1.log", "<stem>-2.log", ... when
// that name is taken: the file appears complete or not at all, and an earlier log is
// never replaced. Needs no hard links.
bool writeNewLog(const std::string& folder, const std::string& stem, const ios::PropertyList::Data& bytes) {
  static thread_local std::mt19937_64 names{std::random_device{}()};
  const std::string temporary = folder + "/" + std::string(kTemporaryPrefix) + std::to_string(names());
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
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
  // The first finished log: not a save's temporary file, nor the empty claim of a name
  // whose log is still being saved.
  const auto first = std::find_if(entries->begin(), entries->end(), [&](const std::string& entry) {
    if (isTemporaryFile(entry)) return false;
    const auto attributes = files.attributesOfItem(folder + "/" + entry);
    return !attributes || attributes->isDirectory || attributes->fileSize > 0;
  });
  if (first == entries->end()) return std::nullopt;
  const std::string path = folder + "/" + *first;
  bool isDirectory = false;
  if (!files.fileExists(path, isDirectory) || isDirectory) return std::nullopt;
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
      break;
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
  if (!ios::isValidUTF8(text)) return std::nullopt;
  return text;
}

bool KPException::removeCrashLog() {
  const std::string folder = filePath();
  auto& files = ios::FileManager::defaultManager();
  auto entries = files.subpathsOfDirectory(folder);
  if (!entries) return true;
  for (const std::string& entry : *entries) {
    if (isTemporaryFile(entry)) continue;  // a save in progress, not a log
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
    ios::print(writeNewLog(KPException::filePath(), date, bytes) ? kSaved : kNotSaved);
  } catch (...) {
    try {
      ios::print(kNotSaved);
    } catch (...) {
    }
  }
}

}  // namespace kp
