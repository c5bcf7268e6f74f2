#include "platform/uikit/UIDevice.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "platform/foundation/Random.h"
#include "platform/uikit/internal/DeviceState.h"

namespace ios {
namespace {

struct Settings {
  std::mutex mutex;
  std::string version;
  std::optional<std::string> name;
  UIUserInterfaceIdiom idiom = UIUserInterfaceIdiom::phone;
  bool vendorSet = false;
  std::optional<std::string> vendor;
  std::optional<std::string> machine;

  void reset() {
    version = "14.0";
    name.reset();
    idiom = UIUserInterfaceIdiom::phone;
    vendorSet = false;
    vendor.reset();
    machine.reset();
  }
};

Settings& settings() {
  static Settings* s = [] {
    auto* made = new Settings;
    made->reset();
    const DeviceDescription& described = uikit_internal::environmentDevice();
    if (described.systemVersion) made->version = *described.systemVersion;
    if (described.model) made->machine = *described.model;
    return made;
  }();
  return *s;
}

std::string makeUUID() {
  unsigned char bytes[16];
  arc4random_buf(bytes, sizeof bytes);
  bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);  // version 4
  bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
  char text[37];
  std::snprintf(text, sizeof text, "%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X", bytes[0],
                bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8], bytes[9], bytes[10],
                bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
  return text;
}

}  // namespace

UIDevice& UIDevice::current() {
  static auto* device = new UIDevice;
  return *device;
}

void UIDevice::simulate(const DeviceDescription& device) {
  if (auto fault = uikit_internal::deviceDescriptionFault(device)) {
    throw std::invalid_argument("UIDevice::simulate: " + *fault);
  }
  if (device.screenScale) uikit_internal::storeScreenScale(*device.screenScale);
  if (device.screenSize) uikit_internal::storeScreenSize(*device.screenSize);
  std::lock_guard lock(settings().mutex);
  if (device.model) settings().machine = *device.model;
  if (device.systemVersion) settings().version = *device.systemVersion;
}

std::string UIDevice::systemName() const { return "iOS"; }

std::string UIDevice::systemVersion() const {
  std::lock_guard lock(settings().mutex);
  return settings().version;
}

bool UIDevice::isSystemVersionAtLeast(std::int64_t major, std::int64_t minor, std::int64_t patch) const {
  // The leading numbers of the text, "14.0.1" -> 14, 0, 1; the first part that is not a
  // number ends them.
  const std::string version = systemVersion();
  std::vector<std::int64_t> parts;
  std::size_t i = 0;
  while (parts.size() < 3 && i < version.size() && std::isdigit(static_cast<unsigned char>(version[i]))) {
    std::int64_t value = 0;
    while (i < version.size() && std::isdigit(static_cast<unsigned char>(version[i]))) {
      value = std::min<std::int64_t>(value * 10 + (version[i] - '0'), INT32_MAX);
      ++i;
    }
    parts.push_back(value);
    if (i < version.size() && version[i] == '.') ++i;
    else break;
  }
  parts.resize(3, 0);
  const std::int64_t wanted[] = {major, minor, patch};
  return !std::lexicographical_compare(parts.begin(), parts.end(), std::begin(wanted), std::end(wanted));
}

std::string UIDevice::name() const {
  {
    std::lock_guard lock(settings().mutex);
    if (settings().name) return *settings().name;
  }
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0) return "localhost";
  return host;
}

UIUserInterfaceIdiom UIDevice::userInterfaceIdiom() const {
  std::lock_guard lock(settings().mutex);
  return settings().idiom;
}

std::optional<std::string> UIDevice::identifierForVendor() const {
  static const std::string processIdentifier = makeUUID();
  std::lock_guard lock(settings().mutex);
  if (settings().vendorSet) return settings().vendor;
  return processIdentifier;
}

std::string utsnameMachine() {
  {
    std::lock_guard lock(settings().mutex);
    if (settings().machine) return *settings().machine;
  }
  struct utsname info {};
  if (::uname(&info) != 0) return "";
  return std::string(info.machine, ::strnlen(info.machine, sizeof info.machine));
}

namespace testing {

void DeviceSettings::setSystemVersion(std::string version) {
  std::lock_guard lock(settings().mutex);
  settings().version = std::move(version);
}
void DeviceSettings::setName(std::string name) {
  std::lock_guard lock(settings().mutex);
  settings().name = std::move(name);
}
void DeviceSettings::setIdiom(UIUserInterfaceIdiom idiom) {
  std::lock_guard lock(settings().mutex);
  settings().idiom = idiom;
}
void DeviceSettings::setIdentifierForVendor(std::optional<std::string> uuid) {
  std::lock_guard lock(settings().mutex);
  settings().vendorSet = true;
  settings().vendor = std::move(uuid);
}
void DeviceSettings::setMachine(std::string machine) {
  std::lock_guard lock(settings().mutex);
  settings().machine = std::move(machine);
}
void DeviceSettings::reset() {
  std::lock_guard lock(settings().mutex);
  settings().reset();
}

}  // namespace testing
}  // namespace ios
