#include "platform/foundation/UserDefaults.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/NSException.h"
#include "platform/foundation/NSKeyedArchiver.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/foundation/internal/AtomicFile.h"
#include "platform/foundation/internal/NumberText.h"
#include "platform/foundation/internal/PropertyListCoding.h"

namespace ios {
namespace foundation_internal {

// What tells one version of a file from another: a rename makes a new inode, a write in
// place a new size or time.
struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  std::int64_t modifiedNanoseconds = 0;
  bool operator==(const FileStamp&) const = default;
};

// One suite's values, shared by every instance of that suite in the process.
struct DefaultsDomain {
  std::string path;
  // The user's home folder, which must exist for the suite to be written.
  std::string homeFolder;
  // Where an earlier version kept this suite ("" for none), and whether that file is
  // this application's alone (it is then moved aside once imported).
  std::string earlierPath;
  bool earlierFileIsOwn = false;
  mutable std::mutex mutex;
  // The file as this process last read it, with this process's changes on top.
  PropertyList::Dictionary values;
  // The keys this process has set or removed since it last wrote the file, in no order
  // and possibly repeated (see noteChanged()); their new state is the one in `values`
  // (absent there: removed).
  std::vector<std::string> changedKeys;

  // Records a change of `key`. A plain list is cheaper to fill and to empty than a set;
  // it is sorted and made unique when it grows well beyond the keys it can name.
  void noteChanged(std::string_view key) {
    changedKeys.emplace_back(key);
    if (changedKeys.size() > 1024 && changedKeys.size() > 2 * values.size()) uniqueChangedKeys();
  }
  void uniqueChangedKeys() {
    std::sort(changedKeys.begin(), changedKeys.end());
    changedKeys.erase(std::unique(changedKeys.begin(), changedKeys.end()), changedKeys.end());
  }
  // The file this process last read or wrote; nothing when there was none.
  std::optional<FileStamp> seen;
  bool leftoversRemoved = false;
  // The file on disk could not be read: move it aside before writing a new one.
  bool keepFileAside = false;
  bool discarded = false;
  std::optional<std::string> loadError;

  ~DefaultsDomain();
  bool flushLocked();
  void refreshLocked();
};

}  // namespace foundation_internal

namespace {

using foundation_internal::DefaultsDomain;
using foundation_internal::FileStamp;

constexpr const char* kGlobalDomainName = "NSGlobalDomain";
constexpr const char* kPreferencesFolder = "/Library/Preferences/";

struct Registry {
  std::mutex mutex;
  std::map<std::string, std::weak_ptr<DefaultsDomain>> domains;
  std::shared_ptr<UserDefaults> standard;
  PropertyList::Dictionary registered;
};

Registry& registry() {
  static auto* r = new Registry;  // outlives every static destructor and the exit hook
  return *r;
}

// A suite name as a file name that stays inside the preferences folder.
std::string fileNameFor(std::string_view suiteName) {
  std::string name;
  for (std::size_t i = 0; i < suiteName.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(suiteName[i]);
    if (c == '/' || c == '%' || c < 0x20 || (i == 0 && c == '.')) {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      name += escaped;
    } else {
      name += static_cast<char>(c);
    }
  }
  return name + ".json";
}

// The name earlier versions gave the application's own suite: the process's.
std::string earlierApplicationSuiteName() {
  std::string name = ProcessInfo::processInfo().processName();
  return name.empty() ? "application" : name;
}

void report(const std::string& text) { std::fprintf(stderr, "UserDefaults: %s\n", text.c_str()); }

FileStamp stampFrom(const struct stat& info) {
  return FileStamp{info.st_dev, info.st_ino, info.st_size,
                   static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

std::optional<FileStamp> stampOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return stampFrom(info);
}

bool isFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The suite's lock, "<file>.lock", held exclusively for the object's life. Every write
// of the suite's file, in any process, happens under it.
class SuiteLock {
 public:
  explicit SuiteLock(const std::string& path)
      : fd_(::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)), error_(fd_ < 0 ? errno : 0) {
    while (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        error_ = errno;
        ::close(fd_);
        fd_ = -1;
      }
    }
  }
  ~SuiteLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  SuiteLock(const SuiteLock&) = delete;
  SuiteLock& operator=(const SuiteLock&) = delete;
  [[nodiscard]] bool held() const { return fd_ >= 0; }
  // Why the lock is not held (an errno value), or 0.
  [[nodiscard]] int error() const { return error_; }

 private:
  int fd_;
  int error_;
};

// Removes the temporary files that writers of `path` killed midway left behind. Only
// under the suite's lock: no write of the suite is in progress then.
void removeLeftovers(const std::string& path) {
  const std::filesystem::path file(path);
  const std::string prefix = file.filename().string() + ".tmp-";
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(file.parent_path(), error)) {
    if (entry.path().filename().string().starts_with(prefix)) std::filesystem::remove(entry.path(), error);
  }
}

// The suite's values in the file's bytes; throws for bytes that hold none.
PropertyList::Dictionary parseSuite(const std::string& bytes) {
  auto entries = foundation_internal::decodePropertyListDictionary(nlohmann::json::parse(bytes));
  if (!entries) throw std::runtime_error("the file does not hold a dictionary");
  return *std::move(entries);
}

// Reads the suite's file into `domain.values` (with the process's changes on top) when
// it differs from the one last seen. A missing file is an empty suite; one that cannot
// be read leaves the values as they were and is moved aside before the next write.
void readLatest(DefaultsDomain& domain) {
  const std::optional<FileStamp> stamp = stampOf(domain.path);
  if (stamp == domain.seen) return;
  PropertyList::Dictionary fresh;
  const auto problem = foundation_internal::loadStoreFile(domain.path, [&](const std::string& bytes) {
    fresh = parseSuite(bytes);
  });
  if (problem) {
    domain.loadError = problem;
    if (!domain.keepFileAside) report("cannot read " + *problem + "; the file is kept");
    domain.keepFileAside = true;
    domain.seen = stamp;
    return;
  }
  domain.uniqueChangedKeys();
  for (const std::string& key : domain.changedKeys) {
    if (auto own = domain.values.find(key); own != domain.values.end()) {
      fresh.insert_or_assign(key, std::move(own->second));
    } else if (auto it = fresh.find(key); it != fresh.end()) {
      fresh.erase(it);
    }
  }
  domain.values = std::move(fresh);
  domain.seen = stamp;
}

// Copies the file an earlier version kept this suite in to the suite's place, once:
// only while the suite has no file of its own. The application's own earlier file is
// then moved aside ("<file>.imported"); a named suite's stays for the other
// applications that use it.
void importEarlierFile(const DefaultsDomain& domain) {
  if (domain.earlierPath.empty() || stampOf(domain.path) || !stampOf(domain.earlierPath)) return;
  std::string error;
  if (!isFolder(domain.homeFolder) || !foundation_internal::makeParentFolders(domain.path, 0600, &error)) return;
  SuiteLock lock(domain.path);
  if (!lock.held() || stampOf(domain.path)) return;  // another process imported it first
  const auto bytes = foundation_internal::readWholeFile(domain.earlierPath, &error);
  if (!bytes || !foundation_internal::writeAtomically(domain.path, *bytes, 0600, &error)) {
    report("cannot import " + domain.earlierPath + ": " + error);
    return;
  }
  if (domain.earlierFileIsOwn) foundation_internal::moveAsideWithoutReplacing(domain.earlierPath, ".imported");
}

void loadDomain(DefaultsDomain& domain) {
  importEarlierFile(domain);
  readLatest(domain);
}

std::shared_ptr<DefaultsDomain> domainFor(std::string_view suiteName, bool applicationSuite) {
  const std::string fileName = fileNameFor(suiteName);
  const std::string path = NSHomeDirectory() + kPreferencesFolder + fileName;
  auto& r = registry();
  std::lock_guard lock(r.mutex);
  static const bool exitHookInstalled = [] { return std::atexit([] { UserDefaults::synchronizeAll(); }) == 0; }();
  (void)exitHookInstalled;
  if (auto existing = r.domains[path].lock()) return existing;
  auto domain = std::make_shared<DefaultsDomain>();
  domain->path = path;
  domain->homeFolder = userHomeDirectory();
  if (!domain->homeFolder.empty()) {
    domain->earlierPath = domain->homeFolder + kPreferencesFolder +
                          (applicationSuite ? fileNameFor(earlierApplicationSuiteName()) : fileName);
    domain->earlierFileIsOwn = applicationSuite;
  }
  loadDomain(*domain);
  r.domains[path] = domain;
  return domain;
}

PropertyList::Dictionary globalDomain() {
  const std::string locale = Locale::current().identifier();
  const std::string language = locale.substr(0, locale.find_first_of("_-@"));
  return {{"AppleLocale", locale}, {"AppleLanguages", PropertyList::Array{language}}};
}

// The number a whole text spells (spaces may follow it), read the same in every locale.
std::optional<double> numberInText(std::string_view text) {
  auto number = foundation_internal::readNumber(text);
  if (!number) return std::nullopt;
  std::size_t end = number->end;
  while (end < text.size() && text[end] == ' ') ++end;
  if (end != text.size()) return std::nullopt;
  return number->value;
}

std::optional<NSNumber> numberFor(const std::optional<PropertyList>& value) {
  if (!value) return std::nullopt;
  if (auto number = NSNumber::fromPropertyList(*value)) return number;
  if (const std::string* text = value->stringValue()) {
    if (*text == "YES" || *text == "true") return NSNumber(true);
    if (*text == "NO" || *text == "false") return NSNumber(false);
    if (auto parsed = numberInText(*text)) return NSNumber(*parsed);
  }
  return std::nullopt;
}

}  // namespace

namespace foundation_internal {

DefaultsDomain::~DefaultsDomain() {
  // Under the registry's lock, so that a new instance of the suite reads the file only
  // after these values are in it.
  auto& r = registry();
  std::lock_guard lock(r.mutex);
  if (!discarded) flushLocked();
  auto it = r.domains.find(path);
  if (it != r.domains.end() && it->second.expired()) r.domains.erase(it);
}

void DefaultsDomain::refreshLocked() { readLatest(*this); }

bool DefaultsDomain::flushLocked() {
  if (changedKeys.empty()) return true;
  std::string error;
  // Merged per key: under the suite's lock, the latest file is read again and only this
  // process's own changes are applied to it, so that another process's changes to other
  // keys are kept. The lock file lies beside the suite's: when it can be opened, the
  // preferences folder exists; only when it cannot is the folder made (under a home
  // folder that exists: a store never makes up a home folder).
  std::optional<SuiteLock> lock(std::in_place, path);
  if (!lock->held() && lock->error() == ENOENT) {
    if (!isFolder(homeFolder)) {
      report("cannot write " + path + ": the home folder " + homeFolder + " does not exist");
      return false;
    }
    if (!makeParentFolders(path, 0600, &error)) {
      report(error);
      return false;
    }
    lock.emplace(path);
  }
  if (!lock->held()) {
    report("cannot lock " + path + ".lock: " + std::strerror(lock->error()));
    return false;
  }
  if (!leftoversRemoved) {
    removeLeftovers(path);
    leftoversRemoved = true;
  }
  readLatest(*this);
  std::string note;
  // Written straight to text, in a buffer the size of the last file and a little more,
  // so that a large suite is neither built as a JSON tree nor copied as it grows.
  std::string bytes;
  if (seen) bytes.reserve(static_cast<std::size_t>(seen->size) + static_cast<std::size_t>(seen->size) / 8 + 256);
  appendPropertyListText(values, bytes);
  struct stat written {};
  const bool wrote = writeStoreFile(path, bytes, keepFileAside, &error, &note, &written);
  if (!note.empty()) report(note);
  if (!wrote) {
    report(error);
    return false;
  }
  changedKeys.clear();
  seen = stampFrom(written);
  return true;
}

}  // namespace foundation_internal

std::shared_ptr<UserDefaults> UserDefaults::standard() {
  auto& r = registry();
  {
    std::lock_guard lock(r.mutex);
    if (r.standard) return r.standard;
  }
  auto made = std::shared_ptr<UserDefaults>(new UserDefaults(domainFor(applicationIdentifier(), true)));
  std::lock_guard lock(r.mutex);
  if (!r.standard) r.standard = std::move(made);
  return r.standard;
}

std::shared_ptr<UserDefaults> UserDefaults::make(std::string_view suiteName) {
  if (suiteName == kGlobalDomainName) return nullptr;
  if (suiteName.empty()) return std::shared_ptr<UserDefaults>(new UserDefaults(domainFor(applicationIdentifier(), true)));
  return std::shared_ptr<UserDefaults>(new UserDefaults(domainFor(suiteName, false)));
}

UserDefaults::UserDefaults(std::shared_ptr<foundation_internal::DefaultsDomain> domain) : domain_(std::move(domain)) {}
UserDefaults::~UserDefaults() = default;

std::optional<PropertyList> UserDefaults::object(std::string_view key) const {
  {
    std::lock_guard lock(domain_->mutex);
    if (auto it = domain_->values.find(key); it != domain_->values.end()) return it->second;
  }
  const auto global = globalDomain();
  if (auto it = global.find(key); it != global.end()) return it->second;
  auto& r = registry();
  std::lock_guard lock(r.mutex);
  if (auto it = r.registered.find(key); it != r.registered.end()) return it->second;
  return std::nullopt;
}

std::optional<std::string> UserDefaults::string(std::string_view key) const {
  auto value = object(key);
  if (!value || !value->stringValue()) return std::nullopt;
  return *value->stringValue();
}

std::optional<PropertyList::Array> UserDefaults::array(std::string_view key) const {
  auto value = object(key);
  if (!value || !value->arrayValue()) return std::nullopt;
  return *value->arrayValue();
}

std::optional<PropertyList::Dictionary> UserDefaults::dictionary(std::string_view key) const {
  auto value = object(key);
  if (!value || !value->dictionaryValue()) return std::nullopt;
  return *value->dictionaryValue();
}

std::optional<Data> UserDefaults::data(std::string_view key) const {
  auto value = object(key);
  if (!value || !value->dataValue()) return std::nullopt;
  return *value->dataValue();
}

std::optional<URL> UserDefaults::url(std::string_view key) const {
  auto value = object(key);
  if (!value) return std::nullopt;
  if (const Data* bytes = value->dataValue()) {
    auto archived = NSKeyedUnarchiver::unarchiveObject(*bytes);
    if (archived) {
      if (const URL* url = std::get_if<URL>(&*archived)) return *url;
    }
    return std::nullopt;
  }
  if (const std::string* text = value->stringValue()) {
    // The path is made absolute here, so that the URL never depends on how a relative
    // path (one with a colon, say) would be read on its own.
    std::string path = text->starts_with("~") ? NSHomeDirectory() + text->substr(1) : *text;
    if (path.empty()) return std::nullopt;
    if (path.front() != '/') {
      const std::string current = FileManager::defaultManager().currentDirectoryPath();
      if (current.empty()) return std::nullopt;
      path = current + "/" + path;
    }
    return URL::fileURLWithPath(path);
  }
  return std::nullopt;
}

std::int64_t UserDefaults::integer(std::string_view key) const {
  auto number = numberFor(object(key));
  return number ? number->integerValue() : 0;
}

double UserDefaults::double_(std::string_view key) const {
  auto number = numberFor(object(key));
  return number ? number->doubleValue() : 0.0;
}

float UserDefaults::float_(std::string_view key) const { return static_cast<float>(double_(key)); }

bool UserDefaults::bool_(std::string_view key) const {
  auto number = numberFor(object(key));
  return number ? number->boolValue() : false;
}

void UserDefaults::store(std::string_view key, std::optional<PropertyList> value) {
  // The file holds one dictionary of the values: a value lies one level inside it.
  switch (value ? foundation_internal::findUnencodable(*value, 1) : foundation_internal::Unencodable::none) {
    case foundation_internal::Unencodable::none: break;
    case foundation_internal::Unencodable::nestedTooDeeply:
      NSException(NSInvalidArgumentException,
                  "cannot store a value nested deeper than " +
                      std::to_string(foundation_internal::kMaximumDecodingDepth - 1) +
                      " arrays and dictionaries for key " + std::string(key))
          .raise();
    case foundation_internal::Unencodable::integerAboveSignedRange:
      NSException(NSInvalidArgumentException,
                  "cannot store an integer above the signed 64-bit range for key " + std::string(key))
          .raise();
  }
  std::lock_guard lock(domain_->mutex);
  if (!value || value->isNull()) {
    auto it = domain_->values.find(key);
    if (it != domain_->values.end()) domain_->values.erase(it);
    // Recorded even when this process sees no value: another process may have stored one.
    domain_->noteChanged(key);
  } else {
    domain_->values.insert_or_assign(std::string(key), std::move(*value));
    domain_->noteChanged(key);
  }
}

void UserDefaults::setObject(std::optional<PropertyList> value, std::string_view key) { store(key, std::move(value)); }
void UserDefaults::setInteger(std::int64_t value, std::string_view key) { store(key, PropertyList(value)); }
void UserDefaults::setDouble(double value, std::string_view key) { store(key, PropertyList(value)); }
void UserDefaults::setBool(bool value, std::string_view key) { store(key, PropertyList(value)); }

void UserDefaults::setURL(const std::optional<URL>& value, std::string_view key) {
  if (!value) return store(key, std::nullopt);
  store(key, PropertyList::fromData(NSKeyedArchiver::archivedData(*value)));
}

void UserDefaults::removeObject(std::string_view key) { store(key, std::nullopt); }

void UserDefaults::registerDefaults(const PropertyList::Dictionary& registrationDictionary) {
  auto& r = registry();
  std::lock_guard lock(r.mutex);
  for (const auto& [key, value] : registrationDictionary) r.registered.insert_or_assign(key, value);
}

PropertyList::Dictionary UserDefaults::dictionaryRepresentation() const {
  PropertyList::Dictionary merged;
  {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    merged = r.registered;
  }
  for (auto& [key, value] : globalDomain()) merged.insert_or_assign(key, value);
  std::lock_guard lock(domain_->mutex);
  for (const auto& [key, value] : domain_->values) merged.insert_or_assign(key, value);
  return merged;
}

bool UserDefaults::synchronize() {
  std::lock_guard lock(domain_->mutex);
  if (!domain_->changedKeys.empty()) return domain_->flushLocked();
  domain_->refreshLocked();
  return true;
}

const std::string& UserDefaults::filePath() const { return domain_->path; }

std::optional<std::string> UserDefaults::loadError() const {
  std::lock_guard lock(domain_->mutex);
  return domain_->loadError;
}

void UserDefaults::synchronizeAll() {
  std::vector<std::shared_ptr<DefaultsDomain>> live;
  {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    for (const auto& [path, weak] : r.domains) {
      if (auto domain = weak.lock()) live.push_back(std::move(domain));
    }
  }
  for (const auto& domain : live) {
    std::lock_guard lock(domain->mutex);
    if (!domain->discarded) domain->flushLocked();
  }
}

namespace testing {

void resetUserDefaults() {
  std::shared_ptr<UserDefaults> standard;
  auto& r = registry();
  {
    std::lock_guard lock(r.mutex);
    standard = std::move(r.standard);
    r.standard.reset();
    r.registered.clear();
  }
  if (standard) {
    std::lock_guard lock(standard->domain_->mutex);
    standard->domain_->discarded = true;
  }
}

}  // namespace testing
}  // namespace ios
