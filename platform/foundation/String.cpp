#include "platform/foundation/String.h"

#include "platform/foundation/internal/Unicode.h"

namespace ios {

std::vector<std::size_t> characterBoundaries(std::string_view text) {
  return unicode_internal::graphemeBoundaries(text);
}

std::optional<std::size_t> index(std::string_view text, std::size_t from, std::size_t distance) {
  return unicode_internal::advanceGraphemes(text, from, distance);
}

std::size_t indexBefore(std::string_view text, std::size_t position) {
  return unicode_internal::lastGraphemeStart(text.substr(0, position));
}

std::size_t characterCount(std::string_view text) { return unicode_internal::graphemeCount(text); }

std::vector<char32_t> unicodeScalars(std::string_view text) { return unicode_internal::scalars(text); }

std::string precomposedStringWithCanonicalMapping(std::string_view text) { return unicode_internal::nfc(text); }

std::string decodingUTF8(std::string_view text) {
  if (unicode_internal::isValidUTF8(text)) return std::string(text);
  std::string out;
  out.reserve(text.size() + 2);
  for (std::size_t p = 0; p < text.size();) unicode_internal::appendUTF8(out, unicode_internal::decodeScalar(text, p));
  return out;
}

}  // namespace ios
