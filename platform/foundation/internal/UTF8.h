// File: platform/foundation/internal/UTF8.h
//
// Strict UTF-8 validation for the stand-in's text services.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace ios::utf8_internal {

// True when `text` is well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF, no truncated sequence.
[[nodiscard]] inline bool isValid(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    // Skip ASCII eight bytes at a time.
    std::uint64_t word = 0;
    while (end - p >= 8 && (std::memcpy(&word, p, 8), (word & 0x8080808080808080ull) == 0)) p += 8;
    if (p == end) break;
    const unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int length = 0;
    std::uint32_t lowest = 0;
    std::uint32_t code = 0;
    if ((c & 0xE0) == 0xC0) {
      length = 2;
      lowest = 0x80;
      code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      length = 3;
      lowest = 0x800;
      code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      length = 4;
      lowest = 0x10000;
      code = c & 0x07;
    } else {
      return false;
    }
    if (end - p < length) return false;
    for (int i = 1; i < length; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
      code = (code << 6) | (p[i] & 0x3F);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    p += length;
  }
  return true;
}

}  // namespace ios::utf8_internal
