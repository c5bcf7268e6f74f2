#include "platform/foundation/CharacterSet.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/foundation/internal/Unicode.h"

namespace ios {
namespace {

namespace u = unicode_internal;
using G = u::GeneralCategory;

bool isLetterCategory(G g) { return g == G::Lu || g == G::Ll || g == G::Lt || g == G::Lm || g == G::Lo; }
bool isMarkCategory(G g) { return g == G::Mn || g == G::Mc || g == G::Me; }
bool isNumberCategory(G g) { return g == G::Nd || g == G::Nl || g == G::No; }
bool isLineBreak(char32_t c) { return (c >= 0x0A && c <= 0x0D) || c == 0x85; }

}  // namespace

CharacterSet::CharacterSet(std::string_view characters) {
  std::vector<char32_t> scalars = u::scalars(characters);
  std::sort(scalars.begin(), scalars.end());
  scalars.erase(std::unique(scalars.begin(), scalars.end()), scalars.end());
  member_ = std::make_shared<const Member>(
      [scalars = std::move(scalars)](char32_t c) { return std::binary_search(scalars.begin(), scalars.end(), c); });
}

CharacterSet CharacterSet::letters() {
  return CharacterSet(Member([](char32_t c) {
    const G g = u::generalCategory(c);
    return isLetterCategory(g) || isMarkCategory(g);
  }));
}

CharacterSet CharacterSet::decimalDigits() {
  return CharacterSet(Member([](char32_t c) { return u::generalCategory(c) == G::Nd; }));
}

CharacterSet CharacterSet::alphanumerics() {
  return CharacterSet(Member([](char32_t c) {
    const G g = u::generalCategory(c);
    return isLetterCategory(g) || isMarkCategory(g) || isNumberCategory(g);
  }));
}

CharacterSet CharacterSet::whitespaces() {
  return CharacterSet(Member([](char32_t c) { return c == U'\t' || u::generalCategory(c) == G::Zs; }));
}

CharacterSet CharacterSet::whitespacesAndNewlines() {
  return CharacterSet(Member([](char32_t c) {
    const G g = u::generalCategory(c);
    return c == U'\t' || isLineBreak(c) || g == G::Zs || g == G::Zl || g == G::Zp;
  }));
}

CharacterSet CharacterSet::newlines() {
  return CharacterSet(Member([](char32_t c) { return isLineBreak(c) || c == 0x2028 || c == 0x2029; }));
}

CharacterSet CharacterSet::punctuationCharacters() {
  return CharacterSet(Member([](char32_t c) { return u::categoryGroup(c) == u::CategoryGroup::punctuation; }));
}

CharacterSet CharacterSet::symbols() {
  return CharacterSet(Member([](char32_t c) { return u::categoryGroup(c) == u::CategoryGroup::symbol; }));
}

CharacterSet CharacterSet::uppercaseLetters() {
  return CharacterSet(Member([](char32_t c) {
    const G g = u::generalCategory(c);
    return g == G::Lu || g == G::Lt;
  }));
}

CharacterSet CharacterSet::lowercaseLetters() {
  return CharacterSet(Member([](char32_t c) { return u::generalCategory(c) == G::Ll; }));
}

CharacterSet CharacterSet::capitalizedLetters() {
  return CharacterSet(Member([](char32_t c) { return u::generalCategory(c) == G::Lt; }));
}

CharacterSet CharacterSet::controlCharacters() {
  return CharacterSet(Member([](char32_t c) {
    const G g = u::generalCategory(c);
    return g == G::Cc || g == G::Cf;
  }));
}

CharacterSet CharacterSet::nonBaseCharacters() {
  return CharacterSet(Member([](char32_t c) { return isMarkCategory(u::generalCategory(c)); }));
}

namespace {
constexpr std::string_view kASCIIAlphanumerics = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
CharacterSet urlSet(std::string_view extra) { return CharacterSet(std::string(kASCIIAlphanumerics) + std::string(extra)); }
}  // namespace

CharacterSet CharacterSet::urlHostAllowed() { return urlSet("-._~!$&'()*+,;=:[]"); }
CharacterSet CharacterSet::urlPathAllowed() { return urlSet("-._~!$&'()*+,;=:@/"); }
CharacterSet CharacterSet::urlQueryAllowed() { return urlSet("-._~!$&'()*+,;=:@/?"); }
CharacterSet CharacterSet::urlFragmentAllowed() { return urlSet("-._~!$&'()*+,;=:@/?"); }
CharacterSet CharacterSet::urlUserAllowed() { return urlSet("-._~!$&'()*+,;="); }
CharacterSet CharacterSet::urlPasswordAllowed() { return urlSet("-._~!$&'()*+,;="); }

CharacterSet CharacterSet::union_(const CharacterSet& other) const {
  return CharacterSet(Member([a = member_, b = other.member_](char32_t c) { return (*a)(c) || (*b)(c); }));
}

CharacterSet CharacterSet::inverted() const {
  return CharacterSet(Member([a = member_](char32_t c) { return !(*a)(c); }));
}

std::optional<std::pair<std::size_t, std::size_t>> rangeOfCharacter(std::string_view text, const CharacterSet& set) {
  for (std::size_t position = 0; position < text.size();) {
    const std::size_t start = position;
    const char32_t scalar = u::decodeScalar(text, position);
    if (set.contains(scalar)) return std::pair(start, position - start);
  }
  return std::nullopt;
}

}  // namespace ios
