// Rectangles, points, sizes and vectors from arbitrary text: CGRectFromString and its
// siblings, and the library's literals (makeRect, makePoint).
// Invariants: a value read writes a text that reads back to the same value, bit for
// bit (NaN as NaN); the literals follow their documented rule: text starting with "{"
// is the platform parser's, four comma-separated parts form a rectangle, two a point,
// and anything else is zero.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "KPQuaslet/values/CGPoint+KPExt.h"
#include "KPQuaslet/values/CGRect+KPExt.h"
#include "platform/coregraphics/CGGeometry.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

bool same(double a, double b) { return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0; }
bool same(ios::CGPoint a, ios::CGPoint b) { return same(a.x, b.x) && same(a.y, b.y); }
bool same(ios::CGSize a, ios::CGSize b) { return same(a.width, b.width) && same(a.height, b.height); }
bool same(ios::CGVector a, ios::CGVector b) { return same(a.dx, b.dx) && same(a.dy, b.dy); }
bool same(const ios::CGRect& a, const ios::CGRect& b) { return same(a.origin, b.origin) && same(a.size, b.size); }

std::vector<std::string> splitAtCommas(const std::string& text) {
  std::vector<std::string> parts(1);
  for (const char c : text) {
    if (c == ',') {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  const std::string text = kp_fuzz::text(data, size);

  const ios::CGRect rect = ios::CGRectFromString(text);
  const std::string rectText = ios::NSStringFromCGRect(rect);
  KP_FUZZ_CHECK(same(ios::CGRectFromString(rectText), rect), "a rectangle's text reads back otherwise");
  const ios::CGPoint point = ios::CGPointFromString(text);
  KP_FUZZ_CHECK(same(ios::CGPointFromString(ios::NSStringFromCGPoint(point)), point), "a point's text reads back otherwise");
  const ios::CGSize sizeValue = ios::CGSizeFromString(text);
  KP_FUZZ_CHECK(same(ios::CGSizeFromString(ios::NSStringFromCGSize(sizeValue)), sizeValue), "a size's text reads back otherwise");
  const ios::CGVector vector = ios::CGVectorFromString(text);
  KP_FUZZ_CHECK(same(ios::CGVectorFromString(ios::NSStringFromCGVector(vector)), vector),
                "a vector's text reads back otherwise");
  KP_FUZZ_CHECK(same(point.x, sizeValue.width) && same(point.y, sizeValue.height) && same(point.x, vector.dx) &&
                    same(point.y, vector.dy),
                "a point, a size and a vector read the same text otherwise");
  for (const auto& written : {rectText, ios::NSStringFromCGPoint(point)}) {
    KP_FUZZ_CHECK(kp_fuzz::isUTF8(written), "a geometry text is not UTF-8");
  }

  const ios::CGRect literal = kp::makeRect(text);
  const std::vector<std::string> parts = splitAtCommas(text);
  if (!text.empty() && text[0] == '{') {
    KP_FUZZ_CHECK(same(literal, rect), "a braced rectangle literal is not the platform's reading");
  } else if (parts.size() == 4) {
    const ios::CGRect expected =
        ios::CGRectFromString("{{" + parts[0] + "," + parts[1] + "}, {" + parts[2] + ", " + parts[3] + "}}");
    KP_FUZZ_CHECK(same(literal, expected), "a four-part rectangle literal is read otherwise");
  } else {
    KP_FUZZ_CHECK(same(literal, ios::CGRect::zero), "a rectangle literal of another shape is not zero");
  }

  const ios::CGPoint pointLiteral = kp::makePoint(text);
  if (!text.empty() && text[0] == '{') {
    KP_FUZZ_CHECK(same(pointLiteral, point), "a braced point literal is not the platform's reading");
  } else if (!text.empty()) {
    KP_FUZZ_CHECK(same(pointLiteral, ios::CGPointFromString("{" + text + "}")), "a point literal is read otherwise");
  } else {
    KP_FUZZ_CHECK(same(pointLiteral, ios::CGPoint::zero), "the empty point literal is not zero");
  }
  return 0;
}
