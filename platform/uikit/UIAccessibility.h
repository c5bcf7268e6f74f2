// File: platform/uikit/UIAccessibility.h
//
// Whether the screen reader (VoiceOver) is running.
//
//   if (ios::UIAccessibilityIsVoiceOverRunning()) { ... }
//   ios::testing::setVoiceOverRunning(true);
//
// Fidelity: a flag, off unless a test turns it on; readable from any thread. The
// notifications about changes and the other accessibility settings are absent.
#pragma once

namespace ios {

// Whether VoiceOver is running.
[[nodiscard]] bool UIAccessibilityIsVoiceOverRunning();

namespace testing {

// Turns the VoiceOver flag on or off.
void setVoiceOverRunning(bool running);
// Turns it off.
void resetAccessibility();

}  // namespace testing
}  // namespace ios
