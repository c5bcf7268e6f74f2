// Both hex colour parsers on arbitrary text, and the hex writer on what they produce.
// Invariants: parsed components stay in 0...1; the writer's text reads back to itself
// through either parser; a strict six-digit text reads back to its own lower-case form.
#include <cctype>
#include <string>

#include "KPQuaslet/imaging/UIColor+KPExt.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

bool isSixHexDigits(std::string_view text) {
  if (text.size() != 6) return false;
  for (const char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

void checkComponents(const ios::UIColor& color) {
  ios::CGFloat r = -1, g = -1, b = -1, a = -1;
  KP_FUZZ_CHECK(color.getRed(r, g, b, a), "a parsed colour has RGB components");
  for (const auto c : {r, g, b, a}) KP_FUZZ_CHECK(c >= 0 && c <= 1, "a component outside 0...1");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  const std::string input = kp_fuzz::text(data, size);

  if (const auto lenient = kp::makeColorHexString(input)) {
    checkComponents(*lenient);
    const std::string written = kp::hex(*lenient);
    KP_FUZZ_CHECK(written.size() == 7 && written[0] == '#' && isSixHexDigits(written.substr(1)),
                  "hex() is not #rrggbb");
    const auto again = kp::makeColorHexString(written);
    KP_FUZZ_CHECK(again && kp::hex(*again) == written, "hex() text does not read back (lenient)");
    KP_FUZZ_CHECK(kp::hex(kp::makeColor(written)) == written, "hex() text does not read back (strict)");
  }

  const ios::UIColor strict = kp::makeColor(input);
  checkComponents(strict);
  const std::string_view digits =
      !input.empty() && input[0] == '#' ? std::string_view(input).substr(1) : std::string_view(input);
  if (isSixHexDigits(digits)) {
    std::string lower(digits);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    KP_FUZZ_CHECK(kp::hex(strict) == "#" + lower, "a six-digit text does not read back");
  }
  (void)kp::hexRGBa(strict);
  return 0;
}
