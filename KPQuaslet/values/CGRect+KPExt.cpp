#include "KPQuaslet/values/CGRect+KPExt.h"

#include <string>
#include <vector>

namespace kp {

ios::CGRect makeRect(std::string_view literal) {
  if (literal.empty()) return ios::CGRect::zero;
  if (literal.front() == '{') return ios::CGRectFromString(literal);
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = literal.find(',', start);
    parts.push_back(literal.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (parts.size() != 4) return ios::CGRect::zero;
  std::string text = "{{";
  text.append(parts[0]).append(",").append(parts[1]).append("}, {");
  text.append(parts[2]).append(", ").append(parts[3]).append("}}");
  return ios::CGRectFromString(text);
}

}  // namespace kp
