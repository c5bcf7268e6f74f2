#include "platform/foundation/Bundle.h"

#include <cctype>
#include <mutex>

#include "platform/foundation/Locale.h"

namespace ios {
namespace {

struct BundleState {
  std::mutex mutex;
  std::optional<std::string> identifier;
  PropertyList::Dictionary info;
};

BundleState& state() {
  static auto* s = new BundleState;
  return *s;
}

}  // namespace

Bundle& Bundle::main() {
  static auto* bundle = new Bundle;
  return *bundle;
}

Bundle* Bundle::forIdentifier(std::string_view identifier) {
  Bundle& bundle = main();
  std::optional<std::string> own = bundle.bundleIdentifier();
  return own && *own == identifier ? &bundle : nullptr;
}

std::optional<std::string> Bundle::bundleIdentifier() const {
  std::lock_guard lock(state().mutex);
  return state().identifier;
}

void Bundle::setBundleIdentifier(std::optional<std::string> identifier) {
  std::lock_guard lock(state().mutex);
  state().identifier = std::move(identifier);
}

PropertyList Bundle::object(const std::string& key) const {
  std::lock_guard lock(state().mutex);
  auto it = state().info.find(key);
  return it == state().info.end() ? PropertyList() : it->second;
}

void Bundle::setInfoDictionary(PropertyList::Dictionary info) {
  std::lock_guard lock(state().mutex);
  state().info = std::move(info);
}

std::vector<std::string> Bundle::preferredLocalizations() const {
  // Language, then a four-letter script if one follows: "zh_Hans_CN" -> "zh-Hans".
  const std::string id = Locale::current().identifier();
  std::string language = id.substr(0, id.find_first_of("_-@"));
  if (language.empty() || language == "en_US_POSIX") return {"en"};
  const std::size_t next = id.find_first_of("_-", language.size());
  if (next != std::string::npos) {
    const std::string part = id.substr(next + 1, id.find_first_of("_-@", next + 1) - next - 1);
    if (part.size() == 4 && std::isupper(static_cast<unsigned char>(part[0]))) language += "-" + part;
  }
  return {language};
}

namespace testing {
void resetMainBundle() {
  std::lock_guard lock(state().mutex);
  state().identifier.reset();
  state().info.clear();
}
}  // namespace testing

}  // namespace ios
