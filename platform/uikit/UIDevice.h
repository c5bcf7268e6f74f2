// File: platform/uikit/UIDevice.h
//
// The running device: system name and version, its name, idiom and vendor identifier,
// and the hardware identifier the C library reports; and the description of the device
// a host program simulates.
//
//   ios::UIDevice::current().systemVersion();   // "14.0"
//   ios::utsnameMachine();                       // "x86_64" on a Linux PC
//
//   // A host program describes its device once, at start-up:
//   ios::UIDevice::simulate({.screenScale = 3, .screenSize = ios::CGSize(390, 844),
//                            .model = "iPhone13,2", .systemVersion = "15.4"});
//
// Describing the device: sizes of images and drawings are in points of the main
// screen, so the screen's scale decides their pixels (a thumbnail of 128 points is 256
// pixels wide at scale 2, 384 at scale 3). UIDevice::simulate() sets what it is given
// and keeps the rest. Without it, these environment variables, read once when the
// first of these values is used, describe the device:
//   KP_DEVICE_SCREEN_SCALE    pixels a point, e.g. "3"
//   KP_DEVICE_SCREEN_SIZE     points, width x height, e.g. "390x844"
//   KP_DEVICE_MODEL           hardware identifier, e.g. "iPhone13,2"
//   KP_DEVICE_SYSTEM_VERSION  e.g. "15.4"
// Numbers have '.' as their decimal point whatever the C numeric locale. A variable that
// does not parse is ignored with a line on standard error. Without
// either: scale 2, 375 x 667 points, uname's machine, system version "14.0".
//
// Fidelity: Linux is not the platform, so the system is reported as "iOS", the
// device's name is the host name, the idiom is phone, and the vendor identifier is a
// random UUID made once per process. Tests set each of these and the hardware
// identifier through ios::testing::DeviceSettings (and the screen through the seams in
// UIScreen.h); resetting them returns to the built-in values above, not to the
// described device. isSystemVersionAtLeast() stands for the language's availability
// check (`#available(iOS 10.3, *)`), so the system version set here is what every
// version gate sees. Orientation, battery and proximity are absent.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/coregraphics/CGGeometry.h"

namespace ios {

enum class UIUserInterfaceIdiom : std::int64_t { unspecified = -1, phone = 0, pad = 1, tv = 2, carPlay = 3 };

// DeviceDescription
//
// The device a host program simulates; a field left empty keeps its current value.
struct DeviceDescription {
  // Default member initializers let a designated initializer name only some fields
  // without -Wmissing-field-initializers warnings.
  std::optional<CGFloat> screenScale = std::nullopt;        // pixels a point: positive and finite
  std::optional<CGSize> screenSize = std::nullopt;          // the main screen in points: finite, not negative
  std::optional<std::string> model = std::nullopt;          // hardware identifier ("iPhone13,2"): not empty
  std::optional<std::string> systemVersion = std::nullopt;  // "15.4": not empty
};

class UIDevice {
 public:
  [[nodiscard]] static UIDevice& current();

  // simulate()
  //
  // Makes the process simulate `device`: the main screen's scale and size, the hardware
  // identifier (utsnameMachine()) and the system version. Call it once at start-up,
  // before the first image, drawing or screen query: what was made earlier keeps the
  // values it was made with. Throws std::invalid_argument, naming the field, when a
  // field breaks its rule above; nothing is changed then.
  static void simulate(const DeviceDescription& device);

  [[nodiscard]] std::string systemName() const;
  [[nodiscard]] std::string systemVersion() const;
  [[nodiscard]] std::string name() const;
  [[nodiscard]] UIUserInterfaceIdiom userInterfaceIdiom() const;
  // The vendor identifier as upper-case UUID text, or nothing when it is withheld.
  [[nodiscard]] std::optional<std::string> identifierForVendor() const;

  // isSystemVersionAtLeast()
  //
  // Whether the system version is major.minor.patch or later, comparing the numbers of
  // the version text one by one (a missing number counts as 0, so "10.3" is 10.3.0 and
  // "10.10" is after "10.9"); a text that does not start with a number is version 0.
  [[nodiscard]] bool isSystemVersionAtLeast(std::int64_t major, std::int64_t minor = 0, std::int64_t patch = 0) const;

 private:
  UIDevice() = default;
};

// The `machine` field of uname(): the hardware identifier.
[[nodiscard]] std::string utsnameMachine();

namespace testing {

struct DeviceSettings {
  static void setSystemVersion(std::string version);
  static void setName(std::string name);
  static void setIdiom(UIUserInterfaceIdiom idiom);
  static void setIdentifierForVendor(std::optional<std::string> uuid);
  static void setMachine(std::string machine);
  // Back to the defaults described above.
  static void reset();
};

}  // namespace testing
}  // namespace ios
