#include "platform/coreimage/CIDetector.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "platform/testing/PlatformFixture.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/Portrait.h"

namespace {

using ios::CGRect;
using ios::CIDetector;

class FaceDetection : public ios::testing::PlatformFixture {
 protected:
  static std::vector<CGRect> faces(const ios::CGImageRef& image, const char* accuracy = ios::CIDetectorAccuracyLow) {
    auto detector = CIDetector::make(ios::CIDetectorTypeFace, {{ios::CIDetectorAccuracy, accuracy}});
    EXPECT_NE(detector, nullptr);
    std::vector<CGRect> found;
    if (detector == nullptr) return found;
    for (const auto& face : detector->features(ios::CIImage(image))) found.push_back(face.bounds);
    return found;
  }

  // The portrait's bitmap in another layout of `bitsPerPixel` with padded rows: `put`
  // writes each pixel from its straight R, G, B.
  template <class Put>
  static ios::CGImageRef repacked(std::size_t bitsPerPixel, std::optional<ios::CGColorSpace> space,
                                  ios::CGBitmapInfo info, Put put) {
    const ios::CGImageRef source = kp_test::portrait().cgImage();
    const std::size_t w = source->width(), h = source->height(), bytesPerPixel = bitsPerPixel / 8;
    const std::size_t rowBytes = w * bytesPerPixel + 3;  // padded rows
    std::vector<std::uint8_t> bytes(rowBytes * h);
    for (std::size_t y = 0; y < h; ++y) {
      for (std::size_t x = 0; x < w; ++x) {
        const kp_test::Rgba c = kp_test::pixelAt(*source, x, y);
        put(&bytes[y * rowBytes + x * bytesPerPixel], c);
      }
    }
    return ios::CGImage::make(w, h, 8, bitsPerPixel, rowBytes, std::move(space), info, std::move(bytes));
  }
};

// The nose of the portrait in the detector's bottom-left pixel coordinates.
ios::CGPoint noseFromBottomLeft() {
  return {kp_test::kPortraitNose.x, 512 - kp_test::kPortraitNose.y};
}

// The strongest of `found` is the portrait's face.
void expectThePortraitFace(const std::vector<CGRect>& found, const std::string& what) {
  ASSERT_FALSE(found.empty()) << what;
  const CGRect face = found[0];
  EXPECT_TRUE(face.contains(noseFromBottomLeft())) << what << ": " << face.origin.x << ", " << face.origin.y;
  // A face, not the whole picture nor a speck.
  EXPECT_GT(face.size.width, 50) << what;
  EXPECT_LT(face.size.width, 200) << what;
  EXPECT_GT(face.size.height, 50) << what;
  EXPECT_LT(face.size.height, 200) << what;
  EXPECT_TRUE(CGRect(0, 0, 512, 512).contains(face)) << what;
}

TEST_F(FaceDetection, FindsTheFaceOfARealPortraitAtEitherAccuracy) {
  const ios::CGImageRef image = kp_test::portrait().cgImage();
  const std::vector<CGRect> low = faces(image, ios::CIDetectorAccuracyLow);
  EXPECT_EQ(low.size(), 1u);
  expectThePortraitFace(low, "low");
  // Doubling the image finds smaller faces, and here also takes the round mission patch
  // on the suit for one; the real face stays the strongest.
  expectThePortraitFace(faces(image, ios::CIDetectorAccuracyHigh), "high");
}

TEST_F(FaceDetection, ReadsEveryBitmapLayoutAlike) {
  const std::vector<CGRect> reference = faces(kp_test::portrait().cgImage());
  ASSERT_EQ(reference.size(), 1u);
  const auto rgb = ios::CGColorSpaceCreateDeviceRGB();
  struct Layout {
    const char* name;
    ios::CGImageRef image;
  };
  const std::vector<Layout> layouts = {
      {"B,G,R,A little-endian", repacked(32, rgb, ios::kCGImageAlphaPremultipliedFirst | ios::kCGBitmapByteOrder32Little,
                                         [](std::uint8_t* p, kp_test::Rgba c) { p[0] = c.b, p[1] = c.g, p[2] = c.r, p[3] = 255; })},
      {"R,G,B 24-bit", repacked(24, rgb, ios::kCGImageAlphaNone,
                                [](std::uint8_t* p, kp_test::Rgba c) { p[0] = c.r, p[1] = c.g, p[2] = c.b; })},
  };
  for (const Layout& layout : layouts) {
    const std::vector<CGRect> found = faces(layout.image);
    ASSERT_EQ(found.size(), 1u) << layout.name;
    EXPECT_EQ(found[0], reference[0]) << layout.name;
  }
  // Grey keeps the face (the luma differs from the detector's own by rounding only).
  expectThePortraitFace(faces(repacked(8, ios::CGColorSpaceCreateDeviceGray(), ios::kCGImageAlphaNone,
                                       [](std::uint8_t* p, kp_test::Rgba c) {
                                         p[0] = static_cast<std::uint8_t>((c.r * 77 + c.g * 150 + c.b * 29 + 128) >> 8);
                                       })),
                        "grey");
}

TEST_F(FaceDetection, NoFaceInAPlainOrTinyImage) {
  EXPECT_TRUE(faces(kp_test::makeBGRAImage(300, 200, [](auto, auto) { return kp_test::kWhite; })).empty());
  EXPECT_TRUE(faces(kp_test::makeBGRAImage(1, 1, [](auto, auto) { return kp_test::kBlack; })).empty());
  EXPECT_TRUE(faces(nullptr).empty());
}

TEST_F(FaceDetection, DetectorsOnManyThreadsAgree) {
  const ios::CGImageRef image = kp_test::portrait().cgImage();
  const std::vector<CGRect> reference = faces(image);
  std::vector<std::vector<CGRect>> results(4);
  std::vector<std::thread> threads;
  for (auto& result : results) {
    threads.emplace_back([&image, &result] { result = faces(image); });
  }
  for (auto& t : threads) t.join();
  for (const auto& result : results) EXPECT_EQ(result, reference);
}

TEST_F(FaceDetection, ScriptedDetectorReplacesTheBuiltInOneUntilReset) {
  const ios::CGImageRef image = kp_test::portrait().cgImage();
  ios::testing::setFaceDetector([](const ios::CGImage& seen) {
    return std::vector<CGRect>{CGRect(1, 2, 3, static_cast<double>(seen.width()))};
  });
  EXPECT_EQ(faces(image), (std::vector<CGRect>{CGRect(1, 2, 3, 512)}));
  ios::testing::resetFaceDetector();
  expectThePortraitFace(faces(image), "after reset");
  EXPECT_EQ(ios::testing::faceDetectorsMade(), 1);  // the reset zeroed the count
  EXPECT_EQ(CIDetector::make("CIDetectorTypeQRCode", {}), nullptr);
}

}  // namespace
