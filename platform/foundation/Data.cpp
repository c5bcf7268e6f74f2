#include "platform/foundation/Data.h"

#include "platform/foundation/internal/UTF8.h"
#include "platform/foundation/internal/Unicode.h"

namespace ios {

bool isValidUTF8(std::string_view text) { return utf8_internal::isValid(text); }

std::optional<Data> dataUsingUTF8(std::string_view text) {
  if (!isValidUTF8(text)) return std::nullopt;
  return Data(text.begin(), text.end());
}

std::optional<std::string> stringFromUTF8(const Data& bytes) {
  std::string text(bytes.begin(), bytes.end());
  if (!isValidUTF8(text)) return std::nullopt;
  return text;
}

namespace {

constexpr std::string_view kBase64Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

int hexValue(std::uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void appendEscapedUnit(Data& out, std::uint32_t unit) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('\\');
  out.push_back('u');
  for (int shift = 12; shift >= 0; shift -= 4) out.push_back(static_cast<std::uint8_t>(kHex[(unit >> shift) & 0xF]));
}

}  // namespace

std::string base64EncodedString(const Data& bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const std::uint32_t v = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
    for (int shift = 18; shift >= 0; shift -= 6) out += kBase64Alphabet[(v >> shift) & 0x3F];
  }
  if (const std::size_t rest = bytes.size() - i; rest > 0) {
    const std::uint32_t v = (bytes[i] << 16) | (rest == 2 ? bytes[i + 1] << 8 : 0);
    out += kBase64Alphabet[(v >> 18) & 0x3F];
    out += kBase64Alphabet[(v >> 12) & 0x3F];
    out += rest == 2 ? kBase64Alphabet[(v >> 6) & 0x3F] : '=';
    out += '=';
  }
  return out;
}

std::optional<Data> dataFromBase64Encoded(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  Data out;
  out.reserve(text.size() / 4 * 3);
  for (std::size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    std::size_t padding = 0;
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < 4; ++k) {
      const char c = text[i + k];
      if (c == '=' && last && k >= 2) {
        ++padding;
        v <<= 6;
        continue;
      }
      const int value = base64Value(c);
      if (value < 0 || padding > 0) return std::nullopt;  // a character after "=" included
      v = (v << 6) | static_cast<std::uint32_t>(value);
    }
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    if (padding < 2) out.push_back(static_cast<std::uint8_t>(v >> 8));
    if (padding < 1) out.push_back(static_cast<std::uint8_t>(v));
  }
  return out;
}

std::optional<Data> dataUsingNonLossyASCII(std::string_view text) {
  if (!isValidUTF8(text)) return std::nullopt;
  Data out;
  out.reserve(text.size());
  for (std::size_t p = 0; p < text.size();) {
    const char32_t scalar = unicode_internal::decodeScalar(text, p);  // well formed: checked above
    if (scalar == '\\') {
      out.push_back('\\');
      out.push_back('\\');
    } else if (scalar < 0x80) {
      out.push_back(static_cast<std::uint8_t>(scalar));
    } else if (scalar <= 0xFF) {
      out.push_back('\\');
      for (int shift = 6; shift >= 0; shift -= 3) out.push_back(static_cast<std::uint8_t>('0' + ((scalar >> shift) & 7)));
    } else if (scalar <= 0xFFFF) {
      appendEscapedUnit(out, scalar);
    } else {
      appendEscapedUnit(out, 0xD800 + ((scalar - 0x10000) >> 10));
      appendEscapedUnit(out, 0xDC00 + ((scalar - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::optional<std::string> stringFromNonLossyASCII(const Data& bytes) {
  std::string out;
  const auto append = [&out](std::uint32_t scalar) { unicode_internal::appendUTF8(out, scalar); };
  // Reads "\uXXXX" at `i`; -1 when malformed.
  const auto unitAt = [&bytes](std::size_t i) -> long {
    if (i + 6 > bytes.size() || bytes[i] != '\\' || bytes[i + 1] != 'u') return -1;
    long unit = 0;
    for (std::size_t k = 2; k < 6; ++k) {
      const int digit = hexValue(bytes[i + k]);
      if (digit < 0) return -1;
      unit = unit * 16 + digit;
    }
    return unit;
  };
  for (std::size_t i = 0; i < bytes.size();) {
    const std::uint8_t c = bytes[i];
    if (c >= 0x80) return std::nullopt;
    if (c != '\\') {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    if (i + 1 >= bytes.size()) return std::nullopt;
    const std::uint8_t next = bytes[i + 1];
    if (next == '\\') {
      out += '\\';
      i += 2;
    } else if (next == 'u') {
      const long unit = unitAt(i);
      if (unit < 0 || (unit >= 0xDC00 && unit <= 0xDFFF)) return std::nullopt;
      if (unit >= 0xD800 && unit <= 0xDBFF) {
        const long low = unitAt(i + 6);
        if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
        append(0x10000 + ((static_cast<std::uint32_t>(unit) - 0xD800) << 10) + (static_cast<std::uint32_t>(low) - 0xDC00));
        i += 12;
      } else {
        append(static_cast<std::uint32_t>(unit));
        i += 6;
      }
    } else if (next >= '0' && next <= '7') {
      if (i + 4 > bytes.size()) return std::nullopt;
      std::uint32_t value = 0;
      for (std::size_t k = 1; k <= 3; ++k) {
        if (bytes[i + k] < '0' || bytes[i + k] > '7') return std::nullopt;
        value = value * 8 + (bytes[i + k] - '0');
      }
      if (value > 0xFF) return std::nullopt;
      append(value);
      i += 4;
    } else {
      return std::nullopt;
    }
  }
  return out;
}

}  // namespace ios
