// File: platform/foundation/internal/ICU.h
//
// The stand-in's one entry point to ICU. Only files under platform/*/internal/ include
// it; no public header exposes ICU types.
#pragma once

#include <unicode/brkiter.h>
#include <unicode/calendar.h>
#include <unicode/decimfmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/numfmt.h>
#include <unicode/regex.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utext.h>
#include <unicode/utypes.h>

#include <mutex>
#include <string>
#include <string_view>

namespace ios::icu_internal {

// UTF-8 to ICU's UTF-16 string; invalid sequences become U+FFFD.
inline icu::UnicodeString toUnicode(std::string_view utf8) {
  return icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
}

// ICU's UTF-16 string to UTF-8.
inline std::string toUTF8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

// ICU's formatters are not safe to use from several threads at once; every use of a
// formatter that may be shared (between copies of a DateFormatter or NumberFormatter)
// holds this lock.
inline std::mutex& formatterMutex() {
  static std::mutex m;
  return m;
}

}  // namespace ios::icu_internal
