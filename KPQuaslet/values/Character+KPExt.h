// File: KPQuaslet/values/Character+KPExt.h
//
// Predicates and conversions of a single character (ios::Character), and repetition.
//
//   ios::Character seven('7');
//   kp::isNumber(seven);               // true
//   kp::int_(seven);                   // 7
//   kp::uppercased(ios::Character(U'ß'));   // "S": the first character of "SS"
//   ios::Character('x') * 3;           // "xxx"
//
// These differ on purpose from the platform's own Character members of similar names:
// kp::isNumber() accepts the ASCII digits only, kp::isLetter() also counts combining
// marks, and kp::isWhiteSpace() is true for the space U+0020 alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/foundation/Character.h"

namespace kp {

// isEmoji()
//
// True when the first scalar is U+00A9, U+00AE or U+3030, or lies in U+1D000 ...
// U+1F77F, U+2100 ... U+27BF, U+FE00 ... U+FE0F or U+1F900 ... U+1F9FF. Only the first
// scalar counts: a keycap that starts with a digit is not an emoji, and letter-like
// symbols (U+2100 ... U+214F) are.
[[nodiscard]] bool isEmoji(const ios::Character& c);

// isNumber()
//
// True when the character is one of the ASCII digits 0 to 9.
[[nodiscard]] bool isNumber(const ios::Character& c);

// int_()
//
// The digit's value when the character is an ASCII digit; nothing otherwise.
[[nodiscard]] std::optional<std::int64_t> int_(const ios::Character& c);

// isLetter()
//
// True when any scalar of the character is a letter or a mark (general categories L*
// and M*), so a lone combining accent counts.
[[nodiscard]] bool isLetter(const ios::Character& c);

// isUppercased(), isLowercased()
//
// True when the character's text equals its full upper-case (lower-case) mapping, so
// digits and punctuation are both.
[[nodiscard]] bool isUppercased(const ios::Character& c);
[[nodiscard]] bool isLowercased(const ios::Character& c);

// isWhiteSpace()
//
// True for the space U+0020 only (not for tabs or line breaks).
[[nodiscard]] bool isWhiteSpace(const ios::Character& c);

// string()
//
// The character as text.
[[nodiscard]] inline std::string string(const ios::Character& c) { return c.utf8(); }

// lowercased(), uppercased()
//
// The first character of the full lower-case (upper-case) mapping: a mapping that
// gives several characters keeps only the first ("ß" upper-cases to "S").
[[nodiscard]] ios::Character lowercased(const ios::Character& c);
[[nodiscard]] ios::Character uppercased(const ios::Character& c);

// The 62 characters randomAlphanumericCharacter() draws from.
inline constexpr std::string_view kAlphanumericCharacters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// randomAlphanumericCharacter()
//
// A character of kAlphanumericCharacters, at the position drawn by
// ios::arc4random_uniform(62).
[[nodiscard]] ios::Character randomAlphanumericCharacter();

// repeating()
//
// The character's text `count` times; "" when count <= 0. Stops the process when the
// result would be longer than a std::string can be.
[[nodiscard]] std::string repeating(const ios::Character& c, std::int64_t count);

}  // namespace kp

namespace ios {

// The character repeated `count` times (kp::repeating()), either way round.
[[nodiscard]] inline std::string operator*(const Character& c, std::int64_t count) { return kp::repeating(c, count); }
[[nodiscard]] inline std::string operator*(std::int64_t count, const Character& c) { return kp::repeating(c, count); }

}  // namespace ios
