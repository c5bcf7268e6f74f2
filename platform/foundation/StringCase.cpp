#include "platform/foundation/StringCase.h"

#include "platform/foundation/internal/ICU.h"
#include "platform/foundation/internal/UTF8.h"

namespace ios {
namespace {

enum class Case { lower, upper };

std::optional<std::string> mapCase(std::string_view text, Case target) {
  bool ascii = true;
  for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) {
    // The common case needs no conversion to UTF-16.
    const char from = target == Case::lower ? 'A' : 'a';
    const char to = target == Case::lower ? 'a' : 'A';
    std::string out(text);
    for (char& c : out) {
      if (c >= from && c <= from + 25) c = static_cast<char>(c - from + to);
    }
    return out;
  }
  if (!utf8_internal::isValid(text)) return std::nullopt;
  icu::UnicodeString unicode = icu_internal::toUnicode(text);
  if (target == Case::lower) {
    unicode.toLower(icu::Locale::getRoot());
  } else {
    unicode.toUpper(icu::Locale::getRoot());
  }
  return icu_internal::toUTF8(unicode);
}

}  // namespace

std::optional<std::string> lowercased(std::string_view text) { return mapCase(text, Case::lower); }

std::optional<std::string> uppercased(std::string_view text) { return mapCase(text, Case::upper); }

}  // namespace ios
