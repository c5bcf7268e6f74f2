#include "platform/foundation/Data.h"

#include "platform/foundation/internal/UTF8.h"

namespace ios {

bool isValidUTF8(std::string_view text) { return utf8_internal::isValid(text); }

std::optional<Data> dataUsingUTF8(std::string_view text) {
  if (!isValidUTF8(text)) return std::nullopt;
  return Data(text.begin(), text.end());
}

std::optional<std::string> stringFromUTF8(const Data& bytes) {
  std::string text(bytes.begin(), bytes.end());
  if (!isValidUTF8(text)) return std::nullopt;
  return text;
}

}  // namespace ios
