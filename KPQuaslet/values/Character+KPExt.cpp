#include "KPQuaslet/values/Character+KPExt.h"

#include "platform/foundation/CharacterSet.h"
#include "platform/foundation/Precondition.h"
#include "platform/foundation/Random.h"

namespace kp {
namespace {

// The first character of a mapped text (a case mapping never gives empty text).
ios::Character firstCharacter(const std::string& text) {
  auto first = ios::Character::first(text);
  KP_PRECONDITION(first.has_value(), "a case mapping gave no character");
  return *first;
}

}  // namespace

bool isEmoji(const ios::Character& c) {
  const char32_t v = c.firstScalar();
  return v == 0x3030 || v == 0x00AE || v == 0x00A9 || (v >= 0x1D000 && v <= 0x1F77F) ||
         (v >= 0x2100 && v <= 0x27BF) || (v >= 0xFE00 && v <= 0xFE0F) || (v >= 0x1F900 && v <= 0x1F9FF);
}

bool isNumber(const ios::Character& c) { return int_(c).has_value(); }

std::optional<std::int64_t> int_(const ios::Character& c) {
  // One character parses as an integer only when it is a single ASCII digit.
  const std::string& text = c.utf8();
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') return text[0] - '0';
  return std::nullopt;
}

bool isLetter(const ios::Character& c) {
  static const ios::CharacterSet letters = ios::CharacterSet::letters();
  return ios::rangeOfCharacter(c.utf8(), letters).has_value();
}

bool isUppercased(const ios::Character& c) { return c.uppercased() == c.utf8(); }
bool isLowercased(const ios::Character& c) { return c.lowercased() == c.utf8(); }

bool isWhiteSpace(const ios::Character& c) { return c.utf8() == " "; }

ios::Character lowercased(const ios::Character& c) { return firstCharacter(c.lowercased()); }
ios::Character uppercased(const ios::Character& c) { return firstCharacter(c.uppercased()); }

ios::Character randomAlphanumericCharacter() {
  const auto index = ios::arc4random_uniform(static_cast<std::uint32_t>(kAlphanumericCharacters.size()));
  return ios::Character(static_cast<char32_t>(kAlphanumericCharacters[index]));
}

std::string repeating(const ios::Character& c, std::int64_t count) {
  std::string out;
  if (count <= 0) return out;
  // The size would wrap around rather than fail: a text too long to be a string stops.
  KP_PRECONDITION(static_cast<std::uint64_t>(count) <= out.max_size() / c.utf8().size(),
                  "repeating: the result is too long");
  out.reserve(c.utf8().size() * static_cast<std::size_t>(count));
  for (std::int64_t i = 0; i < count; ++i) out += c.utf8();
  return out;
}

}  // namespace kp
