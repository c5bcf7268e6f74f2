// File: platform/foundation/CharacterSet.h
//
// Sets of Unicode scalars: the platform's predefined sets, sets of given characters,
// and their unions and complements.
//
//   ios::CharacterSet::letters().contains(U'é');                  // true
//   ios::CharacterSet(std::string_view("+-")).contains(U'-');     // true
//   ios::rangeOfCharacter("abc1", ios::CharacterSet::decimalDigits());  // {3, 1}
//
// Fidelity: the predefined sets follow the platform's definitions by general category
// (letters: L* and M*; decimalDigits: Nd; alphanumerics: L*, M* and N*; whitespaces:
// Zs and tab; whitespacesAndNewlines: Z*, tab and U+000A ... U+000D, U+0085; newlines:
// U+000A ... U+000D, U+0085, U+2028, U+2029; punctuationCharacters: P*; symbols: S*;
// uppercaseLetters: Lu and Lt; lowercaseLetters: Ll; capitalizedLetters: Lt;
// controlCharacters: Cc and Cf; nonBaseCharacters: M*), with ICU's Unicode data. The URL
// sets hold the ASCII letters and digits and the characters RFC 3986 allows unescaped
// in that part: host "-._~!$&'()*+,;=:[]", path "-._~!$&'()*+,;=:@/", query and
// fragment "-._~!$&'()*+,;=:@/?", user and password "-._~!$&'()*+,;=".
// Differs: membership only (no bitmap representation, no mutation besides the
// set-algebra helpers). The other predefined sets are absent.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

namespace ios {

class CharacterSet {
 public:
  // The set of the scalars of `characters` (charactersIn:); ill-formed bytes add
  // U+FFFD.
  explicit CharacterSet(std::string_view characters);

  [[nodiscard]] static CharacterSet letters();
  [[nodiscard]] static CharacterSet decimalDigits();
  [[nodiscard]] static CharacterSet alphanumerics();
  [[nodiscard]] static CharacterSet whitespaces();
  [[nodiscard]] static CharacterSet whitespacesAndNewlines();
  [[nodiscard]] static CharacterSet newlines();
  [[nodiscard]] static CharacterSet punctuationCharacters();
  [[nodiscard]] static CharacterSet symbols();
  [[nodiscard]] static CharacterSet uppercaseLetters();
  [[nodiscard]] static CharacterSet lowercaseLetters();
  [[nodiscard]] static CharacterSet capitalizedLetters();
  [[nodiscard]] static CharacterSet controlCharacters();
  [[nodiscard]] static CharacterSet nonBaseCharacters();
  [[nodiscard]] static CharacterSet urlHostAllowed();
  [[nodiscard]] static CharacterSet urlPathAllowed();
  [[nodiscard]] static CharacterSet urlQueryAllowed();
  [[nodiscard]] static CharacterSet urlFragmentAllowed();
  [[nodiscard]] static CharacterSet urlUserAllowed();
  [[nodiscard]] static CharacterSet urlPasswordAllowed();

  // True when `scalar` is in the set.
  [[nodiscard]] bool contains(char32_t scalar) const { return (*member_)(scalar); }

  // The scalars in this set or in `other`.
  [[nodiscard]] CharacterSet union_(const CharacterSet& other) const;
  // The scalars not in this set.
  [[nodiscard]] CharacterSet inverted() const;

 private:
  using Member = std::function<bool(char32_t)>;
  explicit CharacterSet(Member member) : member_(std::make_shared<const Member>(std::move(member))) {}

  std::shared_ptr<const Member> member_;
};

// rangeOfCharacter()
//
// The byte range (offset, length) of the first scalar of `text` that is in `set`, or
// nothing.
[[nodiscard]] std::optional<std::pair<std::size_t, std::size_t>> rangeOfCharacter(std::string_view text,
                                                                                   const CharacterSet& set);

}  // namespace ios
