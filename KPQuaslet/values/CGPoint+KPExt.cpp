#include "KPQuaslet/values/CGPoint+KPExt.h"

#include <string>

namespace kp {

ios::CGPoint makePoint(std::string_view literal) {
  if (literal.empty()) return ios::CGPoint::zero;
  if (literal.front() == '{') return ios::CGPointFromString(literal);
  std::string text = "{";
  text.append(literal).append("}");
  return ios::CGPointFromString(text);
}

}  // namespace kp
