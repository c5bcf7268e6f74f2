#include "platform/foundation/Character.h"

#include "platform/foundation/Describe.h"
#include "platform/foundation/Precondition.h"
#include "platform/foundation/internal/Unicode.h"

namespace ios {
namespace {

namespace u = unicode_internal;

bool isOneCluster(std::string_view text) {
  return !text.empty() && u::isValidUTF8(text) && u::firstGraphemeLength(text) == text.size();
}

bool allASCII(std::string_view text) {
  for (unsigned char c : text) {
    if (c >= 0x80) return false;
  }
  return true;
}

}  // namespace

Character::Character(std::string_view text) : text_(text) {
  KP_PRECONDITION(isOneCluster(text), "Character: the text must be exactly one extended grapheme cluster");
}

Character::Character(char32_t scalar) {
  KP_PRECONDITION(u::isScalar(scalar), "Character: not a Unicode scalar");
  u::appendUTF8(text_, scalar);
}

std::optional<Character> Character::fromString(std::string_view text) {
  if (!isOneCluster(text)) return std::nullopt;
  return Character(Unchecked{}, std::string(text));
}

std::optional<Character> Character::first(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::string prefix(text.substr(0, u::firstGraphemeLength(text)));
  if (!u::isValidUTF8(prefix)) prefix = "\uFFFD";  // a lone ill-formed byte
  return Character(Unchecked{}, std::move(prefix));
}

std::vector<char32_t> Character::unicodeScalars() const { return u::scalars(text_); }

char32_t Character::firstScalar() const {
  std::size_t position = 0;
  return u::decodeScalar(text_, position);
}

bool Character::isSingleScalar() const {
  std::size_t position = 0;
  (void)u::decodeScalar(text_, position);
  return position == text_.size();
}

std::optional<std::uint8_t> Character::asciiValue() const {
  if (text_.size() == 1 && static_cast<unsigned char>(text_[0]) < 0x80) {
    return static_cast<std::uint8_t>(text_[0]);
  }
  if (text_ == "\r\n") return std::uint8_t{'\n'};
  return std::nullopt;
}

bool Character::isLetter() const { return u::isAlphabetic(firstScalar()); }
bool Character::isNumber() const { return u::hasNumericType(firstScalar()); }

std::optional<std::int64_t> Character::wholeNumberValue() const {
  if (!isSingleScalar()) return std::nullopt;
  std::int64_t value = 0;
  if (!u::wholeNumberValue(firstScalar(), value)) return std::nullopt;
  return value;
}

std::optional<int> Character::hexDigitValue() const {
  if (!isSingleScalar()) return std::nullopt;
  const char32_t c = firstScalar();
  if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
  if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a' + 10);
  if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A' + 10);
  if (c >= U'\uFF10' && c <= U'\uFF19') return static_cast<int>(c - U'\uFF10');  // full-width 0-9
  if (c >= U'\uFF41' && c <= U'\uFF46') return static_cast<int>(c - U'\uFF41' + 10);  // full-width a-f
  if (c >= U'\uFF21' && c <= U'\uFF26') return static_cast<int>(c - U'\uFF21' + 10);  // full-width A-F
  return std::nullopt;
}

bool Character::isWhitespace() const { return u::isWhiteSpace(firstScalar()); }

bool Character::isNewline() const {
  const char32_t c = firstScalar();
  return (c >= U'\n' && c <= U'\r') || c == U'\u0085' || c == U'\u2028' || c == U'\u2029';
}

bool Character::isPunctuation() const {
  return u::categoryGroup(firstScalar()) == u::CategoryGroup::punctuation;
}
bool Character::isSymbol() const { return u::categoryGroup(firstScalar()) == u::CategoryGroup::symbol; }
bool Character::isMathSymbol() const { return u::isMathProperty(firstScalar()); }
bool Character::isCurrencySymbol() const { return u::isCurrencySymbol(firstScalar()); }

bool Character::isUppercase() const {
  if (isSingleScalar() && u::isUppercaseProperty(firstScalar())) return true;
  return uppercased() == text_ && isCased();
}

bool Character::isLowercase() const {
  if (isSingleScalar() && u::isLowercaseProperty(firstScalar())) return true;
  return lowercased() == text_ && isCased();
}

bool Character::isCased() const {
  if (isSingleScalar() && u::isCasedProperty(firstScalar())) return true;
  return uppercased() != text_ || lowercased() != text_;
}

std::string Character::uppercased() const {
  if (text_.size() == 1 && static_cast<unsigned char>(text_[0]) < 0x80) {
    const char c = text_[0];
    return std::string(1, (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c);
  }
  return u::uppercased(text_);
}

std::string Character::lowercased() const {
  if (text_.size() == 1 && static_cast<unsigned char>(text_[0]) < 0x80) {
    const char c = text_[0];
    return std::string(1, (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c);
  }
  return u::lowercased(text_);
}

std::string Character::canonical() const { return allASCII(text_) ? text_ : u::nfc(text_); }

bool operator==(const Character& lhs, const Character& rhs) {
  if (lhs.text_ == rhs.text_) return true;
  if (allASCII(lhs.text_) && allASCII(rhs.text_)) return false;
  return lhs.canonical() == rhs.canonical();
}

std::strong_ordering operator<=>(const Character& lhs, const Character& rhs) {
  if (lhs.text_ == rhs.text_) return std::strong_ordering::equal;
  // UTF-8 byte order is scalar order.
  const int order = lhs.canonical().compare(rhs.canonical());
  return order < 0 ? std::strong_ordering::less
                   : (order > 0 ? std::strong_ordering::greater : std::strong_ordering::equal);
}

std::size_t Character::hashValue() const { return std::hash<std::string>{}(canonical()); }

std::string ios_debugDescribe(const Character& c) { return quotedString(c.utf8()); }

}  // namespace ios
