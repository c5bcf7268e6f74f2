#include "platform/foundation/internal/JSONNesting.h"

namespace ios::json_internal {

bool nestsDeeperThan(std::string_view text, std::size_t limit) {
  std::size_t depth = 0;
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    const char c = *p++;
    switch (c) {
      case '"':
        // Skip the string: up to the next quote that no backslash escapes.
        while (p < end && *p != '"') p += *p == '\\' ? 2 : 1;
        ++p;
        break;
      case '[':
      case '{':
        if (++depth > limit) return true;
        break;
      case ']':
      case '}':
        if (depth > 0) --depth;
        break;
      default:
        break;
    }
  }
  return false;
}

}  // namespace ios::json_internal
