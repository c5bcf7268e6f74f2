// Text conversions on arbitrary bytes (ill-formed UTF-8 included): percent and base64
// encodings, escaped Unicode, pinyin and diacritic folding, camel case and first-letter
// capitals, the platform's case mapping, and the attributed-string wrappers.
// Invariants: each encoding reads back to the text it encoded (and answers the text
// unchanged, or nothing, exactly when its documented failure holds); escaped and
// percent-encoded text is ASCII; the case and script conversions answer UTF-8 for any
// input; an attributed string keeps its text and covers it with its attribute.
#include <cstdint>
#include <optional>
#include <string>

#include "KPQuaslet/text/String+KPConversion.h"
#include "platform/foundation/CharacterSet.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/StringCase.h"
#include "platform/foundation/URL.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

bool isASCII(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

void checkEncodings(const std::string& text, bool utf8) {
  const std::string encoded = kp::urlEncoded(text);
  if (utf8) {
    KP_FUZZ_CHECK(isASCII(encoded), "urlEncoded() is not ASCII");
    KP_FUZZ_CHECK(kp::urlDecoded(encoded) == text, "urlEncoded() text does not decode back");
  } else {
    KP_FUZZ_CHECK(encoded == text, "urlEncoded() changed text that is not UTF-8");
  }
  const std::string decoded = kp::urlDecoded(text);
  const auto removed = ios::removingPercentEncoding(text);
  KP_FUZZ_CHECK(decoded == removed.value_or(text), "urlDecoded() is not the platform's decoding or the text");

  const std::string base64 = kp::base64(text);
  KP_FUZZ_CHECK(isASCII(base64) && base64.size() % 4 == 0, "base64() is not padded base64");
  const auto back = kp::makeStringFromBase64(base64);
  KP_FUZZ_CHECK(back.has_value() == utf8, "base64() text reads back exactly when it was UTF-8");
  if (back) KP_FUZZ_CHECK(*back == text, "base64() text reads back otherwise");
  std::string unpadded = base64;
  while (!unpadded.empty() && unpadded.back() == '=') unpadded.pop_back();
  KP_FUZZ_CHECK(kp::makeStringFromBase64(unpadded) == back, "unpadded base64 reads otherwise than padded");
  if (const auto read = kp::makeStringFromBase64(text)) KP_FUZZ_CHECK(kp_fuzz::isUTF8(*read), "base64 read non-UTF-8");

  const std::string escaped = kp::stringToUnicode(text);
  if (utf8) {
    KP_FUZZ_CHECK(isASCII(escaped), "stringToUnicode() is not ASCII");
    KP_FUZZ_CHECK(kp::unicodeToString(escaped) == text, "stringToUnicode() text does not read back");
  }
  const std::string unescaped = kp::unicodeToString(text);
  KP_FUZZ_CHECK(kp_fuzz::isUTF8(unescaped) || unescaped == text, "unicodeToString() made text that is not UTF-8");
}

void checkCaseAndScript(const std::string& text, bool utf8) {
  for (const std::string& converted : {kp::change2English(text), kp::latinized(text), kp::camelCased(text),
                                       kp::capitalizeFirst(text)}) {
    KP_FUZZ_CHECK(kp_fuzz::isUTF8(converted), "a case or script conversion is not UTF-8");
  }
  if (const auto first = kp::firstCharactor(text)) KP_FUZZ_CHECK(kp_fuzz::isUTF8(*first), "firstCharactor() not UTF-8");
  if (text.empty()) {
    KP_FUZZ_CHECK(kp::camelCased(text).empty() && kp::capitalizeFirst(text).empty() && !kp::firstCharactor(text),
                  "a conversion of the empty text is not empty");
  }
  const auto lower = ios::lowercased(text);
  const auto upper = ios::uppercased(text);
  KP_FUZZ_CHECK(lower.has_value() == utf8 && upper.has_value() == utf8, "case mapping answers for ill-formed text");
  if (lower) {
    KP_FUZZ_CHECK(kp_fuzz::isUTF8(*lower) && kp_fuzz::isUTF8(*upper), "case mapping is not UTF-8");
    KP_FUZZ_CHECK(ios::lowercased(*lower) == lower, "lower-casing twice changes the text again");
  }
  if (utf8 && isASCII(text) && text.find(' ') == std::string::npos) {
    KP_FUZZ_CHECK(kp::camelCased(text) == *lower, "camelCased() of one word is not its lower-case form");
  }
}

void checkAttributed(const std::string& text) {
  for (const ios::NSAttributedString& styled : {kp::bold(text), kp::italic(text), kp::underline(text),
                                                kp::color(text, ios::UIColor::colorWithRed(1, 0, 0, 1))}) {
    KP_FUZZ_CHECK(styled.string() == text || !kp_fuzz::isUTF8(text), "an attributed string lost its text");
  }
  (void)kp::toNSString(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  const std::string text = kp_fuzz::text(data, size);
  const bool utf8 = kp_fuzz::isUTF8(text);
  checkEncodings(text, utf8);
  checkCaseAndScript(text, utf8);
  checkAttributed(text);
  return 0;
}
