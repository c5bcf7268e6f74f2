#include "platform/foundation/Data.h"

#include "platform/foundation/internal/UTF8.h"

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
constexpr char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int base64Digit(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}
}  // namespace

std::string base64EncodedString(const Data& bytes) {
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const std::uint32_t n = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
    for (int shift = 18; shift >= 0; shift -= 6) text += kBase64Alphabet[(n >> shift) & 63];
  }
  const std::size_t rest = bytes.size() - i;
  if (rest > 0) {
    std::uint32_t n = bytes[i] << 16;
    if (rest == 2) n |= bytes[i + 1] << 8;
    text += kBase64Alphabet[(n >> 18) & 63];
    text += kBase64Alphabet[(n >> 12) & 63];
    text += rest == 2 ? kBase64Alphabet[(n >> 6) & 63] : '=';
    text += '=';
  }
  return text;
}

std::optional<Data> dataFromBase64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  Data bytes;
  bytes.reserve(text.size() / 4 * 3);
  for (std::size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    int digits[4];
    int padding = 0;
    for (int k = 0; k < 4; ++k) {
      const char c = text[i + k];
      if (c == '=' && last && k >= 2) {
        ++padding;
        digits[k] = 0;
        continue;
      }
      if (padding > 0) return std::nullopt;  // a digit after padding
      digits[k] = base64Digit(c);
      if (digits[k] < 0) return std::nullopt;
    }
    const std::uint32_t n = (digits[0] << 18) | (digits[1] << 12) | (digits[2] << 6) | digits[3];
    bytes.push_back(static_cast<std::uint8_t>(n >> 16));
    if (padding < 2) bytes.push_back(static_cast<std::uint8_t>(n >> 8));
    if (padding < 1) bytes.push_back(static_cast<std::uint8_t>(n));
  }
  return bytes;
}

}  // namespace ios
