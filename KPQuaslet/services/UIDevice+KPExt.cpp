#include "KPQuaslet/services/UIDevice+KPExt.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <unordered_map>

#include "KPQuaslet/Helper/RawRepresentable.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Describe.h"
#include "platform/foundation/FileManager.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIScreen.h"

namespace kp {
namespace {

const std::unordered_map<std::string, std::string>& deviceList() {
  static const auto* list = new std::unordered_map<std::string, std::string>{
      {"iPod5,1", "iPod Touch 5"},       {"iPod7,1", "iPod Touch 6"},       {"iPhone3,1", "iPhone 4"},
      {"iPhone3,2", "iPhone 4"},         {"iPhone3,3", "iPhone 4"},         {"iPhone4,1", "iPhone 4S"},
      {"iPhone5,1", "iPhone 5"},         {"iPhone5,2", "iPhone 5"},         {"iPhone5,3", "iPhone 5C"},
      {"iPhone5,4", "iPhone 5C"},        {"iPhone6,1", "iPhone 5S"},        {"iPhone6,2", "iPhone 5S"},
      {"iPhone7,2", "iPhone 6"},         {"iPhone7,1", "iPhone 6 Plus"},    {"iPhone8,1", "iPhone 6S"},
      {"iPhone8,2", "iPhone 6S Plus"},   {"iPhone8,4", "iPhone SE"},        {"iPhone9,1", "iPhone 7"},
      {"iPhone9,2", "iPhone 7 Plus"},    {"iPhone10,1", "iPhone 8"},        {"iPhone10,4", "iPhone 8"},
      {"iPhone10,2", "iPhone 8 Plus"},   {"iPhone10,5", "iPhone 8 Plus"},   {"iPhone10,3", "iPhone X"},
      {"iPhone10,6", "iPhone X"},        {"iPhone11,2", "iPhone XS"},       {"iPhone11,4", "iPhone XS MAX"},
      {"iPhone11,6", "iPhone XS MAX"},   {"iPhone11,8", "iPhone XR"},       {"iPad2,1", "iPad 2"},
      {"iPad2,2", "iPad 2"},             {"iPad2,3", "iPad 2"},             {"iPad2,4", "iPad 2"},
      {"iPad3,1", "iPad 3"},             {"iPad3,2", "iPad 3"},             {"iPad3,3", "iPad 3"},
      {"iPad3,4", "iPad 4"},             {"iPad3,5", "iPad 4"},             {"iPad3,6", "iPad 4"},
      {"iPad4,1", "iPad Air"},           {"iPad4,2", "iPad Air"},           {"iPad4,3", "iPad Air"},
      {"iPad5,3", "iPad Air 2"},         {"iPad5,4", "iPad Air 2"},         {"iPad2,5", "iPad Mini"},
      {"iPad2,6", "iPad Mini"},          {"iPad2,7", "iPad Mini"},          {"iPad4,4", "iPad Mini 2"},
      {"iPad4,5", "iPad Mini 2"},        {"iPad4,6", "iPad Mini 2"},        {"iPad4,7", "iPad Mini 3"},
      {"iPad4,8", "iPad Mini 3"},        {"iPad4,9", "iPad Mini 3"},        {"iPad5,1", "iPad Mini 4"},
      {"iPad5,2", "iPad Mini 4"},        {"iPad6,7", "iPad Pro"},           {"iPad6,8", "iPad Pro"},
      {"AppleTV5,3", "AppleTV"},         {"x86_64", "Simulator"},           {"i386", "Simulator"},
  };
  return *list;
}

std::optional<ios::FileSystemAttributes> homeVolume() {
  return ios::FileManager::defaultManager().attributesOfFileSystem(ios::NSHomeDirectory());
}

// Compares two texts with runs of digits compared by value: -1, 0 or 1.
int compareNumerically(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const bool digitA = std::isdigit(static_cast<unsigned char>(a[i])) != 0;
    const bool digitB = std::isdigit(static_cast<unsigned char>(b[j])) != 0;
    if (digitA && digitB) {
      std::size_t endA = i, endB = j;
      while (endA < a.size() && a[endA] == '0') ++endA;  // leading zeros do not count
      while (endB < b.size() && b[endB] == '0') ++endB;
      std::size_t startA = endA, startB = endB;
      while (endA < a.size() && std::isdigit(static_cast<unsigned char>(a[endA]))) ++endA;
      while (endB < b.size() && std::isdigit(static_cast<unsigned char>(b[endB]))) ++endB;
      const std::size_t lenA = endA - startA, lenB = endB - startB;
      if (lenA != lenB) return lenA < lenB ? -1 : 1;
      if (const int c = a.substr(startA, lenA).compare(b.substr(startB, lenB)); c != 0) return c < 0 ? -1 : 1;
      i = endA;
      j = endB;
      continue;
    }
    if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? -1 : 1;
    ++i;
    ++j;
  }
  if (i == a.size() && j == b.size()) return 0;
  return i == a.size() ? -1 : 1;
}

// The leading decimal number of `text` as NSString's floatValue reads it: blanks
// skipped, an optional sign, digits with an optional fraction and an optional decimal
// exponent; 0 when the text does not start with such a number. Hexadecimal forms,
// "inf" and "nan" are not numbers here, and the decimal point is always '.', whatever
// the process's C locale says.
float leadingDecimalNumber(std::string_view text) {
  std::size_t i = 0;
  auto digitAt = [&](std::size_t at) { return at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); };
  auto skipDigits = [&](std::size_t at) {
    while (digitAt(at)) ++at;
    return at;
  };
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t start = i;
  std::size_t end = skipDigits(i);
  bool anyDigit = end > start;
  if (end < text.size() && text[end] == '.') {
    const std::size_t fractionEnd = skipDigits(end + 1);
    anyDigit = anyDigit || fractionEnd > end + 1;
    end = fractionEnd;
  }
  if (!anyDigit) return 0;
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    std::size_t exponent = end + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    if (digitAt(exponent)) end = skipDigits(exponent);
  }
  // The scanned digits are read in the C locale, so the decimal point is always '.';
  // overflow gives HUGE_VAL and underflow 0, as the platform's reader answers.
  static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", nullptr);
  const std::string digits(text.substr(start, end - start));
  const double value = ::strtod_l(digits.c_str(), nullptr, cLocale);
  const float magnitude = value > FLT_MAX ? HUGE_VALF : static_cast<float>(value);
  return negative ? -magnitude : magnitude;
}

// The vendor identifier in the platform's UUID text: 8-4-4-4-12 hexadecimal digits,
// upper case. Nothing when `text` is not a UUID.
std::optional<std::string> canonicalUUID(std::string_view text) {
  if (text.size() != 36) return std::nullopt;
  std::string canonical(text);
  for (std::size_t i = 0; i < canonical.size(); ++i) {
    const bool hyphenPlace = i == 8 || i == 13 || i == 18 || i == 23;
    const auto c = static_cast<unsigned char>(canonical[i]);
    if (hyphenPlace ? c != '-' : !std::isxdigit(c)) return std::nullopt;
    canonical[i] = static_cast<char>(std::toupper(c));
  }
  return canonical;
}

bool isOS(float version) { return systemFloatVersion() >= version && systemFloatVersion() < version + 1; }

}  // namespace

std::optional<Size> fromRawValue(std::type_identity<Size>, std::int64_t raw) {
  if (raw < 0 || raw > 10) return std::nullopt;
  return static_cast<Size>(raw);
}

float rawValue(Versions version) { return 8.0f + static_cast<float>(static_cast<int>(version)); }

std::optional<Versions> fromRawValue(std::type_identity<Versions>, float raw) {
  for (int v = 0; v <= 4; ++v) {
    if (raw == 8.0f + static_cast<float>(v)) return static_cast<Versions>(v);
  }
  return std::nullopt;
}

std::string systemName() { return ios::UIDevice::current().systemName(); }
std::string systemVersion() { return ios::UIDevice::current().systemVersion(); }
std::string deviceName() { return ios::UIDevice::current().name(); }

float systemFloatVersion() { return leadingDecimalNumber(systemVersion()); }

std::string deviceLanguage() {
  const auto languages = ios::Bundle::main().preferredLocalizations();
  return languages.empty() ? std::string() : languages.front();
}

std::string deviceModel() { return ios::utsnameMachine(); }

std::string deviceModelReadable() {
  const std::string model = deviceModel();
  auto it = deviceList().find(model);
  return it == deviceList().end() ? model : it->second;
}

std::string deviceUUID() {
  const std::optional<std::string> identifier = ios::UIDevice::current().identifierForVendor();
  if (!identifier) return "";
  return canonicalUUID(*identifier).value_or("");
}
std::string idForVendor() { return deviceUUID(); }
bool isPhone() { return ios::UIDevice::current().userInterfaceIdiom() == ios::UIUserInterfaceIdiom::phone; }
bool isPad() { return ios::UIDevice::current().userInterfaceIdiom() == ios::UIUserInterfaceIdiom::pad; }

bool isVersion(Versions version) {
  return rawValue(version) <= systemFloatVersion() && systemFloatVersion() < rawValue(version) + 1;
}
bool isVersionOrLater(Versions version) { return rawValue(version) <= systemFloatVersion(); }
bool isVersionOrEarlier(Versions version) { return systemFloatVersion() < rawValue(version) + 1; }

std::string CURRENT_VERSION() { return ios::describe(systemFloatVersion()); }

bool IS_OS_8() { return isOS(8); }
bool IS_OS_9() { return isOS(9); }
bool IS_OS_10() { return isOS(10); }
bool IS_OS_11() { return isOS(11); }
bool IS_OS_12() { return isOS(12); }
bool IS_OS_8_OR_LATER() { return systemFloatVersion() >= 8; }
bool IS_OS_9_OR_LATER() { return systemFloatVersion() >= 9; }
bool IS_OS_10_OR_LATER() { return systemFloatVersion() >= 10; }
bool IS_OS_11_OR_LATER() { return systemFloatVersion() >= 11; }
bool IS_OS_12_OR_LATER() { return systemFloatVersion() >= 12; }
bool IS_OS_8_OR_EARLIER() { return systemFloatVersion() < 9; }
bool IS_OS_9_OR_EARLIER() { return systemFloatVersion() < 10; }
bool IS_OS_10_OR_EARLIER() { return systemFloatVersion() < 11; }
bool IS_OS_11_OR_EARLIER() { return systemFloatVersion() < 12; }
bool IS_OS_12_OR_EARLIER() { return systemFloatVersion() < 13; }

bool isSystemVersionOver(const std::string& version) { return compareNumerically(systemVersion(), version) >= 0; }

Size size() {
  const ios::CGRect bounds = ios::UIScreen::main().bounds();
  const ios::CGFloat longer = std::max(bounds.size.width, bounds.size.height);
  const ios::CGFloat scale = ios::UIScreen::main().scale();
  if (longer == 480) return Size::screen3_5Inch;
  if (longer == 568) return Size::screen4Inch;
  if (longer == 667) return scale == 3 ? Size::screen5_5Inch : Size::screen4_7Inch;
  if (longer == 736) return Size::screen5_5Inch;
  if (longer == 812) return Size::screen5_8Inch;
  if (longer == 896) return scale == 3 ? Size::screen6_5Inch : Size::screen6_1Inch;
  if (longer == 1024) {
    return deviceModelReadable().find("iPad Mini") != std::string::npos ? Size::screen7_9Inch : Size::screen9_7Inch;
  }
  if (longer == 1366) return Size::screen12_9Inch;
  return Size::unknownSize;
}

bool isEqualToScreenSize(Size s) { return size() == s; }
bool isLargerThanScreenSize(Size s) { return rawValue(size()) > rawValue(s); }
bool isSmallerThanScreenSize(Size s) { return rawValue(size()) < rawValue(s); }

std::uint64_t diskSize() {
  auto volume = homeVolume();
  return volume ? volume->systemSize : 0;
}

std::uint64_t diskFreeSize() {
  auto volume = homeVolume();
  return volume ? volume->systemFreeSize : 0;
}

std::uint64_t diskUsedSize() {
  auto volume = homeVolume();
  if (!volume || volume->systemFreeSize > volume->systemSize) return 0;
  return volume->systemSize - volume->systemFreeSize;
}

std::uint64_t allFileNumber() {
  auto volume = homeVolume();
  if (!volume || volume->systemFreeNodes > volume->systemNodes) return 0;
  return volume->systemNodes - volume->systemFreeNodes;
}

std::string ios_describe(Size value) {
  switch (value) {
    case Size::unknownSize: return "unknownSize";
    case Size::screen3_5Inch: return "screen3_5Inch";
    case Size::screen4Inch: return "screen4Inch";
    case Size::screen4_7Inch: return "screen4_7Inch";
    case Size::screen5_5Inch: return "screen5_5Inch";
    case Size::screen5_8Inch: return "screen5_8Inch";
    case Size::screen6_1Inch: return "screen6_1Inch";
    case Size::screen6_5Inch: return "screen6_5Inch";
    case Size::screen7_9Inch: return "screen7_9Inch";
    case Size::screen9_7Inch: return "screen9_7Inch";
    case Size::screen12_9Inch: return "screen12_9Inch";
  }
  notACase("Size", static_cast<std::int64_t>(value));
}

std::string ios_describe(Versions value) {
  switch (value) {
    case Versions::eight: return "eight";
    case Versions::nine: return "nine";
    case Versions::ten: return "ten";
    case Versions::eleven: return "eleven";
    case Versions::twelve: return "twelve";
  }
  notACase("Versions", static_cast<std::int64_t>(value));
}

}  // namespace kp
