// File: platform/foundation/Character.h
//
// One user-perceived character: an extended grapheme cluster, stored as UTF-8.
//
//   ios::Character e("e\u0301");     // "é" as e + combining acute accent
//   e == ios::Character(U'\u00E9');   // true: canonically equivalent
//   ios::Character(U'ß').uppercased();  // "SS"
//
// Fidelity: clusters follow Unicode's extended grapheme cluster rules (ICU's
// character break iterator); properties and case mappings are ICU's, with full case
// mapping and no language tailoring. Characters compare by canonical equivalence
// (their NFC forms), order by the scalars of their NFC forms, and hash consistently
// with that. Differs: the text must be well-formed UTF-8 forming exactly one cluster
// (checked; fromString() answers nothing instead of stopping). The platform's views
// other than the scalars (utf16, the literal protocols) are absent.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace ios {

class Character {
 public:
  // The character made of `text`. Precondition: `text` is well-formed UTF-8 and is
  // exactly one extended grapheme cluster; the process stops otherwise.
  explicit Character(std::string_view text);

  // The character made of one Unicode scalar. Precondition: `scalar` is at most
  // U+10FFFF and not a surrogate.
  explicit Character(char32_t scalar);

  // The character made of `text`, or nothing when `text` is not well-formed UTF-8 or
  // is not exactly one extended grapheme cluster.
  [[nodiscard]] static std::optional<Character> fromString(std::string_view text);

  // The first character of `text`, or nothing when `text` is empty. Ill-formed UTF-8
  // bytes read as U+FFFD.
  [[nodiscard]] static std::optional<Character> first(std::string_view text);

  // The character's UTF-8 bytes.
  [[nodiscard]] const std::string& utf8() const { return text_; }

  // The character's Unicode scalars, in order.
  [[nodiscard]] std::vector<char32_t> unicodeScalars() const;

  // The character's first Unicode scalar.
  [[nodiscard]] char32_t firstScalar() const;

  // True when the character is one ASCII scalar, or CR LF.
  [[nodiscard]] bool isASCII() const { return asciiValue().has_value(); }
  // The ASCII code of the character; CR LF answers 10 (line feed); nothing otherwise.
  [[nodiscard]] std::optional<std::uint8_t> asciiValue() const;

  // The first scalar is Alphabetic.
  [[nodiscard]] bool isLetter() const;
  // The first scalar has a numeric type (digits, fractions, Roman numerals ...).
  [[nodiscard]] bool isNumber() const;
  // The character is one scalar whose numeric value is a whole number.
  [[nodiscard]] bool isWholeNumber() const { return wholeNumberValue().has_value(); }
  // That whole number ("٣" is 3), or nothing.
  [[nodiscard]] std::optional<std::int64_t> wholeNumberValue() const;
  // The character is one scalar among 0-9, a-f, A-F and their full-width forms.
  [[nodiscard]] bool isHexDigit() const { return hexDigitValue().has_value(); }
  // The hexadecimal digit's value (0 to 15), or nothing.
  [[nodiscard]] std::optional<int> hexDigitValue() const;
  // The first scalar has the White_Space property (space, tab, line breaks ...).
  [[nodiscard]] bool isWhitespace() const;
  // The first scalar is LF, VT, FF, CR, NEL, U+2028 or U+2029 (so CR LF too).
  [[nodiscard]] bool isNewline() const;
  // The first scalar is punctuation (general category P*).
  [[nodiscard]] bool isPunctuation() const;
  // The first scalar is a symbol (general category S*).
  [[nodiscard]] bool isSymbol() const;
  // The first scalar has the Math property.
  [[nodiscard]] bool isMathSymbol() const;
  // The first scalar is a currency symbol (general category Sc).
  [[nodiscard]] bool isCurrencySymbol() const;
  // Upper-case: a single upper-case scalar, or a cased character equal to its
  // upper-case mapping.
  [[nodiscard]] bool isUppercase() const;
  // Lower-case: a single lower-case scalar, or a cased character equal to its
  // lower-case mapping.
  [[nodiscard]] bool isLowercase() const;
  // Cased: a single cased scalar, or a character changed by one of its case mappings.
  [[nodiscard]] bool isCased() const;

  // The full upper-case mapping, as text ("ß" gives "SS").
  [[nodiscard]] std::string uppercased() const;
  // The full lower-case mapping, as text ("İ" gives "i" followed by U+0307).
  [[nodiscard]] std::string lowercased() const;

  // Canonical equivalence.
  friend bool operator==(const Character& lhs, const Character& rhs);
  // Order of the scalars of the NFC forms.
  friend std::strong_ordering operator<=>(const Character& lhs, const Character& rhs);

  // A hash consistent with ==.
  [[nodiscard]] std::size_t hashValue() const;

 private:
  struct Unchecked {};
  Character(Unchecked, std::string text) : text_(std::move(text)) {}
  [[nodiscard]] bool isSingleScalar() const;
  [[nodiscard]] std::string canonical() const;

  std::string text_;
};

// The character as text.
[[nodiscard]] inline std::string ios_describe(const Character& c) { return c.utf8(); }
// The character quoted, as it is written inside a collection.
[[nodiscard]] std::string ios_debugDescribe(const Character& c);

inline std::ostream& operator<<(std::ostream& os, const Character& c) { return os << c.utf8(); }

}  // namespace ios

template <>
struct std::hash<::ios::Character> {
  std::size_t operator()(const ::ios::Character& c) const noexcept { return c.hashValue(); }
};
