// File: platform/foundation/StringTransform.h
//
// The platform's string transforms (CFStringTransform): transliteration between
// scripts and removal of marks.
//
//   std::string s = "中文";
//   ios::CFStringTransform(s, ios::kCFStringTransformMandarinLatin, false);    // "zhōng wén"
//   ios::CFStringTransform(s, ios::kCFStringTransformStripDiacritics, false);  // "zhong wen"
//
// Fidelity: the transforms are ICU transliterators (Han-Latin for Mandarin, Any-Latin
// for any script, and decompose / remove non-spacing marks / recompose for stripping
// diacritics); pinyin readings are ICU's. Each thread builds a transform once and
// reuses it. Any other ICU transform identifier may be passed too. The range argument
// of the platform function is absent: the whole text is transformed.
#pragma once

#include <string>
#include <string_view>

namespace ios {

using CFStringTransformName = std::string_view;

inline constexpr CFStringTransformName kCFStringTransformMandarinLatin = "Han-Latin";
inline constexpr CFStringTransformName kCFStringTransformToLatin = "Any-Latin";
inline constexpr CFStringTransformName kCFStringTransformStripDiacritics = "NFD; [:Nonspacing Mark:] Remove; NFC";
inline constexpr CFStringTransformName kCFStringTransformStripCombiningMarks = "NFD; [:M:] Remove; NFC";
inline constexpr CFStringTransformName kCFStringTransformLatinHiragana = "Latin-Hiragana";

// CFStringTransform()
//
// Applies `transform` (its inverse when `reverse`) to the whole of `text` in place.
// False, with `text` unchanged, when the transform is unknown. Ill-formed UTF-8 bytes
// become U+FFFD.
bool CFStringTransform(std::string& text, CFStringTransformName transform, bool reverse);

}  // namespace ios
