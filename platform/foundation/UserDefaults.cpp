#include "platform/foundation/UserDefaults.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/NSException.h"
#include "platform/foundation/NSKeyedArchiver.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/foundation/internal/AtomicFile.h"
#include "platform/foundation/internal/PropertyListCoding.h"

namespace ios {
namespace foundation_internal {

// One suite's values, shared by every instance of that suite in the process.
struct DefaultsDomain {
  std::string path;
  std::string homeFolder;
  mutable std::mutex mutex;
  PropertyList::Dictionary values;
  bool pending = false;
  // The file on disk could not be read: move it aside before writing a new one.
  bool keepFileAside = false;
  bool discarded = false;
  std::optional<std::string> loadError;

  ~DefaultsDomain();
  bool flushLocked();
};

}  // namespace foundation_internal

namespace {

using foundation_internal::DefaultsDomain;

constexpr const char* kGlobalDomainName = "NSGlobalDomain";

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

std::string applicationSuiteName() {
  std::string name = ProcessInfo::processInfo().processName();
  return name.empty() ? "application" : name;
}

void report(const std::string& text) { std::fprintf(stderr, "UserDefaults: %s\n", text.c_str()); }

void loadDomain(DefaultsDomain& domain) {
  domain.loadError = foundation_internal::loadStoreFile(domain.path, [&](const std::string& bytes) {
    PropertyList stored = foundation_internal::decodePropertyList(nlohmann::json::parse(bytes));
    const auto* entries = stored.dictionaryValue();
    if (!entries) throw std::runtime_error("the file does not hold a dictionary");
    domain.values = *entries;
  });
  if (!domain.loadError) return;
  domain.keepFileAside = true;
  report("cannot read " + *domain.loadError + "; starting empty, the file is kept");
}

std::shared_ptr<DefaultsDomain> domainFor(const std::string& fileName) {
  const std::string home = NSHomeDirectory();
  const std::string path = home + "/Library/Preferences/" + fileName;
  auto& r = registry();
  std::lock_guard lock(r.mutex);
  static const bool exitHookInstalled = [] { return std::atexit([] { UserDefaults::synchronizeAll(); }) == 0; }();
  (void)exitHookInstalled;
  if (auto existing = r.domains[path].lock()) return existing;
  auto domain = std::make_shared<DefaultsDomain>();
  domain->path = path;
  domain->homeFolder = home;
  loadDomain(*domain);
  r.domains[path] = domain;
  return domain;
}

PropertyList::Dictionary globalDomain() {
  const std::string locale = Locale::current().identifier();
  const std::string language = locale.substr(0, locale.find_first_of("_-@"));
  return {{"AppleLocale", locale}, {"AppleLanguages", PropertyList::Array{language}}};
}

std::optional<double> numberInText(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  while (*end == ' ') ++end;
  if (end == text.c_str() || *end != '\0') return std::nullopt;
  return value;
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

bool DefaultsDomain::flushLocked() {
  if (!pending) return true;
  std::string error;
  std::string note;
  const std::string bytes = foundation_internal::encodePropertyList(PropertyList(values)).dump();
  const bool written = foundation_internal::writeStoreFile(path, homeFolder, bytes, keepFileAside, &error, &note);
  if (!note.empty()) report(note);
  if (!written) {
    report(error);
    return false;
  }
  pending = false;
  return true;
}

}  // namespace foundation_internal

std::shared_ptr<UserDefaults> UserDefaults::standard() {
  auto& r = registry();
  {
    std::lock_guard lock(r.mutex);
    if (r.standard) return r.standard;
  }
  auto made = std::shared_ptr<UserDefaults>(new UserDefaults(domainFor(fileNameFor(applicationSuiteName()))));
  std::lock_guard lock(r.mutex);
  if (!r.standard) r.standard = std::move(made);
  return r.standard;
}

std::shared_ptr<UserDefaults> UserDefaults::make(std::string_view suiteName) {
  if (suiteName == kGlobalDomainName) return nullptr;
  const std::string name = suiteName.empty() ? applicationSuiteName() : std::string(suiteName);
  return std::shared_ptr<UserDefaults>(new UserDefaults(domainFor(fileNameFor(name))));
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
  if (value && foundation_internal::nestsTooDeeplyToDecode(*value, 1)) {
    NSException(NSInvalidArgumentException,
                "cannot store a value nested deeper than " +
                    std::to_string(foundation_internal::kMaximumDecodingDepth - 1) +
                    " arrays and dictionaries for key " + std::string(key))
        .raise();
  }
  std::lock_guard lock(domain_->mutex);
  if (!value || value->isNull()) {
    auto it = domain_->values.find(key);
    if (it == domain_->values.end()) return;
    domain_->values.erase(it);
  } else {
    domain_->values.insert_or_assign(std::string(key), std::move(*value));
  }
  domain_->pending = true;
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
  return domain_->flushLocked();
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
