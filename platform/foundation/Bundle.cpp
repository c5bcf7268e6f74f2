#include "platform/foundation/Bundle.h"

#include <errno.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <system_error>
#include <filesystem>

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

namespace {

// Letters, digits, '.', '-' and '_' stay; anything else becomes '-'. A name that is
// empty or only dots is no folder name of its own.
std::string safeFolderName(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    out.push_back(std::isalnum(u) || c == '.' || c == '-' || c == '_' ? c : '-');
  }
  if (out.find_first_not_of('.') == std::string::npos) return {};
  return out;
}

std::string executableFallbackIdentifier() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::string full = error ? std::string(program_invocation_name) : exe.string();
  std::uint32_t hash = 2166136261u;  // FNV-1a
  for (const char c : full) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  std::string name = safeFolderName(error ? std::string(program_invocation_short_name) : exe.filename().string());
  if (name.empty()) name = "program";
  char digits[9];
  std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(hash));
  return "local." + name + "-" + digits;
}

}  // namespace

std::string applicationIdentifier() {
  if (std::optional<std::string> own = Bundle::main().bundleIdentifier()) {
    if (std::string safe = safeFolderName(*own); !safe.empty()) return safe;
  }
  if (const char* fromEnvironment = std::getenv("KP_APPLICATION_IDENTIFIER")) {
    if (std::string safe = safeFolderName(fromEnvironment); !safe.empty()) return safe;
  }
  static const std::string fallback = executableFallbackIdentifier();
  return fallback;
}

namespace testing {
void resetMainBundle() {
  std::lock_guard lock(state().mutex);
  state().identifier.reset();
  state().info.clear();
}
}  // namespace testing

}  // namespace ios
