#include "platform/uikit/UIPasteboard.h"

namespace ios {

UIPasteboard& UIPasteboard::general() {
  static auto* pasteboard = new UIPasteboard;
  return *pasteboard;
}

std::optional<std::string> UIPasteboard::string() const {
  std::lock_guard lock(mutex_);
  return string_;
}

void UIPasteboard::setString(std::optional<std::string> text) {
  std::lock_guard lock(mutex_);
  string_ = std::move(text);
}

namespace testing {
void resetPasteboard() { UIPasteboard::general().setString(std::nullopt); }
}  // namespace testing

}  // namespace ios
