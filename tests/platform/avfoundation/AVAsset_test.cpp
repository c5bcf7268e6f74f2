#include "platform/avfoundation/AVAsset.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

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

// A YUV4MPEG clip of `w` × `h` pixels, one frame a second, each frame one flat colour
// (Y, Cb, Cr), with 4:2:0 chroma.
std::string y4mClip(int w, int h, const std::vector<std::array<std::uint8_t, 3>>& frames) {
  std::string clip = "YUV4MPEG2 W" + std::to_string(w) + " H" + std::to_string(h) + " F1:1 Ip A1:1 C420jpeg\n";
  const int chroma = ((w + 1) / 2) * ((h + 1) / 2);
  for (const auto& [y, cb, cr] : frames) {
    clip += "FRAME\n";
    clip.append(static_cast<std::size_t>(w * h), static_cast<char>(y));
    clip.append(static_cast<std::size_t>(chroma), static_cast<char>(cb));
    clip.append(static_cast<std::size_t>(chroma), static_cast<char>(cr));
  }
  return clip;
}

constexpr std::array<std::uint8_t, 3> kYuvRed{81, 90, 240}, kYuvBlue{41, 240, 110};

TEST(AVAssetImageGenerator, TinyFramesComeBackWhole) {
  // The converter works in blocks of several pixels; frames narrower than a block must
  // neither be written past nor lose their colour.
  kp_test::TemporaryDirectory dir;
  for (const auto& [w, h] : {std::pair{4, 2}, std::pair{1, 1}, std::pair{3, 5}, std::pair{2, 64}}) {
    const std::string path = dir.path() + "/tiny.y4m";
    std::ofstream(path, std::ios::binary) << y4mClip(w, h, {kYuvRed, kYuvBlue});
    const ios::AVAssetImageGenerator generator{ios::AVAsset(ios::URL::fileURLWithPath(path))};
    for (const auto& [second, colour] : {std::pair{0, kp_test::Rgb{255, 0, 0}}, std::pair{1, kp_test::Rgb{0, 0, 255}}}) {
      const ios::CGImageRef image = generator.copyCGImage(ios::CMTime{second, 1});
      ASSERT_TRUE(image) << w << "x" << h;
      EXPECT_EQ(image->width(), static_cast<std::size_t>(w));
      EXPECT_EQ(image->height(), static_cast<std::size_t>(h));
      EXPECT_TRUE(near(centre(*image), colour)) << w << "x" << h << " at " << second << " s";
    }
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
