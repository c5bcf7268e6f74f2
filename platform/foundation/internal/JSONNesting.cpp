#include "platform/foundation/internal/JSONNesting.h"

#include <cstring>

namespace ios::json_internal {
namespace {

// The offset just past the quote that closes the string whose text starts at `from`, or
// the size of the text when it is not closed. A quote closes the string unless an odd
// number of backslashes comes right before it.
std::size_t afterString(std::string_view text, std::size_t from) {
  while (from < text.size()) {
    const void* quote = std::memchr(text.data() + from, '"', text.size() - from);
    if (quote == nullptr) return text.size();
    const std::size_t at = static_cast<const char*>(quote) - text.data();
    std::size_t backslashes = 0;
    while (at - backslashes > from && text[at - backslashes - 1] == '\\') ++backslashes;
    if (backslashes % 2 == 0) return at + 1;
    from = at + 1;
  }
  return text.size();
}

}  // namespace

bool nestsDeeperThan(std::string_view text, std::size_t limit) {
  std::size_t depth = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    switch (text[i++]) {
      case '"':
        i = afterString(text, i);
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
