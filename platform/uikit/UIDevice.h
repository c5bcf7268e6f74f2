// File: platform/uikit/UIDevice.h
//
// The running device: system name and version, its name, idiom and vendor identifier,
// and the hardware identifier the C library reports.
//
//   ios::UIDevice::current().systemVersion();   // "14.0"
//   ios::utsnameMachine();                       // "x86_64" on a Linux PC
//
// Fidelity: Linux is not the platform, so the system is reported as "iOS" with version
// "14.0", the device's name is the host name, the idiom is phone, and the vendor
// identifier is a random UUID made once per process. A test (or an embedding
// application) may set each of these and the hardware identifier through
// ios::testing::DeviceSettings. isSystemVersionAtLeast() stands for the language's
// availability check (`#available(iOS 10.3, *)`), so the system version set here is
// what every version gate sees. Orientation, battery and proximity are absent.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ios {

enum class UIUserInterfaceIdiom : std::int64_t { unspecified = -1, phone = 0, pad = 1, tv = 2, carPlay = 3 };

class UIDevice {
 public:
  [[nodiscard]] static UIDevice& current();

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
