#include "platform/foundation/StringCase.h"

#include "platform/foundation/internal/ICU.h"
#include "platform/foundation/internal/UTF8.h"

namespace ios {
namespace {

bool isASCII(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> lowercased(std::string_view text) {
  if (isASCII(text)) {
    std::string out(text);
    for (char& c : out) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
  }
  if (!utf8_internal::isValid(text)) return std::nullopt;
  icu::UnicodeString unicode = icu_internal::toUnicode(text);
  unicode.toLower(icu::Locale::getRoot());
  return icu_internal::toUTF8(unicode);
}

std::optional<std::string> uppercased(std::string_view text) {
  if (isASCII(text)) {
    std::string out(text);
    for (char& c : out) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
  }
  if (!utf8_internal::isValid(text)) return std::nullopt;
  icu::UnicodeString unicode = icu_internal::toUnicode(text);
  unicode.toUpper(icu::Locale::getRoot());
  return icu_internal::toUTF8(unicode);
}

}  // namespace ios
