#include "platform/uikit/UIAccessibility.h"

#include <atomic>

namespace ios {
namespace {
std::atomic<bool> voiceOverRunning{false};
}

bool UIAccessibilityIsVoiceOverRunning() { return voiceOverRunning.load(); }

namespace testing {
void setVoiceOverRunning(bool running) { voiceOverRunning.store(running); }
void resetAccessibility() { voiceOverRunning.store(false); }
}  // namespace testing
}  // namespace ios
