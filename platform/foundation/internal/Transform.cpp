#include "platform/foundation/internal/Transform.h"

#include <map>
#include <memory>

#include "platform/foundation/internal/ICU.h"

namespace ios::transform_internal {
namespace {

// The thread's transliterator for `id` in direction `reverse`, built on first use; null
// when ICU has no such transform (remembered, so a bad id costs one attempt).
const icu::Transliterator* transliterator(std::string_view id, bool reverse) {
  thread_local std::map<std::pair<std::string, bool>, std::unique_ptr<icu::Transliterator>, std::less<>> made;
  std::pair<std::string, bool> key{std::string(id), reverse};
  auto found = made.find(key);
  if (found != made.end()) return found->second.get();
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Transliterator> created(icu::Transliterator::createInstance(
      icu_internal::toUnicode(id), reverse ? UTRANS_REVERSE : UTRANS_FORWARD, status));
  if (U_FAILURE(status)) created.reset();
  return made.emplace(std::move(key), std::move(created)).first->second.get();
}

}  // namespace

bool transliterate(std::string& text, std::string_view id, bool reverse) {
  const icu::Transliterator* t = transliterator(id, reverse);
  if (t == nullptr) return false;
  icu::UnicodeString unicode = icu_internal::toUnicode(text);
  t->transliterate(unicode);
  text = icu_internal::toUTF8(unicode);
  return true;
}

}  // namespace ios::transform_internal
