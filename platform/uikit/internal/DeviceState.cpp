#include "platform/uikit/internal/DeviceState.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ios::uikit_internal {
namespace {

// The whole text (after leading white space and an optional '+') as a finite number
// with '.' as the decimal point whatever the C locale says, or nothing.
std::optional<double> parseNumber(const std::string& text) {
  const char* first = text.data();
  const char* last = text.data() + text.size();
  while (first != last && std::isspace(static_cast<unsigned char>(*first))) ++first;
  if (first != last && *first == '+' && ++first != last && *first == '-') return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

// "390x844" (or "390X844").
std::optional<CGSize> parseSize(const std::string& text) {
  const auto separator = text.find_first_of("xX");
  if (separator == std::string::npos) return std::nullopt;
  const auto width = parseNumber(text.substr(0, separator));
  const auto height = parseNumber(text.substr(separator + 1));
  if (!width || !height) return std::nullopt;
  return CGSize(*width, *height);
}

}  // namespace

std::optional<std::string> deviceDescriptionFault(const DeviceDescription& device) {
  if (device.screenScale && !(*device.screenScale > 0 && std::isfinite(*device.screenScale))) {
    return "screenScale must be positive and finite";
  }
  if (device.screenSize) {
    const CGSize size = *device.screenSize;
    if (!(size.width >= 0 && size.height >= 0 && std::isfinite(size.width) && std::isfinite(size.height))) {
      return "screenSize must be finite and not negative";
    }
  }
  if (device.model && device.model->empty()) return "model must not be empty";
  if (device.systemVersion && device.systemVersion->empty()) return "systemVersion must not be empty";
  return std::nullopt;
}

DeviceDescription parseDeviceEnvironment(const std::function<const char*(const char*)>& lookup,
                                         const std::function<void(const std::string&)>& warn) {
  DeviceDescription device;
  // Each variable on its own: a bad one leaves the others in force.
  const auto take = [&](const char* name, auto parse, auto field) {
    const char* raw = lookup(name);
    if (raw == nullptr) return;
    DeviceDescription one;
    if (auto value = parse(std::string(raw))) one.*field = std::move(*value);
    const auto fault = one.*field ? deviceDescriptionFault(one) : std::optional<std::string>("does not parse");
    if (fault) {
      warn(std::string("ignoring ") + name + "=\"" + raw + "\": " + *fault);
      return;
    }
    device.*field = std::move(one.*field);
  };
  const auto text = [](const std::string& value) { return std::optional<std::string>(value); };
  take("KP_DEVICE_SCREEN_SCALE", parseNumber, &DeviceDescription::screenScale);
  take("KP_DEVICE_SCREEN_SIZE", parseSize, &DeviceDescription::screenSize);
  take("KP_DEVICE_MODEL", text, &DeviceDescription::model);
  take("KP_DEVICE_SYSTEM_VERSION", text, &DeviceDescription::systemVersion);
  return device;
}

const DeviceDescription& environmentDevice() {
  static const DeviceDescription device = parseDeviceEnvironment(
      [](const char* name) { return std::getenv(name); },
      [](const std::string& message) { std::fprintf(stderr, "KPQuaslet: %s\n", message.c_str()); });
  return device;
}

}  // namespace ios::uikit_internal
