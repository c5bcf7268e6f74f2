#include "platform/foundation/NSAttributedString.h"

#include "platform/foundation/Precondition.h"

namespace ios {
namespace {

bool sameValue(const std::shared_ptr<const std::any>& a, bool (*equalA)(const std::any&, const std::any&),
               const std::shared_ptr<const std::any>& b) {
  if (a == b) return true;
  return equalA != nullptr && a->type() == b->type() && equalA(*a, *b);
}

}  // namespace

NSAttributedString::NSAttributedString(std::string string, Attributes attributes)
    : text_(std::move(string)), length_(utf16Length(text_)) {
  if (length_ == 0) return;
  Run run{NSRange{0, length_}, {}};
  for (auto& [key, value] : attributes) {
    run.attributes.emplace(key, Value{std::make_shared<const std::any>(std::move(value)), nullptr});
  }
  runs_.push_back(std::move(run));
}

NSAttributedString::Attributes NSAttributedString::attributes(std::size_t location, NSRange* effectiveRange) const {
  KP_PRECONDITION(location < length_, "NSAttributedString: location out of bounds");
  for (const Run& run : runs_) {
    if (location >= run.range.location && location < run.range.upperBound()) {
      if (effectiveRange) *effectiveRange = run.range;
      Attributes result;
      for (const auto& [key, value] : run.attributes) result.emplace(key, *value.value);
      return result;
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

NSMutableAttributedString NSAttributedString::mutableCopy() const {
  NSMutableAttributedString copy;
  static_cast<NSAttributedString&>(copy) = *this;
  return copy;
}

void NSMutableAttributedString::addValue(std::string_view key, Value value, NSRange range) {
  KP_PRECONDITION(range.location <= length_ && range.length <= length_ - range.location,
                  "NSMutableAttributedString: range out of bounds");
  if (range.length == 0) return;
  splitAt(range.location);
  splitAt(range.upperBound());
  for (Run& run : runs_) {
    if (run.range.location >= range.location && run.range.upperBound() <= range.upperBound()) {
      run.attributes.insert_or_assign(std::string(key), value);
    }
  }
  coalesce();
}

void NSMutableAttributedString::splitAt(std::size_t location) {
  for (std::size_t i = 0; i < runs_.size(); ++i) {
    const NSRange r = runs_[i].range;
    if (location > r.location && location < r.upperBound()) {
      Run tail = runs_[i];
      runs_[i].range.length = location - r.location;
      tail.range = NSRange{location, r.upperBound() - location};
      runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(tail));
      return;
    }
  }
}

void NSMutableAttributedString::coalesce() {
  const auto sameAttributes = [](const Run& a, const Run& b) {
    if (a.attributes.size() != b.attributes.size()) return false;
    for (auto ia = a.attributes.begin(), ib = b.attributes.begin(); ia != a.attributes.end(); ++ia, ++ib) {
      if (ia->first != ib->first || !sameValue(ia->second.value, ia->second.equal, ib->second.value)) return false;
    }
    return true;
  };
  std::vector<Run> joined;
  for (Run& run : runs_) {
    if (!joined.empty() && sameAttributes(joined.back(), run)) {
      joined.back().range.length += run.range.length;
    } else {
      joined.push_back(std::move(run));
    }
  }
  runs_ = std::move(joined);
}

}  // namespace ios
