#include "KPQuaslet/services/KPSystemSound.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KPQuaslet/Helper/KPKitError.h"
#include "platform/audiotoolbox/AudioServices.h"
#include "platform/foundation/Describe.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

using kp::KPSystemSound;
using AudioID = KPSystemSound::AudioID;

TEST(KPSystemSoundAudioID, BlockEdgesAndGaps) {
  const struct {
    std::uint32_t raw;
    const char* name;
  } edges[] = {
      {1000, "newMail"},        {1003, "recivedMessage"}, {1010, "smsReceived4"},     {1013, "smsReceived5"},
      {1016, "tweetSent"},      {1032, "suspence"},       {1036, "update"},           {1057, "tink"},
      {1118, "endVideoRecord"}, {1002, "voiceMail"},      {1300, "voicemail"},        {1336, "update2"},
      {1351, "silentVibeChanged"}, {4095, "vibrate"},
  };
  for (const auto& edge : edges) {
    auto id = kp::fromRawValue<AudioID>(edge.raw);
    ASSERT_TRUE(id) << edge.raw;
    EXPECT_EQ(ios::describe(*id), edge.name);
    EXPECT_EQ(kp::rawValue(*id), edge.raw);
  }
  for (std::uint32_t gap : {0u, 999u, 1011u, 1012u, 1015u, 1037u, 1056u, 1349u, 1352u, 4094u, 4096u}) {
    EXPECT_EQ(kp::fromRawValue<AudioID>(gap), std::nullopt) << gap;
  }
  int count = 0;
  for (std::uint32_t raw = 0; raw < 5000; ++raw) count += kp::fromRawValue<AudioID>(raw).has_value();
  EXPECT_EQ(count, 122);
}

class KPSystemSoundTest : public ios::testing::PlatformFixture {
 protected:
  kp_test::TemporaryDirectory dir_;
};

TEST_F(KPSystemSoundTest, PlayingPassesTheIdentifier) {
  KPSystemSound::playSystemSound(AudioID::tink);
  KPSystemSound::vibrate();
  EXPECT_THAT(ios::testing::playedSystemSounds(), ::testing::ElementsAre(1057u, 4095u));
}

TEST_F(KPSystemSoundTest, RegisteringASoundFileAndReleasingIt) {
  const auto wav = dir_.writeFile("ding.wav", 0);
  {
    std::ofstream(wav, std::ios::binary) << std::string("RIFF\x24\0\0\0WAVEfmt ", 16);
  }
  const auto id = KPSystemSound::playSound(ios::URL::fileURLWithPath(wav));
  EXPECT_TRUE(ios::testing::playedSystemSounds().empty()) << "registering does not play";
  EXPECT_NO_THROW(KPSystemSound::disposeSound(id));
  EXPECT_THROW(KPSystemSound::disposeSound(id), kp::KPKitError) << "released twice";
}

TEST_F(KPSystemSoundTest, FilesThatAreNotSoundsThrowErrorLoadingSound) {
  const auto text = dir_.writeFile("notes.txt", 64);
  for (const auto& url : {ios::URL::fileURLWithPath(text), ios::URL::fileURLWithPath(dir_.path() + "/missing.wav"),
                          *ios::URL::fromString("https://example.com/a.wav")}) {
    try {
      (void)KPSystemSound::playSound(url);
      ADD_FAILURE() << url.absoluteString();
    } catch (const kp::KPKitError& e) {
      EXPECT_EQ(e, kp::KPKitError::errorLoadingSound);
    }
  }
  EXPECT_THROW(KPSystemSound::disposeSound(12345), kp::KPKitError);
  try {
    KPSystemSound::disposeSound(12345);
    ADD_FAILURE() << "no error";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "errorLoadingSound") << "also caught as a standard exception";
  }
}

}  // namespace
