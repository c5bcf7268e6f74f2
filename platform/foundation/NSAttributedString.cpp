#include "platform/foundation/NSAttributedString.h"

#include "platform/foundation/Precondition.h"

namespace ios {

NSAttributedString::NSAttributedString(std::string string, Attributes attributes)
    : text_(std::move(string)), length_(utf16Length(text_)) {
  if (length_ > 0) runs_.push_back(Run{NSRange{0, length_}, std::move(attributes)});
}

NSAttributedString::Attributes NSAttributedString::attributes(std::size_t location, NSRange* effectiveRange) const {
  KP_PRECONDITION(location < length_, "NSAttributedString: location out of bounds");
  for (const Run& run : runs_) {
    if (location >= run.range.location && location < run.range.upperBound()) {
      if (effectiveRange) *effectiveRange = run.range;
      return run.attributes;
    }
  }
  if (effectiveRange) *effectiveRange = NSRange{0, length_};
  return {};
}

std::any NSAttributedString::attribute(std::string_view key, std::size_t location, NSRange* effectiveRange) const {
  const Attributes all = attributes(location, effectiveRange);
  const auto found = all.find(key);
  return found == all.end() ? std::any() : found->second;
}

}  // namespace ios
