#include "platform/foundation/internal/Unicode.h"

#include <cmath>
#include <memory>

#include "platform/foundation/Precondition.h"
#include "platform/foundation/internal/ICU.h"

namespace ios::unicode_internal {
namespace {

// The length of the well-formed sequence at `position`, or 0 when it is ill-formed.
std::size_t sequenceLength(std::string_view text, std::size_t position, char32_t& scalar) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[position + i]); };
  const std::size_t available = text.size() - position;
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    scalar = lead;
    return 1;
  }
  std::size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (available < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(i) & 0x3F);
  }
  if (value < minimum || !isScalar(value)) return 0;
  scalar = value;
  return length;
}

// The end of the well-formed run of text that starts at `position`.
std::size_t validRunEnd(std::string_view text, std::size_t position) {
  char32_t scalar = 0;
  while (position < text.size()) {
    if (static_cast<unsigned char>(text[position]) < 0x80) {
      ++position;
      continue;
    }
    const std::size_t length = sequenceLength(text, position, scalar);
    if (length == 0) break;
    position += length;
  }
  return position;
}

// One character break iterator per thread: building one is costly, and an iterator
// is not safe to share between threads.
icu::BreakIterator& characterIterator() {
  thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> made(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status) || !made) ios::fatalError("ICU: no character break iterator");
    return made;
  }();
  return *iterator;
}

bool isASCII(std::string_view run) {
  for (unsigned char c : run) {
    if (c >= 0x80) return false;
  }
  return true;
}

// The thread's character break iterator, set on UTF-8 text for as long as this lives.
// ICU reads the text in place, as far as each boundary asked for needs.
class CharacterSegmentation {
 public:
  explicit CharacterSegmentation(std::string_view text) : iterator_(characterIterator()) {
    UErrorCode status = U_ZERO_ERROR;
    utext_openUTF8(&text_, text.data(), static_cast<int64_t>(text.size()), &status);
    iterator_.setText(&text_, status);
    if (U_FAILURE(status)) ios::fatalError("ICU: cannot segment text");
  }
  ~CharacterSegmentation() { utext_close(&text_); }
  CharacterSegmentation(const CharacterSegmentation&) = delete;
  CharacterSegmentation& operator=(const CharacterSegmentation&) = delete;

  [[nodiscard]] icu::BreakIterator& iterator() { return iterator_; }

 private:
  UText text_ = UTEXT_INITIALIZER;
  icu::BreakIterator& iterator_;
};

// Appends to `out` the cluster boundaries inside the well-formed `run` that starts at
// byte `base` of the whole text (the run's start is already in `out`).
void appendRunBoundaries(std::string_view run, std::size_t base, std::vector<std::size_t>& out) {
  if (isASCII(run)) {
    for (std::size_t i = 1; i <= run.size(); ++i) {
      if (i < run.size() && run[i - 1] == '\r' && run[i] == '\n') continue;
      out.push_back(base + i);
    }
    return;
  }
  CharacterSegmentation segmentation(run);
  icu::BreakIterator& iterator = segmentation.iterator();
  for (int32_t boundary = iterator.next(); boundary != icu::BreakIterator::DONE; boundary = iterator.next()) {
    out.push_back(base + static_cast<std::size_t>(boundary));
  }
}

template <class Map>
std::string mapText(std::string_view text, Map map) {
  icu::UnicodeString unicode = icu_internal::toUnicode(text);
  map(unicode);
  return icu_internal::toUTF8(unicode);
}

}  // namespace

bool isValidUTF8(std::string_view text) { return validRunEnd(text, 0) == text.size(); }

char32_t decodeScalar(std::string_view text, std::size_t& position) {
  KP_PRECONDITION(position < text.size(), "decodeScalar: position past the end of the text");
  char32_t scalar = 0;
  const std::size_t length = sequenceLength(text, position, scalar);
  if (length == 0) {
    position += 1;
    return kReplacementCharacter;
  }
  position += length;
  return scalar;
}

void appendUTF8(std::string& out, char32_t scalar) {
  KP_PRECONDITION(isScalar(scalar), "appendUTF8: not a Unicode scalar");
  if (scalar < 0x80) {
    out += static_cast<char>(scalar);
  } else if (scalar < 0x800) {
    out += static_cast<char>(0xC0 | (scalar >> 6));
    out += static_cast<char>(0x80 | (scalar & 0x3F));
  } else if (scalar < 0x10000) {
    out += static_cast<char>(0xE0 | (scalar >> 12));
    out += static_cast<char>(0x80 | ((scalar >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (scalar & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (scalar >> 18));
    out += static_cast<char>(0x80 | ((scalar >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((scalar >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (scalar & 0x3F));
  }
}

std::vector<char32_t> scalars(std::string_view text) {
  std::vector<char32_t> out;
  out.reserve(text.size());
  for (std::size_t position = 0; position < text.size();) out.push_back(decodeScalar(text, position));
  return out;
}

std::size_t firstGraphemeLength(std::string_view text) {
  if (text.empty()) return 0;
  return *advanceGraphemes(text, 0, 1);
}

std::optional<std::size_t> advanceGraphemes(std::string_view text, std::size_t from, std::size_t distance) {
  std::size_t position = from;
  while (distance > 0) {
    if (position >= text.size()) return std::nullopt;
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    // An ASCII character followed by another ASCII character (or by the end) ends its
    // cluster, except for the pair CR LF.
    if (byteAt(position) < 0x80 && (position + 1 == text.size() || byteAt(position + 1) < 0x80)) {
      position += (text[position] == '\r' && position + 1 < text.size() && text[position + 1] == '\n') ? 2 : 1;
      --distance;
      continue;
    }
    char32_t scalar = 0;
    if (sequenceLength(text, position, scalar) == 0) {  // an ill-formed byte stands alone
      ++position;
      --distance;
      continue;
    }
    // Let ICU walk from here over the rest of the text. It reads ahead only as far as
    // each boundary needs, and it breaks before an ill-formed byte (read as U+FFFD) as
    // at the end of a run, so its boundaries are ours up to the first ill-formed byte.
    const std::string_view rest = text.substr(position);
    CharacterSegmentation segmentation(rest);
    icu::BreakIterator& iterator = segmentation.iterator();
    std::size_t start = 0;  // of the current cluster, in `rest`
    while (distance > 0) {
      const int32_t next = iterator.next();
      if (next == icu::BreakIterator::DONE) break;
      const auto end = static_cast<std::size_t>(next);
      if (start > 0 && sequenceLength(rest, start, scalar) == 0) break;  // ill-formed: the outer loop takes it
      if (validRunEnd(rest.substr(0, end), start) != end) {
        // ICU read an ill-formed byte into this cluster; it stops before that byte.
        start = validRunEnd(rest.substr(0, end), start);
        --distance;
        break;
      }
      start = end;
      --distance;
      // Back to the byte loop for a stretch of ASCII.
      if (end + 1 < rest.size() && static_cast<unsigned char>(rest[end]) < 0x80 &&
          static_cast<unsigned char>(rest[end + 1]) < 0x80) {
        break;
      }
    }
    position += start;
    if (start == 0) return std::nullopt;  // cannot happen for a well-formed first scalar
  }
  return position;
}

std::size_t lastGraphemeStart(std::string_view text) {
  if (text.empty()) return 0;
  const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const std::size_t last = text.size() - 1;
  if (byteAt(last) < 0x80 && (last == 0 || byteAt(last - 1) < 0x80)) {
    return (last > 0 && text[last - 1] == '\r' && text[last] == '\n') ? last - 1 : last;
  }
  // The last scalar: back over at most three continuation bytes to its lead. When that
  // is no well-formed sequence reaching the end, the last byte is ill-formed and stands
  // alone.
  std::size_t lead = last;
  while (lead > 0 && last - lead < 3 && (byteAt(lead) & 0xC0) == 0x80) --lead;
  char32_t scalar = 0;
  if ((byteAt(lead) & 0xC0) == 0x80 || sequenceLength(text, lead, scalar) != text.size() - lead) return last;

  // ICU finds the start of the last cluster from the end, reading back only as far as
  // the rules need.
  int32_t previous = 0;
  {
    CharacterSegmentation segmentation(text);
    segmentation.iterator().last();
    previous = segmentation.iterator().previous();
  }
  std::size_t start = previous == icu::BreakIterator::DONE ? 0 : static_cast<std::size_t>(previous);
  if (validRunEnd(text, start) == text.size()) return start;
  // ICU read an ill-formed byte into the cluster (as U+FFFD). Such a byte is a cluster
  // of its own, so the text after the last one segments on its own.
  std::size_t afterIllFormed = start;
  for (std::size_t p = start; p < text.size();) {
    if (sequenceLength(text, p, scalar) == 0) {
      afterIllFormed = ++p;
    } else {
      p += sequenceLength(text, p, scalar);
    }
  }
  const std::vector<std::size_t> bounds = graphemeBoundaries(text.substr(afterIllFormed));
  return afterIllFormed + bounds[bounds.size() - 2];
}

std::vector<std::size_t> graphemeBoundaries(std::string_view text) {
  std::vector<std::size_t> out{0};
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t end = validRunEnd(text, position);
    if (end == position) {
      out.push_back(++position);  // an ill-formed byte stands alone
      continue;
    }
    appendRunBoundaries(text.substr(position, end - position), position, out);
    position = end;
  }
  return out;
}

std::size_t graphemeCount(std::string_view text) {
  std::size_t count = 0;
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t end = validRunEnd(text, position);
    if (end == position) {
      ++count;  // an ill-formed byte stands alone
      ++position;
      continue;
    }
    const std::string_view run = text.substr(position, end - position);
    if (isASCII(run)) {
      count += run.size();
      for (std::size_t i = 1; i < run.size(); ++i) count -= (run[i - 1] == '\r' && run[i] == '\n') ? 1 : 0;
    } else {
      std::vector<std::size_t> bounds;
      appendRunBoundaries(run, position, bounds);
      count += bounds.size();
    }
    position = end;
  }
  return count;
}

std::string uppercased(std::string_view text) {
  return mapText(text, [](icu::UnicodeString& s) { s.toUpper(icu::Locale::getRoot()); });
}

std::string lowercased(std::string_view text) {
  return mapText(text, [](icu::UnicodeString& s) { s.toLower(icu::Locale::getRoot()); });
}

std::string nfc(std::string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* normalizer = icu::Normalizer2::getNFCInstance(status);
  if (U_FAILURE(status)) ios::fatalError("ICU: no NFC normaliser");
  icu::UnicodeString composed = normalizer->normalize(icu_internal::toUnicode(text), status);
  if (U_FAILURE(status)) ios::fatalError("ICU: cannot normalise text");
  return icu_internal::toUTF8(composed);
}

namespace {
std::string normalize(std::string_view text, const icu::Normalizer2* (*instance)(UErrorCode&)) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* normalizer = instance(status);
  if (U_FAILURE(status)) ios::fatalError("ICU: no normaliser");
  icu::UnicodeString result = normalizer->normalize(icu_internal::toUnicode(text), status);
  if (U_FAILURE(status)) ios::fatalError("ICU: cannot normalise text");
  return icu_internal::toUTF8(result);
}
}  // namespace

std::string nfd(std::string_view text) { return normalize(text, &icu::Normalizer2::getNFDInstance); }

std::string nfkd(std::string_view text) { return normalize(text, &icu::Normalizer2::getNFKDInstance); }

std::string foldCase(std::string_view text) {
  return mapText(text, [](icu::UnicodeString& s) { s.foldCase(U_FOLD_CASE_DEFAULT); });
}

std::string titlecasedWord(std::string_view word) {
  return mapText(word, [](icu::UnicodeString& s) {
    s.toTitle(nullptr, icu::Locale::getRoot(), U_TITLECASE_WHOLE_STRING | U_TITLECASE_NO_BREAK_ADJUSTMENT);
  });
}

CategoryGroup categoryGroup(char32_t scalar) {
  const auto mask = U_GET_GC_MASK(static_cast<UChar32>(scalar));
  if (mask & U_GC_L_MASK) return CategoryGroup::letter;
  if (mask & U_GC_M_MASK) return CategoryGroup::mark;
  if (mask & U_GC_N_MASK) return CategoryGroup::number;
  if (mask & U_GC_P_MASK) return CategoryGroup::punctuation;
  if (mask & U_GC_S_MASK) return CategoryGroup::symbol;
  if (mask & U_GC_Z_MASK) return CategoryGroup::separator;
  return CategoryGroup::other;
}

GeneralCategory generalCategory(char32_t scalar) {
  using G = GeneralCategory;
  switch (u_charType(static_cast<UChar32>(scalar))) {
    case U_UPPERCASE_LETTER: return G::Lu;
    case U_LOWERCASE_LETTER: return G::Ll;
    case U_TITLECASE_LETTER: return G::Lt;
    case U_MODIFIER_LETTER: return G::Lm;
    case U_OTHER_LETTER: return G::Lo;
    case U_NON_SPACING_MARK: return G::Mn;
    case U_COMBINING_SPACING_MARK: return G::Mc;
    case U_ENCLOSING_MARK: return G::Me;
    case U_DECIMAL_DIGIT_NUMBER: return G::Nd;
    case U_LETTER_NUMBER: return G::Nl;
    case U_OTHER_NUMBER: return G::No;
    case U_CONNECTOR_PUNCTUATION: return G::Pc;
    case U_DASH_PUNCTUATION: return G::Pd;
    case U_START_PUNCTUATION: return G::Ps;
    case U_END_PUNCTUATION: return G::Pe;
    case U_INITIAL_PUNCTUATION: return G::Pi;
    case U_FINAL_PUNCTUATION: return G::Pf;
    case U_OTHER_PUNCTUATION: return G::Po;
    case U_MATH_SYMBOL: return G::Sm;
    case U_CURRENCY_SYMBOL: return G::Sc;
    case U_MODIFIER_SYMBOL: return G::Sk;
    case U_OTHER_SYMBOL: return G::So;
    case U_SPACE_SEPARATOR: return G::Zs;
    case U_LINE_SEPARATOR: return G::Zl;
    case U_PARAGRAPH_SEPARATOR: return G::Zp;
    case U_CONTROL_CHAR: return G::Cc;
    case U_FORMAT_CHAR: return G::Cf;
    case U_SURROGATE: return G::Cs;
    case U_PRIVATE_USE_CHAR: return G::Co;
    default: return G::Cn;
  }
}

bool isAlphabetic(char32_t scalar) { return u_isUAlphabetic(static_cast<UChar32>(scalar)); }
bool isWhiteSpace(char32_t scalar) { return u_isUWhiteSpace(static_cast<UChar32>(scalar)); }
bool isUppercaseProperty(char32_t scalar) { return u_isUUppercase(static_cast<UChar32>(scalar)); }
bool isLowercaseProperty(char32_t scalar) { return u_isULowercase(static_cast<UChar32>(scalar)); }
bool isCasedProperty(char32_t scalar) { return u_hasBinaryProperty(static_cast<UChar32>(scalar), UCHAR_CASED); }
bool isMathProperty(char32_t scalar) { return u_hasBinaryProperty(static_cast<UChar32>(scalar), UCHAR_MATH); }
bool isCurrencySymbol(char32_t scalar) { return u_charType(static_cast<UChar32>(scalar)) == U_CURRENCY_SYMBOL; }
bool isDecimalDigit(char32_t scalar) { return u_charType(static_cast<UChar32>(scalar)) == U_DECIMAL_DIGIT_NUMBER; }

bool hasNumericType(char32_t scalar) {
  return u_getIntPropertyValue(static_cast<UChar32>(scalar), UCHAR_NUMERIC_TYPE) != U_NT_NONE;
}

bool wholeNumberValue(char32_t scalar, std::int64_t& value) {
  const double numeric = u_getNumericValue(static_cast<UChar32>(scalar));
  if (numeric == U_NO_NUMERIC_VALUE || numeric != std::floor(numeric)) return false;
  if (!(numeric >= -9.2e18 && numeric <= 9.2e18)) return false;
  value = static_cast<std::int64_t>(numeric);
  return true;
}

}  // namespace ios::unicode_internal
