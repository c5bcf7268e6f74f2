// File: KPQuaslet/services/UIDevice+KPExt.h
//
// Questions about the running device: system version and its predicates, the hardware
// model and its readable name, the screen-size class, the idiom, the vendor identifier,
// the preferred language and the size of the volume holding the home folder.
//
//   kp::deviceModelReadable();                 // "iPhone X" on "iPhone10,3"
//   kp::isVersionOrLater(kp::Versions::eleven);
//   kp::isLargerThanScreenSize(kp::Size::screen4Inch);
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <type_traits>

#include "KPQuaslet/Helper/RawRepresentable.h"

namespace kp {

// Screen-size classes, smallest first.
enum class Size : std::int64_t {
  unknownSize = 0,
  screen3_5Inch = 1,
  screen4Inch = 2,
  screen4_7Inch = 3,
  screen5_5Inch = 4,
  screen5_8Inch = 5,
  screen6_1Inch = 6,
  screen6_5Inch = 7,
  screen7_9Inch = 8,
  screen9_7Inch = 9,
  screen12_9Inch = 10,
};
[[nodiscard]] std::optional<Size> fromRawValue(std::type_identity<Size>, std::int64_t raw);
// The eleven classes, smallest first.
[[nodiscard]] inline std::span<const Size> allCases(std::type_identity<Size>) {
  static constexpr Size cases[] = {Size::unknownSize, Size::screen3_5Inch, Size::screen4Inch, Size::screen4_7Inch, Size::screen5_5Inch, Size::screen5_8Inch, Size::screen6_1Inch, Size::screen6_5Inch, Size::screen7_9Inch, Size::screen9_7Inch, Size::screen12_9Inch};
  return cases;
}
// The case name, as the value is printed.
[[nodiscard]] std::string ios_describe(Size value);

// Major system versions; raw values 8 to 12 as floats.
enum class Versions { eight, nine, ten, eleven, twelve };
[[nodiscard]] float rawValue(Versions version);
[[nodiscard]] std::optional<Versions> fromRawValue(std::type_identity<Versions>, float raw);
// The five versions, eight to twelve.
[[nodiscard]] inline std::span<const Versions> allCases(std::type_identity<Versions>) {
  static constexpr Versions cases[] = {Versions::eight, Versions::nine, Versions::ten, Versions::eleven, Versions::twelve};
  return cases;
}
// The case name, as the value is printed.
[[nodiscard]] std::string ios_describe(Versions value);

[[nodiscard]] std::string systemName();
[[nodiscard]] std::string systemVersion();
[[nodiscard]] std::string deviceName();
// The system version's leading decimal number ("12.4.1" gives 12.4, "13" gives 13), read
// with '.' as the decimal point whatever the C locale; a version that does not start
// with a decimal number ("0x10", "beta") reads as 0.
[[nodiscard]] float systemFloatVersion();
// The first preferred localisation of the main bundle.
[[nodiscard]] std::string deviceLanguage();
// The hardware identifier ("iPhone10,3", "x86_64").
[[nodiscard]] std::string deviceModel();
// The model's readable name, or the identifier when the table has none.
[[nodiscard]] std::string deviceModelReadable();
// The vendor identifier as upper-case UUID text, 8-4-4-4-12 hexadecimal digits, however
// the system spells it ("" when the system withholds it or answers text that is no UUID).
[[nodiscard]] std::string deviceUUID();
[[nodiscard]] std::string idForVendor();
[[nodiscard]] bool isPhone();
[[nodiscard]] bool isPad();

// version <= system version < the next major version.
[[nodiscard]] bool isVersion(Versions version);
[[nodiscard]] bool isVersionOrLater(Versions version);
[[nodiscard]] bool isVersionOrEarlier(Versions version);
// The system version as the platform prints a float ("12.4", "13.0").
[[nodiscard]] std::string CURRENT_VERSION();
[[nodiscard]] bool IS_OS_8();
[[nodiscard]] bool IS_OS_9();
[[nodiscard]] bool IS_OS_10();
[[nodiscard]] bool IS_OS_11();
[[nodiscard]] bool IS_OS_12();
[[nodiscard]] bool IS_OS_8_OR_LATER();
[[nodiscard]] bool IS_OS_9_OR_LATER();
[[nodiscard]] bool IS_OS_10_OR_LATER();
[[nodiscard]] bool IS_OS_11_OR_LATER();
[[nodiscard]] bool IS_OS_12_OR_LATER();
[[nodiscard]] bool IS_OS_8_OR_EARLIER();
[[nodiscard]] bool IS_OS_9_OR_EARLIER();
[[nodiscard]] bool IS_OS_10_OR_EARLIER();
[[nodiscard]] bool IS_OS_11_OR_EARLIER();
[[nodiscard]] bool IS_OS_12_OR_EARLIER();
// Whether the system version is `version` or later, comparing number runs as numbers
// ("12.10" is over "12.9").
[[nodiscard]] bool isSystemVersionOver(const std::string& version);

// size()
//
// The screen-size class of the main screen, from its longer side in points (so the
// orientation does not matter), its scale and, for 1024 points, the model name.
[[nodiscard]] Size size();
[[nodiscard]] bool isEqualToScreenSize(Size s);
// Whether size() comes after / before `s` in the order of Size.
[[nodiscard]] bool isLargerThanScreenSize(Size s);
[[nodiscard]] bool isSmallerThanScreenSize(Size s);

// The size in bytes of the volume holding the home folder (0 when it cannot be read).
[[nodiscard]] std::uint64_t diskSize();
// Its free bytes.
[[nodiscard]] std::uint64_t diskFreeSize();
// Size minus free bytes, from one query (0 when either is unknown).
[[nodiscard]] std::uint64_t diskUsedSize();
// The number of files on that volume (file-system nodes in use).
[[nodiscard]] std::uint64_t allFileNumber();

}  // namespace kp
