// File: platform/foundation/internal/Transform.h
//
// ICU transliterators behind the platform's string transforms. Building one is
// expensive (rule compilation), so each thread builds each transform once and reuses
// it. The interface carries no ICU type.
//
//   std::string s = "中文";
//   ios::transform_internal::transliterate(s, "Han-Latin", false);   // "zhōng wén"
#pragma once

#include <string>
#include <string_view>

namespace ios::transform_internal {

// Applies the ICU transform `id` (or its inverse when `reverse`) to `text` in place.
// False, with `text` unchanged, when the transform does not exist.
bool transliterate(std::string& text, std::string_view id, bool reverse);

}  // namespace ios::transform_internal
