#include "platform/coregraphics/CGGeometry.h"

#include <charconv>
#include <optional>

#include "platform/foundation/Describe.h"

namespace ios {
namespace {

// The shortest text that reads back as `value`: "100", "0.5", "-2.5e-07", "inf".
std::string number(CGFloat value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string pair(CGFloat first, CGFloat second) { return "{" + number(first) + ", " + number(second) + "}"; }

// A cursor over the text forms; every step answers false on a mismatch.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool literal(char c) {
    skipSpace();
    if (position_ >= text_.size() || text_[position_] != c) return false;
    ++position_;
    return true;
  }

  bool number(CGFloat& out) {
    skipSpace();
    std::size_t start = position_;
    if (start < text_.size() && text_[start] == '+') ++start;  // from_chars takes no '+'
    const char* first = text_.data() + start;
    const char* last = text_.data() + text_.size();
    auto [ptr, error] = std::from_chars(first, last, out);
    if (error != std::errc() || ptr == first) return false;
    position_ = static_cast<std::size_t>(ptr - text_.data());
    return true;
  }

  bool pair(CGFloat& first, CGFloat& second) {
    return literal('{') && number(first) && literal(',') && number(second) && literal('}');
  }

  bool atEnd() {
    skipSpace();
    return position_ == text_.size();
  }

 private:
  void skipSpace() {
    while (position_ < text_.size() &&
           (text_[position_] == ' ' || text_[position_] == '\t' || text_[position_] == '\n' ||
            text_[position_] == '\r')) {
      ++position_;
    }
  }

  std::string_view text_;
  std::size_t position_ = 0;
};

// The two numbers of a "{a, b}" text, or nothing.
std::optional<std::pair<CGFloat, CGFloat>> readPair(std::string_view text) {
  Reader reader(text);
  CGFloat first = 0, second = 0;
  if (!reader.pair(first, second) || !reader.atEnd()) return std::nullopt;
  return std::pair(first, second);
}

template <class T>
std::ostream& stream(std::ostream& os, const T& value) {
  return os << ios_describe(value);
}

}  // namespace

std::string NSStringFromCGPoint(CGPoint point) { return pair(point.x, point.y); }
std::string NSStringFromCGSize(CGSize size) { return pair(size.width, size.height); }
std::string NSStringFromCGVector(CGVector vector) { return pair(vector.dx, vector.dy); }
std::string NSStringFromCGRect(const CGRect& rect) {
  return "{" + pair(rect.origin.x, rect.origin.y) + ", " + pair(rect.size.width, rect.size.height) + "}";
}

CGPoint CGPointFromString(std::string_view text) {
  auto values = readPair(text);
  return values ? CGPoint(values->first, values->second) : CGPoint::zero;
}

CGSize CGSizeFromString(std::string_view text) {
  auto values = readPair(text);
  return values ? CGSize(values->first, values->second) : CGSize::zero;
}

CGVector CGVectorFromString(std::string_view text) {
  auto values = readPair(text);
  return values ? CGVector(values->first, values->second) : CGVector::zero;
}

CGRect CGRectFromString(std::string_view text) {
  Reader reader(text);
  CGFloat x = 0, y = 0, width = 0, height = 0;
  if (reader.literal('{') && reader.pair(x, y) && reader.literal(',') && reader.pair(width, height) &&
      reader.literal('}') && reader.atEnd()) {
    return CGRect(x, y, width, height);
  }
  return CGRect::zero;
}

std::string ios_describe(CGPoint point) {
  return "(" + describeDouble(point.x) + ", " + describeDouble(point.y) + ")";
}
std::string ios_describe(CGSize size) {
  return "(" + describeDouble(size.width) + ", " + describeDouble(size.height) + ")";
}
std::string ios_describe(CGVector vector) {
  return "(" + describeDouble(vector.dx) + ", " + describeDouble(vector.dy) + ")";
}
std::string ios_describe(const CGRect& rect) {
  return "(" + describeDouble(rect.origin.x) + ", " + describeDouble(rect.origin.y) + ", " +
         describeDouble(rect.size.width) + ", " + describeDouble(rect.size.height) + ")";
}

std::ostream& operator<<(std::ostream& os, CGPoint point) { return stream(os, point); }
std::ostream& operator<<(std::ostream& os, CGSize size) { return stream(os, size); }
std::ostream& operator<<(std::ostream& os, CGVector vector) { return stream(os, vector); }
std::ostream& operator<<(std::ostream& os, const CGRect& rect) { return stream(os, rect); }

std::string NSStringFromCGAffineTransform(const CGAffineTransform& t) {
  return "[" + number(t.a) + ", " + number(t.b) + ", " + number(t.c) + ", " + number(t.d) + ", " + number(t.tx) +
         ", " + number(t.ty) + "]";
}

std::ostream& operator<<(std::ostream& os, const CGAffineTransform& t) {
  return os << NSStringFromCGAffineTransform(t);
}

CGRect boundingRect(std::initializer_list<CGPoint> points) {
  const CGPoint first = *points.begin();
  CGFloat x1 = first.x, x2 = first.x, y1 = first.y, y2 = first.y;
  for (const CGPoint& p : points) {
    x1 = std::min(x1, p.x);
    x2 = std::max(x2, p.x);
    y1 = std::min(y1, p.y);
    y2 = std::max(y2, p.y);
  }
  return CGRect(x1, y1, x2 - x1, y2 - y1);
}

}  // namespace ios
