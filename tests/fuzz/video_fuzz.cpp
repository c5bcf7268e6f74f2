// The video reader on arbitrary bytes as a file: thumbnail(fromTime:) and the frame
// generator at times that are whole, fractional, negative, huge, NaN or infinite.
// Invariants: an answer is an image of 1...kMaximumImagePixelCount pixels at scale 1
// whose bytes cover its rows, or nothing (an AVFoundationError of the documented domain
// and codes); an actual time is never negative; thumbnail() and the generator agree on
// the same whole-second time.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <limits>
#include <optional>

#include "KPQuaslet/text/URL+KPExt.h"
#include "platform/avfoundation/AVAsset.h"
#include "platform/imageio/ImageIO.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

double fuzzTime(FuzzedDataProvider& fdp) {
  constexpr double kTimes[] = {0,     0.4,  0.5,   1,    1.5,  2,     2.9,  -0.5,
                               -1,    1e18, 9.3e18, 1e300, 5e-324, -0.0, 86400, 1e9};
  switch (fdp.ConsumeIntegralInRange<int>(0, 4)) {
    case 0: return std::numeric_limits<double>::quiet_NaN();
    case 1: return fdp.ConsumeBool() ? std::numeric_limits<double>::infinity() : -std::numeric_limits<double>::infinity();
    case 2: return fdp.ConsumeFloatingPoint<double>();
    default: return kTimes[fdp.ConsumeIntegralInRange<std::size_t>(0, std::size(kTimes) - 1)];
  }
}

void checkBitmap(const ios::CGImage& image, const char* what) {
  const std::size_t w = image.width(), h = image.height();
  KP_FUZZ_CHECK(w >= 1 && h >= 1 && w * h <= ios::kMaximumImagePixelCount, what);
  KP_FUZZ_CHECK(image.dataProvider()->bytes().size() >= image.bytesPerRow() * h, what);
}

bool isDocumentedError(const ios::AVFoundationError& e) {
  const auto code = e.error().code;
  return e.error().domain == "AVFoundationErrorDomain" &&
         (code == ios::AVErrorFileFormatNotRecognized || code == ios::AVErrorNoVideo ||
          code == ios::AVErrorTimeOutOfRange || code == ios::AVErrorDecodeFailed);
}

// The generator's frame at `time`, or nothing after a documented error.
ios::CGImageRef frameAt(const ios::AVAssetImageGenerator& generator, ios::CMTime time, ios::CMTime* actual) {
  try {
    ios::CGImageRef image = generator.copyCGImage(time, actual);
    KP_FUZZ_CHECK(image, "the generator answered a null image");
    return image;
  } catch (const ios::AVFoundationError& e) {
    KP_FUZZ_CHECK(isDocumentedError(e), "an error outside the documented domain and codes");
    return nullptr;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  FuzzedDataProvider fdp(data, size);
  double times[3];
  const int count = fdp.ConsumeIntegralInRange<int>(1, 3);
  for (int i = 0; i < count; ++i) times[i] = fuzzTime(fdp);
  const std::vector<std::uint8_t> file = fdp.ConsumeRemainingBytes<std::uint8_t>();
  // No extension: the reader must tell media by content.
  const std::string path = kp_fuzz::writeScratchFile(
      "video/input", std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
  const ios::URL url = ios::URL::fileURLWithPath(path);
  const ios::AVAssetImageGenerator generator{ios::AVAsset(url)};

  for (int i = 0; i < count; ++i) {
    const std::optional<ios::UIImage> thumbnail = kp::thumbnail(url, times[i]);
    if (thumbnail) {
      KP_FUZZ_CHECK(thumbnail->cgImage(), "a thumbnail without a bitmap");
      checkBitmap(*thumbnail->cgImage(), "thumbnail: bitmap size");
      KP_FUZZ_CHECK(thumbnail->scale() == 1, "thumbnail: scale");
    }
    // The same whole second through the generator.
    ios::CMTime actual{-1, 600};
    const ios::CGImageRef same = frameAt(generator, ios::CMTimeMakeWithSeconds(times[i], 1), &actual);
    KP_FUZZ_CHECK(static_cast<bool>(same) == thumbnail.has_value(), "thumbnail and generator disagree");
    if (same) {
      KP_FUZZ_CHECK(same->width() == thumbnail->cgImage()->width() && same->height() == thumbnail->cgImage()->height(),
                    "thumbnail and generator differ in size");
      if (actual.timescale > 0) KP_FUZZ_CHECK(actual.value >= 0, "a negative actual time");
    }
    // And to the 1/600 s.
    const ios::CGImageRef fine = frameAt(generator, ios::CMTimeMakeWithSeconds(times[i], 600), &actual);
    if (fine) {
      checkBitmap(*fine, "generator: bitmap size");
      if (actual.timescale > 0) KP_FUZZ_CHECK(actual.value >= 0, "a negative actual time");
    }
  }
  return 0;
}
