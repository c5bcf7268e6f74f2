#include "platform/avfoundation/AVAsset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/uikit/UIImage.h"
#include "tests/support/ImageFixtures.h"
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

std::vector<std::uint8_t> readBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> bytesOf(std::string_view text) { return {text.begin(), text.end()}; }

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::size_t find(const std::vector<std::uint8_t>& bytes, std::initializer_list<std::uint8_t> pattern,
                 std::size_t from = 0) {
  const auto at = std::search(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end(), pattern.begin(),
                              pattern.end());
  if (at == bytes.end()) throw std::runtime_error("pattern not found in the clip");
  return static_cast<std::size_t>(at - bytes.begin());
}

// A colour clip (writeColourClip) whose segment states no duration: the 8-byte Duration
// element of its Info becomes a Void element of the same length.
void writeClipWithoutDuration(const std::string& path, const std::vector<kp_test::Rgb>& colours) {
  kp_test::writeColourClip(path, colours);
  std::vector<std::uint8_t> bytes = readBytes(path);
  const std::size_t at = find(bytes, {0x44, 0x89, 0x88});
  bytes[at] = 0xEC, bytes[at + 1] = 0x89, bytes[at + 2] = 0x00;
  writeBytes(path, bytes);
}

// A colour clip whose first block is stamped `milliseconds` after the start of its
// cluster while the blocks after it keep their own times, as a damaged file may be.
void writeClipWithLateFirstFrame(const std::string& path, std::uint16_t milliseconds) {
  kp_test::writeColourClip(path, {{255, 0, 0}, {0, 0, 255}, {0, 255, 0}});
  std::vector<std::uint8_t> bytes = readBytes(path);
  // SimpleBlock: A3, its size, the track number 81, then the signed 16-bit time.
  const std::size_t block = find(bytes, {0xA3}, find(bytes, {0x1F, 0x43, 0xB6, 0x75}) + 4);
  const std::size_t sizeLength = std::countl_zero(bytes[block + 1]) + 1;
  ASSERT_EQ(bytes[block + 1 + sizeLength], 0x81);
  bytes[block + 2 + sizeLength] = static_cast<std::uint8_t>(milliseconds >> 8);
  bytes[block + 3 + sizeLength] = static_cast<std::uint8_t>(milliseconds & 0xFF);
  writeBytes(path, bytes);
}

TEST(AVAssetImageGenerator, TimesBeyondAnyStreamAreOutOfRange) {
  // A clip that states no duration: only the requested time tells that it is too late.
  kp_test::TemporaryDirectory dir;
  const std::string path = dir.path() + "/open-ended.mkv";
  writeClipWithoutDuration(path, {{255, 0, 0}, {0, 0, 255}});
  const ios::AVAssetImageGenerator generator{ios::AVAsset(ios::URL::fileURLWithPath(path))};
  ASSERT_TRUE(generator.copyCGImage(ios::CMTime{1, 1}));
  constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();
  for (const ios::CMTime time :
       {ios::CMTime{1'000'000'000'000'000'000, 1}, ios::CMTime{kLargest, 1}, ios::CMTime{kLargest, 600}}) {
    try {
      (void)generator.copyCGImage(time);
      ADD_FAILURE() << time.value << "/" << time.timescale << " s gave an image";
    } catch (const ios::AVFoundationError& e) {
      EXPECT_EQ(e.error().code, ios::AVErrorTimeOutOfRange) << time.value << "/" << time.timescale;
    }
  }
}

TEST(AVAssetImageGenerator, ActualTimeIsNeverBeforeTheStart) {
  // The late first frame moves the stream's start past the frames that follow it; those
  // frames are shown from the start, not before it.
  kp_test::TemporaryDirectory dir;
  const std::string path = dir.path() + "/damaged.mkv";
  writeClipWithLateFirstFrame(path, 1500);
  const ios::AVAssetImageGenerator generator{ios::AVAsset(ios::URL::fileURLWithPath(path))};
  for (std::int64_t value = 0; value <= 1500; value += 30) {
    ios::CMTime actual{-1, 600};
    try {
      ASSERT_TRUE(generator.copyCGImage(ios::CMTime{value, 600}, &actual));
    } catch (const ios::AVFoundationError&) {
      continue;
    }
    EXPECT_EQ(actual.timescale, 600);
    EXPECT_GE(actual.value, 0) << "requested " << value << "/600";
  }
}

TEST(AVAssetImageGenerator, FramesAboveTheImagePixelLimitAreRefused) {
  kp_test::TemporaryDirectory dir;
  const std::string path = dir.path() + "/large.mkv";
  // One row more than the limit allows (exactly at it the frame would be decoded).
  kp_test::writeLargeFrameClip(path, 8192, 8193, {0, 0, 255});
  try {
    (void)ios::AVAssetImageGenerator{ios::AVAsset(ios::URL::fileURLWithPath(path))}.copyCGImage(ios::CMTime{0, 1});
    ADD_FAILURE() << "a frame above the limit gave an image";
  } catch (const ios::AVFoundationError& e) {
    EXPECT_EQ(e.error().code, ios::AVErrorDecodeFailed);
  }
}

TEST(AVAssetImageGenerator, OnlyAudiovisualContainersAreMedia) {
  // Files FFmpeg could read as pictures, or that name other media, under a video's name;
  // the clip itself is valid and beside them.
  kp_test::TemporaryDirectory dir;
  kp_test::writeColourClip(dir.path() + "/clip.mkv", {{255, 0, 0}});
  const ios::UIImage picture = kp_test::makeImage(8, 8, kp_test::distinctPixel);
  const std::pair<const char*, std::vector<std::uint8_t>> rows[] = {
      {"png", *ios::UIImagePNGRepresentation(picture)},
      {"jpeg", *ios::UIImageJPEGRepresentation(picture, 0.9)},
      {"concat script", bytesOf("ffconcat version 1.0\nfile clip.mkv\n")},
      {"playlist", bytesOf("#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\nclip.mkv\n#EXT-X-ENDLIST\n")},
  };
  for (const auto& [name, bytes] : rows) {
    const std::string path = dir.path() + "/movie.mp4";
    writeBytes(path, bytes);
    const ios::AVAssetImageGenerator generator{ios::AVAsset(ios::URL::fileURLWithPath(path))};
    try {
      (void)generator.copyCGImage(ios::CMTime{0, 1});
      ADD_FAILURE() << name << " gave an image";
    } catch (const ios::AVFoundationError& e) {
      EXPECT_EQ(e.error().code, ios::AVErrorFileFormatNotRecognized) << name;
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
