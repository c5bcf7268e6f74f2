// File: platform/audiotoolbox/AudioServices.h
//
// System sounds: play one by identifier, and register or release a sound file as one.
//
//   ios::AudioServicesPlaySystemSound(ios::kSystemSoundID_Vibrate);
//   ios::SystemSoundID id = 0;
//   if (ios::AudioServicesCreateSystemSoundID(url, &id) == 0) { ... }
//
// Fidelity: Linux has no sound server to play through, so playing records the identifier
// (ios::testing::playedSystemSounds()) and makes no noise. Registration keeps the
// platform's rules: the file must exist, be readable and hold a known audio container
// (WAV, AIFF, CAF, MP3 or MPEG-4 audio); identifiers are handed out once and must be
// released once. Statuses are the platform's non-zero OSStatus codes on failure.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/foundation/URL.h"

namespace ios {

using SystemSoundID = std::uint32_t;
using OSStatus = std::int32_t;

inline constexpr SystemSoundID kSystemSoundID_Vibrate = 4095;
// The file could not be opened or is not a sound file.
inline constexpr OSStatus kAudioServicesUnsupportedPropertyError = 0x7074793f;  // 'pty?'
// The identifier is not a registered sound.
inline constexpr OSStatus kAudioServicesBadSpecifierSizeError = 0x21686973;     // '!his'

// Plays the system sound (records it; see the note above).
void AudioServicesPlaySystemSound(SystemSoundID sound);
// Plays the system sound as an alert: with the vibration, or the vibration alone for
// kSystemSoundID_Vibrate (recorded apart from plain system sounds).
void AudioServicesPlayAlertSound(SystemSoundID sound);
// Registers the file at `url` as a system sound; 0 and the new identifier on success.
OSStatus AudioServicesCreateSystemSoundID(const URL& url, SystemSoundID* outSound);
// Releases a registered sound; non-zero when `sound` is not registered.
OSStatus AudioServicesDisposeSystemSoundID(SystemSoundID sound);

namespace testing {

// The identifiers played so far, in order.
[[nodiscard]] std::vector<SystemSoundID> playedSystemSounds();
// The identifiers played as alerts so far, in order.
[[nodiscard]] std::vector<SystemSoundID> playedAlertSounds();
// Forgets played sounds and registrations.
void resetAudioServices();

}  // namespace testing
}  // namespace ios
