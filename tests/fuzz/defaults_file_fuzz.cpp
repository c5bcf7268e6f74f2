// A user-defaults file on disk with arbitrary bytes, read through the library's typed
// keys (DefaultsKey of every value type), the Proxy readers, the raw-value and keyed
// unarchiving and the JSON-coded objects; then every value written to a second suite
// and read back from its file.
// Invariants: a file that cannot be read leaves the suite empty and says why; a suite of
// any name keeps its file in the preferences folder; every key
// the suite shows is present; the typed readers agree with one another (optional and
// neutral forms, numbers, texts, arrays); what is stored reads back from disk the same.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "KPQuaslet/services/DefaultsKey.h"
#include "KPQuaslet/services/UserDefaults+KPExt.h"
#include "platform/foundation/JSONCoder.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/foundation/internal/PropertyListCoding.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

using ios::PropertyList;
using kp::DefaultsKey;

constexpr const char* kSuite = "fuzz.suite";
constexpr const char* kCopySuite = "fuzz.copy";

enum class Mood : std::int64_t { calm = 0, glad = 1, cross = 7 };
std::optional<Mood> fromRawValue(std::type_identity<Mood>, std::int64_t raw) {
  if (raw == 0 || raw == 1 || raw == 7) return static_cast<Mood>(raw);
  return std::nullopt;
}

// The application's preferences folder, in its container under the scratch home.
std::filesystem::path preferencesFolder() { return std::filesystem::path(ios::NSHomeDirectory()) / "Library/Preferences"; }

// The preferences folder, emptied, with `bytes` as the suite's file.
void writeSuiteFile(std::string_view bytes) {
  const std::filesystem::path folder = preferencesFolder();
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  const auto relative = std::filesystem::relative(folder, kp_fuzz::homeFolder());
  (void)kp_fuzz::writeScratchFile((relative / (std::string(kSuite) + ".json")).string(), bytes);
}

bool same(const std::optional<PropertyList>& a, const std::optional<PropertyList>& b) {
  if (!a || !b) return a.has_value() == b.has_value();
  return ios::foundation_internal::encodePropertyList(*a) == ios::foundation_internal::encodePropertyList(*b);
}

// A stored text that url() would read as a relative path holding a colon.
bool isRelativePathWithColon(const std::optional<PropertyList>& value) {
  const std::string* text = value ? value->stringValue() : nullptr;
  return text && !text->starts_with("/") && !text->starts_with("~") && text->find(':') != std::string::npos;
}

// Equal values, NaN equal to NaN.
template <class V>
bool equal(const V& a, const V& b) {
  if constexpr (std::is_same_v<V, double>) {
    return a == b || (std::isnan(a) && std::isnan(b));
  } else if constexpr (std::is_same_v<V, std::vector<double>>) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](double x, double y) { return equal(x, y); });
  } else if constexpr (std::is_same_v<V, std::vector<ios::Date>>) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](ios::Date x, ios::Date y) {
      return equal(x.timeIntervalSinceReferenceDate(), y.timeIntervalSinceReferenceDate());
    });
  } else {
    return a == b;
  }
}

template <class V>
void readOptionalAndPlain(const ios::UserDefaults& defaults, const std::string& key) {
  const auto optional = kp::get(defaults, DefaultsKey<std::optional<V>>(key));
  const V plain = kp::get(defaults, DefaultsKey<V>(key));
  KP_FUZZ_CHECK(equal(optional.value_or(V{}), plain), "a key's optional and neutral readings differ");
}

template <class T>
void readArray(const ios::UserDefaults& defaults, const std::string& key) {
  const auto optional = kp::getArray(defaults, DefaultsKey<std::optional<std::vector<T>>>(key));
  const auto plain = kp::getArray(defaults, DefaultsKey<std::vector<T>>(key));
  KP_FUZZ_CHECK(equal(optional.value_or(std::vector<T>{}), plain), "an array key's two readings differ");
  const auto raw = defaults.array(key);
  if (optional) KP_FUZZ_CHECK(raw && raw->size() == optional->size(), "a typed array lost or gained elements");
  readOptionalAndPlain<std::vector<T>>(defaults, key);
}

void readKey(ios::UserDefaults& defaults, const std::string& key) {
  const std::optional<PropertyList> stored = defaults.object(key);
  KP_FUZZ_CHECK(kp::hasKey(defaults, key) == stored.has_value(), "hasKey() disagrees with the stored value");
  KP_FUZZ_CHECK(same(kp::get(defaults, DefaultsKey<std::optional<PropertyList>>(key)), stored),
                "the any-value key reads another value");

  readOptionalAndPlain<std::string>(defaults, key);
  readOptionalAndPlain<std::int64_t>(defaults, key);
  readOptionalAndPlain<double>(defaults, key);
  readOptionalAndPlain<bool>(defaults, key);
  readOptionalAndPlain<ios::Data>(defaults, key);
  (void)kp::get(defaults, DefaultsKey<std::optional<PropertyList::Dictionary>>(key));
  (void)kp::get(defaults, DefaultsKey<PropertyList::Dictionary>(key));
  (void)kp::get(defaults, DefaultsKey<std::optional<PropertyList::Array>>(key));
  (void)kp::get(defaults, DefaultsKey<PropertyList::Array>(key));
  readArray<std::string>(defaults, key);
  readArray<std::int64_t>(defaults, key);
  readArray<double>(defaults, key);
  readArray<bool>(defaults, key);
  readArray<ios::Data>(defaults, key);
  readArray<ios::Date>(defaults, key);
  const auto date = kp::get(defaults, DefaultsKey<std::optional<ios::Date>>(key));
  KP_FUZZ_CHECK(date.has_value() == (stored && stored->dateValue().has_value()), "a date key misreads its value");
  if (!(isRelativePathWithColon(stored) && kp_fuzz::skipping("defaults-url-text"))) {
    if (const auto url = kp::get(defaults, DefaultsKey<std::optional<ios::URL>>(key))) {
      KP_FUZZ_CHECK(ios::URL::fromString(url->absoluteString()) == url, "a URL read from defaults is not a URL");
    }
  }

  const kp::Proxy proxy = kp::proxy(defaults, key);
  KP_FUZZ_CHECK(proxy.string() == kp::get(defaults, DefaultsKey<std::optional<std::string>>(key)),
                "the proxy and the text key differ");
  KP_FUZZ_CHECK(proxy.stringValue() == proxy.string().value_or(""), "the proxy's two text readings differ");
  const auto number = kp::numberForKey(defaults, key);
  KP_FUZZ_CHECK(number.has_value() == proxy.int_().has_value() && number.has_value() == proxy.double_().has_value() &&
                    number.has_value() == proxy.bool_().has_value(),
                "the proxy's number readings disagree on presence");
  KP_FUZZ_CHECK(proxy.intValue() == proxy.int_().value_or(0) && proxy.boolValue() == proxy.bool_().value_or(false),
                "the proxy's neutral number readings differ");
  if (const auto f = kp::float_(defaults, key)) {
    KP_FUZZ_CHECK(number && (std::isnan(*f) || static_cast<double>(*f) == number->doubleValue()),
                  "float_() reads a number a float does not hold");
  }
  (void)proxy.arrayValue();
  (void)proxy.dictionaryValue();
  (void)proxy.dataValue();
  (void)proxy.numberValue();
  (void)proxy.date();
  (void)defaults.integer(key);
  (void)defaults.double_(key);
  (void)defaults.float_(key);
  (void)defaults.bool_(key);

  if (const auto mood = kp::unarchive(defaults, DefaultsKey<Mood>(key))) {
    KP_FUZZ_CHECK(stored && stored->integerValue() == kp::rawValue(*mood), "an enum reads from another raw value");
  }
  (void)kp::unarchive(defaults, DefaultsKey<std::optional<PropertyList>>(key));
  (void)kp::unarchive(defaults, DefaultsKey<ios::URL>(key));
  (void)kp::object<std::vector<int>>(defaults, key, ios::JSONDecoder());
}

// Every value written to another suite reads back from that suite's file.
void checkWriteBack(const PropertyList::Dictionary& values) {
  {
    auto copy = ios::UserDefaults::make(kCopySuite);
    kp::removeAll(*copy);
    for (const auto& [key, value] : values) kp::set(*copy, key, value);
    KP_FUZZ_CHECK(copy->synchronize(), "a suite cannot be written");
  }
  auto reread = ios::UserDefaults::make(kCopySuite);
  KP_FUZZ_CHECK(!reread->loadError().has_value(), "a written suite cannot be read back");
  for (const auto& [key, value] : values) {
    if (value.isNull()) continue;
    KP_FUZZ_CHECK(same(reread->object(key), value), "a value stored in a suite reads back otherwise");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  writeSuiteFile(kp_fuzz::text(data, size));
  PropertyList::Dictionary values;
  {
    auto defaults = ios::UserDefaults::make(kSuite);
    const PropertyList::Dictionary shown = defaults->dictionaryRepresentation();
    if (defaults->loadError()) {
      KP_FUZZ_CHECK(shown.size() == 2 && shown.contains("AppleLocale") && shown.contains("AppleLanguages"),
                    "a suite whose file cannot be read is not empty");
    }
    std::size_t visited = 0;
    for (const auto& [key, value] : shown) {
      if (++visited > 32) break;
      readKey(*defaults, key);
    }
    readKey(*defaults, "missing key");
    // Any text names a suite whose file stays in the preferences folder.
    visited = 0;
    for (const auto& [key, value] : shown) {
      if (++visited > 4) break;
      const auto suite = ios::UserDefaults::make(key);
      if (!suite) continue;  // the global domain's name
      const std::filesystem::path file(suite->filePath());
      KP_FUZZ_CHECK(file.parent_path() == preferencesFolder() &&
                        file.filename() != ".." && file.filename() != ".",
                    "a suite's file lies outside the preferences folder");
    }
    values = shown;
  }
  checkWriteBack(values);
  return 0;
}
