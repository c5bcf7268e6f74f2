// File: platform/foundation/String.h
//
// The platform string's views of UTF-8 text: its characters (extended grapheme
// clusters), its Unicode scalars, its canonical form, and the repairing decode.
//
//   ios::characterCount("e\u0301👍🏽\r\n");        // 3
//   ios::characterBoundaries("ab");               // {0, 1, 2}
//   ios::decodingUTF8("a\xFF");                   // "a\uFFFD"
//
// Fidelity: clusters follow Unicode's extended grapheme cluster rules (ICU's character
// break iterator, an ASCII fast path); the text is segmented once per call, so walking
// all characters is linear in the text. Differs: the platform's strings are always
// well formed; here an ill-formed byte is a character of its own (and reads as U+FFFD
// wherever a scalar is needed). String.Index is a byte offset.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ios {

// characterBoundaries()
//
// The byte offsets at which the characters of `text` start, followed by text.size();
// {0} for the empty text.
[[nodiscard]] std::vector<std::size_t> characterBoundaries(std::string_view text);

// index()
//
// The byte offset `distance` characters after the character boundary `from`
// (index(_:offsetBy:limitedBy:)), or nothing when that passes the end of the text;
// reaching text.size() exactly is allowed. Only the characters walked are segmented,
// so the cost grows with the distance walked, not with the length of the text.
// Precondition: `from` is a character boundary of `text`.
[[nodiscard]] std::optional<std::size_t> index(std::string_view text, std::size_t from, std::size_t distance);

// indexBefore()
//
// The byte offset at which the character that ends at `position` starts
// (index(before:)); 0 when `position` is 0. Only the characters just before `position`
// are segmented. Precondition: `position` is a character boundary of `text`.
[[nodiscard]] std::size_t indexBefore(std::string_view text, std::size_t position);

// characterCount()
//
// The number of characters of `text`.
[[nodiscard]] std::size_t characterCount(std::string_view text);

// unicodeScalars()
//
// The scalars of `text` in order; ill-formed bytes read as U+FFFD.
[[nodiscard]] std::vector<char32_t> unicodeScalars(std::string_view text);

// precomposedStringWithCanonicalMapping()
//
// The canonical composition (NFC) of `text`: two texts are equal as the platform's
// strings compare them exactly when these forms are equal.
[[nodiscard]] std::string precomposedStringWithCanonicalMapping(std::string_view text);

// decodingUTF8()
//
// `text` with every ill-formed byte sequence replaced by U+FFFD (well-formed text is
// returned as it is).
[[nodiscard]] std::string decodingUTF8(std::string_view text);

}  // namespace ios
