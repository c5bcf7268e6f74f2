#include "platform/foundation/StringTransform.h"

#include "platform/foundation/internal/Transform.h"

namespace ios {

bool CFStringTransform(std::string& text, CFStringTransformName transform, bool reverse) {
  return transform_internal::transliterate(text, transform, reverse);
}

}  // namespace ios
