// File: platform/foundation/Data.h
//
// Bytes, and text encoded as bytes.
//
//   ios::Data bytes = *ios::dataUsingUTF8("héllo");   // 6 bytes
//   ios::stringFromUTF8(bytes);                         // "héllo"
//   ios::stringFromUTF8(ios::Data{0xff});               // nothing: not UTF-8
//   ios::base64EncodedString(ios::Data{'h', 'i'});      // "aGk="
//   ios::dataUsingNonLossyASCII("é中");                 // the bytes of "\351\u4e2d"
//
// Fidelity: the platform's byte buffer is a vector of bytes of its own type here, so
// that bytes and a list of small numbers (a std::vector<std::uint8_t>, which bridges
// as an array of numbers like every other integer vector) stay apart; it converts from
// and to such a vector freely. Base64 is
// RFC 4648's standard alphabet with "=" padding and no line breaks; decoding is strict,
// as the platform's is without options (no other characters, no missing padding). The
// non-lossy ASCII encoding writes a backslash as two backslashes, U+0080 ... U+00FF as a
// backslash and three octal digits, and every other UTF-16 unit above U+007F as "\u"
// and four lower-case hexadecimal digits (a scalar above U+FFFF as its surrogate pair);
// reading it back accepts upper- and lower-case hexadecimal digits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ios {

class Data : public std::vector<std::uint8_t> {
 public:
  using std::vector<std::uint8_t>::vector;
  Data() = default;
  Data(std::vector<std::uint8_t> bytes)  // NOLINT: implicit, bytes are bytes
      : std::vector<std::uint8_t>(std::move(bytes)) {}
};

// The UTF-8 bytes of `text`, or nothing when `text` is not well-formed UTF-8.
[[nodiscard]] std::optional<Data> dataUsingUTF8(std::string_view text);
// The text of UTF-8 `bytes`, or nothing when they are not well-formed UTF-8.
[[nodiscard]] std::optional<std::string> stringFromUTF8(const Data& bytes);
// base64EncodedString()
//
// `bytes` as base64 text (standard alphabet, padded, no line breaks).
[[nodiscard]] std::string base64EncodedString(const Data& bytes);

// dataFromBase64Encoded()
//
// The bytes of the base64 `text`, or nothing when its length is not a multiple of 4,
// it holds a character outside the alphabet, or its padding is misplaced.
[[nodiscard]] std::optional<Data> dataFromBase64Encoded(std::string_view text);

// dataUsingNonLossyASCII()
//
// The non-lossy ASCII bytes of `text` (see above), or nothing when `text` is not
// well-formed UTF-8.
[[nodiscard]] std::optional<Data> dataUsingNonLossyASCII(std::string_view text);

// stringFromNonLossyASCII()
//
// The text that the non-lossy ASCII `bytes` encode, or nothing when they hold a byte
// above 0x7F, a malformed escape, a lone backslash or a lone surrogate.
[[nodiscard]] std::optional<std::string> stringFromNonLossyASCII(const Data& bytes);

// Whether `text` is well-formed UTF-8.
[[nodiscard]] bool isValidUTF8(std::string_view text);

}  // namespace ios
