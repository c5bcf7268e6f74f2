// Crash logs: arbitrary files in the crash folder read back by getCrashLog() and
// removed by removeCrashLog(); and the handler writing the log of an exception with an
// arbitrary name, reason and user info (any property-list values, nested), read back.
// Invariants: getCrashLog() answers UTF-8 text that one of the folder's files holds, and
// nothing once removeCrashLog() (which succeeds) has run, which never removes anything
// outside the folder through a link; the handler always saves one
// log, named by its date, whose JSON holds the name and reason (with U+FFFD for bytes
// that are not UTF-8), the call stack, the date, and the user info exactly when there is
// one: as it is when JSON can hold it, as text otherwise.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "KPQuaslet/concurrency/KPException.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/JSONSerialization.h"
#include "platform/foundation/NSException.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

using ios::PropertyList;

// Empties the crash folder (it stays).
void emptyCrashFolder() {
  const std::filesystem::path folder = kp::KPException::filePath();
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
    std::filesystem::remove_all(entry.path(), ignored);
  }
}

// A file name from the input: no "/" or NUL, not "." or "..".
std::string pickName(FuzzedDataProvider& in) {
  std::string name = in.ConsumeRandomLengthString(24);
  for (char& c : name) {
    if (c == '/' || c == '\0') c = '_';
  }
  if (name.empty() || name == "." || name == "..") name += "log";
  return name;
}

void checkReading(FuzzedDataProvider& in) {
  emptyCrashFolder();
  const std::filesystem::path folder = kp::KPException::filePath();
  std::vector<std::string> contents;
  const int count = in.ConsumeIntegralInRange<int>(0, 3);
  for (int i = 0; i < count; ++i) {
    std::filesystem::path place = folder;
    if (in.ConsumeBool()) {
      place /= pickName(in);
      std::error_code ignored;
      std::filesystem::create_directories(place, ignored);
    }
    const std::string bytes = in.ConsumeRandomLengthString(256);
    std::ofstream(place / pickName(in), std::ios::binary | std::ios::trunc) << bytes;
    contents.push_back(bytes);
  }
  // A link to a folder outside: reading may follow it, removing must not reach into it.
  const std::filesystem::path outside = std::filesystem::path(kp_fuzz::homeFolder()) / "outside";
  const bool linked = in.ConsumeBool();
  if (linked) {
    std::error_code ignored;
    std::filesystem::create_directories(outside, ignored);
    std::ofstream(outside / "keep") << "kept";
    std::filesystem::create_directory_symlink(outside, folder / pickName(in), ignored);
    contents.push_back("kept");
  }
  if (const auto log = kp::KPException::getCrashLog()) {
    KP_FUZZ_CHECK(kp_fuzz::isUTF8(*log), "a crash log read back is not UTF-8");
    KP_FUZZ_CHECK(std::find(contents.begin(), contents.end(), *log) != contents.end(),
                  "a crash log read back is no file of the folder");
  }
  KP_FUZZ_CHECK(kp::KPException::removeCrashLog(), "removing the crash logs failed");
  KP_FUZZ_CHECK(!kp::KPException::getCrashLog().has_value(), "a crash log is left after removing them");
  KP_FUZZ_CHECK(std::filesystem::is_directory(folder), "removing the crash logs removed the folder");
  if (linked) KP_FUZZ_CHECK(std::filesystem::exists(outside / "keep"), "removing the crash logs removed a file outside");
}

// `text` with every byte outside a well-formed UTF-8 sequence as U+FFFD.
std::string wellFormed(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = 1;
    while (length <= 4 && i + length <= text.size() && !kp_fuzz::isUTF8(text.substr(i, length))) ++length;
    if (length <= 4 && i + length <= text.size()) {
      out.append(text.substr(i, length));
      i += length;
    } else {
      out += "\xEF\xBF\xBD";
      ++i;
    }
  }
  return out;
}

std::string compactJSON(const PropertyList& value) {
  const auto bytes = ios::JSONSerialization::data(value, ios::JSONSerialization::fragmentsAllowed);
  return std::string(bytes.begin(), bytes.end());
}

void checkWriting(FuzzedDataProvider& in) {
  emptyCrashFolder();
  const std::string name = in.ConsumeRandomLengthString(32);
  std::optional<std::string> reason;
  if (in.ConsumeBool()) reason = in.ConsumeRandomLengthString(64);
  std::optional<PropertyList::Dictionary> userInfo;
  if (in.ConsumeBool()) {
    PropertyList::Dictionary entries;
    const int count = in.ConsumeIntegralInRange<int>(0, 4);
    for (int i = 0; i < count; ++i) entries.insert_or_assign(in.ConsumeRandomLengthString(16), kp_fuzz::propertyList(in, 1));
    userInfo = std::move(entries);
  }
  if (userInfo && kp_fuzz::holdsFarDate(PropertyList(*userInfo)) && kp_fuzz::skipping("date-description")) return;

  kp::exceptionHandler(ios::NSException(name, reason, userInfo));

  const auto entries = ios::FileManager::defaultManager().subpathsOfDirectory(kp::KPException::filePath());
  KP_FUZZ_CHECK(entries && entries->size() == 1, "the handler did not save exactly one log");
  const auto log = kp::KPException::getCrashLog();
  KP_FUZZ_CHECK(log.has_value(), "the saved log does not read back");
  PropertyList report;
  try {
    report = ios::JSONSerialization::jsonObject(*log);
  } catch (const std::exception&) {
    KP_FUZZ_CHECK(false, "the saved log is not JSON");
  }
  const PropertyList::Dictionary* fields = report.dictionaryValue();
  KP_FUZZ_CHECK(fields != nullptr, "the saved log is not a JSON object");
  const auto text = [&](const char* key) -> const std::string* {
    auto it = fields->find(key);
    return it == fields->end() ? nullptr : it->second.stringValue();
  };
  KP_FUZZ_CHECK(text("name") && *text("name") == wellFormed(name), "the log does not hold the exception's name");
  KP_FUZZ_CHECK(text("reason") && *text("reason") == (reason ? wellFormed(*reason) : "(null)"),
                "the log does not hold the exception's reason");
  KP_FUZZ_CHECK(text("date") && entries->front() == *text("date") + ".log", "the log is not named by its date");
  KP_FUZZ_CHECK(fields->contains("callStackSymbols") && fields->at("callStackSymbols").arrayValue(),
                "the log holds no call stack");
  KP_FUZZ_CHECK(fields->contains("useInfo") == userInfo.has_value(), "the log's user info is there or not wrongly");
  if (userInfo) {
    const PropertyList info(*userInfo);
    const PropertyList& saved = fields->at("useInfo");
    if (ios::JSONSerialization::isValidJSONObject(info)) {
      KP_FUZZ_CHECK(compactJSON(saved) == compactJSON(info), "the log's user info differs from the exception's");
    } else {
      KP_FUZZ_CHECK(saved.stringValue() != nullptr, "user info that JSON cannot hold is not saved as text");
    }
  }
  KP_FUZZ_CHECK(kp::KPException::removeCrashLog(), "removing the saved log failed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  FuzzedDataProvider in(data, size);
  if (in.ConsumeBool()) {
    checkReading(in);
  } else {
    checkWriting(in);
  }
  return 0;
}
