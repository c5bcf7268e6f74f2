#include "platform/audiotoolbox/AudioServices.h"

#include <cstring>
#include <fstream>
#include <mutex>
#include <set>

namespace ios {
namespace {

struct State {
  std::mutex mutex;
  std::vector<SystemSoundID> played;
  std::vector<SystemSoundID> alerts;
  std::set<SystemSoundID> registered;
  SystemSoundID next = 4096;
};

State& state() {
  static State s;
  return s;
}

// Whether the first bytes name an audio container the platform decodes.
bool looksLikeAudio(const unsigned char* h, std::size_t n) {
  auto at = [&](std::size_t offset, const char* tag) {
    const std::size_t len = std::strlen(tag);
    return n >= offset + len && std::memcmp(h + offset, tag, len) == 0;
  };
  if (at(0, "RIFF") && at(8, "WAVE")) return true;
  if (at(0, "FORM") && (at(8, "AIFF") || at(8, "AIFC"))) return true;
  if (at(0, "caff")) return true;
  if (at(0, "ID3")) return true;
  if (n >= 2 && h[0] == 0xFF && (h[1] & 0xE0) == 0xE0) return true;  // MPEG audio frame
  if (at(4, "ftyp") && (at(8, "M4A ") || at(8, "mp42") || at(8, "isom"))) return true;
  return false;
}

}  // namespace

void AudioServicesPlaySystemSound(SystemSoundID sound) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  s.played.push_back(sound);
}

void AudioServicesPlayAlertSound(SystemSoundID sound) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  s.alerts.push_back(sound);
}

OSStatus AudioServicesCreateSystemSoundID(const URL& url, SystemSoundID* outSound) {
  if (!url.isFileURL()) return kAudioServicesUnsupportedPropertyError;
  std::ifstream file(url.path(), std::ios::binary);
  unsigned char header[16] = {};
  file.read(reinterpret_cast<char*>(header), sizeof header);
  if (!file && file.gcount() == 0) return kAudioServicesUnsupportedPropertyError;
  if (!looksLikeAudio(header, static_cast<std::size_t>(file.gcount()))) return kAudioServicesUnsupportedPropertyError;
  auto& s = state();
  std::lock_guard lock(s.mutex);
  const SystemSoundID id = s.next++;
  s.registered.insert(id);
  if (outSound) *outSound = id;
  return 0;
}

OSStatus AudioServicesDisposeSystemSoundID(SystemSoundID sound) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  return s.registered.erase(sound) == 1 ? 0 : kAudioServicesBadSpecifierSizeError;
}

namespace testing {

std::vector<SystemSoundID> playedAlertSounds() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  return s.alerts;
}

std::vector<SystemSoundID> playedSystemSounds() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  return s.played;
}

void resetAudioServices() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  s.played.clear();
  s.alerts.clear();
  s.registered.clear();
}

}  // namespace testing
}  // namespace ios
