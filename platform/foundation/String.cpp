#include "platform/foundation/String.h"

#include <algorithm>

#include "platform/foundation/internal/Unicode.h"

namespace ios {

std::vector<std::size_t> characterBoundaries(std::string_view text) {
  return unicode_internal::graphemeBoundaries(text);
}

std::optional<std::size_t> index(std::string_view text, std::size_t from, std::size_t distance) {
  std::size_t position = from;
  std::size_t window = 256;
  while (distance > 0) {
    if (position >= text.size()) return std::nullopt;
    // Segment a window of the text; its last boundary may be cut by the window's end
    // unless the window reaches the end of the text, so only the clusters before that
    // one are taken.
    std::size_t end = std::min(text.size(), position + window);
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    const std::vector<std::size_t> bounds = unicode_internal::graphemeBoundaries(text.substr(position, end - position));
    const std::size_t complete = end == text.size() ? bounds.size() - 1 : bounds.size() - 2;
    if (complete == 0) {
      window *= 2;  // one cluster longer than the window
      continue;
    }
    if (distance <= complete) return position + bounds[distance];
    if (end == text.size()) return std::nullopt;
    distance -= complete;
    position += bounds[complete];
    window = std::min<std::size_t>(window * 2, 1 << 16);
  }
  return position;
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
