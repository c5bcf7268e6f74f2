// File: platform/uikit/internal/DeviceState.h
//
// What UIDevice and UIScreen share: the device described by the environment, the rules
// a description must keep, and the screen's stores.
// DO NOT INCLUDE outside platform/ and its tests.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/uikit/UIDevice.h"

namespace ios::uikit_internal {

// Why `device` cannot be simulated ("screenScale must be positive and finite"), or
// nothing when it can.
[[nodiscard]] std::optional<std::string> deviceDescriptionFault(const DeviceDescription& device);

// The description given by the KP_DEVICE_* variables that `lookup` answers (null when
// unset); a variable that does not parse is left out and reported through `warn`.
// Numbers are read as strtod reads them in the C locale: '.' is the decimal point
// whatever the process's locale says.
[[nodiscard]] DeviceDescription parseDeviceEnvironment(const std::function<const char*(const char*)>& lookup,
                                                       const std::function<void(const std::string&)>& warn);

// The process environment's description, read on first use.
[[nodiscard]] const DeviceDescription& environmentDevice();

// The main screen's stores (values already checked).
void storeScreenScale(CGFloat scale);
void storeScreenSize(CGSize size);

}  // namespace ios::uikit_internal
