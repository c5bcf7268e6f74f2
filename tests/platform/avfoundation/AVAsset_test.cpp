#include "platform/avfoundation/AVAsset.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>

#include "tests/support/TemporaryDirectory.h"
#include "tests/support/VideoFixtures.h"

namespace {

// The centre pixel of an R, G, B, unused image.
kp_test::Rgb centre(const ios::CGImage& image) {
  const auto bytes = image.dataProvider()->bytes();
  const std::size_t at = (image.height() / 2) * image.bytesPerRow() + (image.width() / 2) * 4;
  return {bytes[at], bytes[at + 1], bytes[at + 2]};
}

bool near(kp_test::Rgb got, kp_test::Rgb want) {
  return std::abs(got.r - want.r) <= 24 && std::abs(got.g - want.g) <= 24 && std::abs(got.b - want.b) <= 24;
}

TEST(CMTime, MakeWithSecondsRoundsToTheTimescaleAndRejectsWhatDoesNotFit) {
  EXPECT_EQ(ios::CMTimeMakeWithSeconds(1.4, 1), (ios::CMTime{1, 1}));
  EXPECT_EQ(ios::CMTimeMakeWithSeconds(1.5, 1), (ios::CMTime{2, 1}));
  EXPECT_EQ(ios::CMTimeMakeWithSeconds(-0.5, 1), (ios::CMTime{-1, 1}));
  EXPECT_EQ(ios::CMTimeMakeWithSeconds(0.25, 600), (ios::CMTime{150, 600}));
  EXPECT_EQ(ios::CMTimeMakeWithSeconds(std::nan(""), 1).timescale, 0);
  EXPECT_EQ(ios::CMTimeMakeWithSeconds(1e300, 1).timescale, 0);
  EXPECT_EQ(ios::CMTimeMakeWithSeconds(1, 0).timescale, 0);
}

TEST(AVAssetImageGenerator, TakesTheFrameShownAtEachSecond) {
  kp_test::TemporaryDirectory dir;
  const std::string path = dir.path() + "/clip.mkv";
  const kp_test::Rgb red{255, 0, 0}, blue{0, 0, 255}, green{0, 255, 0};
  kp_test::writeColourClip(path, {red, blue, green});
  const ios::AVAssetImageGenerator generator{ios::AVAsset(ios::URL::fileURLWithPath(path))};

  const std::pair<std::int64_t, kp_test::Rgb> rows[] = {{0, red}, {1, blue}, {2, green}};
  for (const auto& [second, colour] : rows) {
    ios::CMTime actual;
    const ios::CGImageRef image = generator.copyCGImage(ios::CMTime{second, 1}, &actual);
    ASSERT_TRUE(image) << second;
    EXPECT_EQ(image->width(), 64u);
    EXPECT_EQ(image->height(), 48u);
    const kp_test::Rgb got = centre(*image);
    EXPECT_TRUE(near(got, colour)) << second << " s: " << int(got.r) << "," << int(got.g) << "," << int(got.b);
    EXPECT_NEAR(actual.seconds(), static_cast<double>(second), 0.01);
  }
  for (const ios::CMTime outside : {ios::CMTime{3, 1}, ios::CMTime{60, 1}, ios::CMTime{-1, 1}, ios::CMTime{}}) {
    EXPECT_THROW((void)generator.copyCGImage(outside), ios::AVFoundationError) << outside.value;
  }
}

TEST(AVAssetImageGenerator, AFileThatIsNotMediaOrMissingThrows) {
  kp_test::TemporaryDirectory dir;
  const std::string path = dir.path() + "/notes.mp4";
  std::ofstream(path) << "this is not a video, only a few words of text\n";
  for (const std::string& file : {path, dir.path() + "/missing.mkv"}) {
    const ios::AVAssetImageGenerator generator{ios::AVAsset(ios::URL::fileURLWithPath(file))};
    try {
      (void)generator.copyCGImage(ios::CMTime{0, 1});
      ADD_FAILURE() << file << " gave an image";
    } catch (const ios::AVFoundationError& e) {
      EXPECT_EQ(e.error().domain, "AVFoundationErrorDomain");
    }
  }
  const ios::AVAssetImageGenerator remote{ios::AVAsset(*ios::URL::fromString("https://example.com/clip.mkv"))};
  EXPECT_THROW((void)remote.copyCGImage(ios::CMTime{0, 1}), ios::AVFoundationError);
}

}  // namespace
