// File: platform/foundation/Data.h
//
// Bytes, and text encoded as bytes.
//
//   ios::Data bytes = *ios::dataUsingUTF8("héllo");   // 6 bytes
//   ios::stringFromUTF8(bytes);                         // "héllo"
//   ios::stringFromUTF8(ios::Data{0xff});               // nothing: not UTF-8
//   ios::base64EncodedString(ios::Data{'h', 'i'});      // "aGk="
//
// Fidelity: the platform's byte buffer is a plain vector of bytes here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ios {

using Data = std::vector<std::uint8_t>;

// The UTF-8 bytes of `text`, or nothing when `text` is not well-formed UTF-8.
[[nodiscard]] std::optional<Data> dataUsingUTF8(std::string_view text);
// The text of UTF-8 `bytes`, or nothing when they are not well-formed UTF-8.
[[nodiscard]] std::optional<std::string> stringFromUTF8(const Data& bytes);
// Whether `text` is well-formed UTF-8.
[[nodiscard]] bool isValidUTF8(std::string_view text);

// The bytes as Base64 text (standard alphabet, "=" padding, no line breaks).
[[nodiscard]] std::string base64EncodedString(const Data& bytes);
// The bytes that Base64 `text` holds, or nothing when it is not well-formed Base64.
[[nodiscard]] std::optional<Data> dataFromBase64(std::string_view text);

}  // namespace ios
