// JPEG, PNG and EXIF reading on arbitrary bytes: the image source, its header
// properties, UIImage from data and from a file, and the EXIF orientation reader.
// Invariants: what decodes stays within the pixel limit and agrees with the header
// (size, orientation); UIImage's size follows its orientation; an image that decodes
// re-encodes as JPEG and PNG and decodes again at the same pixel size and orientation,
// and an opaque image comes back from PNG pixel for pixel.
#include <algorithm>
#include <cstring>
#include <span>
#include <string>

#include "platform/imageio/ImageIO.h"
#include "platform/imageio/internal/Codecs.h"
#include "platform/uikit/UIImage.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

using ios::UIImageOrientation;

// The EXIF orientation values in the order of UIImageOrientation.
constexpr int kExifOrientation[] = {1, 3, 8, 6, 2, 4, 5, 7};

// Re-encoding costs time in proportion to the pixels; larger images are checked for
// their size only.
constexpr std::size_t kRoundTripPixels = std::size_t{1} << 20;

bool turned(UIImageOrientation o) {
  return o == UIImageOrientation::left || o == UIImageOrientation::right || o == UIImageOrientation::leftMirrored ||
         o == UIImageOrientation::rightMirrored;
}

// Every pixel as R,G,B,A bytes, premultiplied, whatever the layout.
std::vector<std::uint8_t> rgba(const ios::CGImage& image) { return ios::imageio_internal::rgbaPixels(image); }

bool isOpaque(const std::vector<std::uint8_t>& pixels) {
  for (std::size_t i = 3; i < pixels.size(); i += 4) {
    if (pixels[i] != 255) return false;
  }
  return true;
}

void checkImage(const ios::UIImage& image, const ios::CGImageSourceProperties& properties) {
  const ios::CGImageRef& bitmap = image.cgImage();
  KP_FUZZ_CHECK(bitmap, "a decoded UIImage has no bitmap");
  const std::size_t w = bitmap->width(), h = bitmap->height();
  KP_FUZZ_CHECK(w >= 1 && h >= 1 && w * h <= ios::kMaximumImagePixelCount, "a decoded image outside the limit");
  KP_FUZZ_CHECK(w == properties.pixelWidth && h == properties.pixelHeight, "decoded size differs from the header");
  KP_FUZZ_CHECK(bitmap->dataProvider()->bytes().size() >= bitmap->bytesPerRow() * h, "bitmap shorter than its rows");
  KP_FUZZ_CHECK(kExifOrientation[static_cast<int>(image.imageOrientation())] == properties.orientation,
                "orientation differs from the header");
  const ios::CGSize size = image.size();
  const bool swapped = turned(image.imageOrientation());
  KP_FUZZ_CHECK(size.width == static_cast<double>(swapped ? h : w) && size.height == static_cast<double>(swapped ? w : h),
                "point size does not follow the orientation");
}

void checkRoundTrips(const ios::UIImage& image) {
  const ios::CGImage& bitmap = *image.cgImage();
  const auto jpeg = ios::UIImageJPEGRepresentation(image, 0.8);
  KP_FUZZ_CHECK(jpeg, "a decoded image does not encode as JPEG");
  const auto fromJPEG = ios::UIImage::fromData(*jpeg);
  KP_FUZZ_CHECK(fromJPEG, "a JPEG the library wrote does not decode");
  KP_FUZZ_CHECK(fromJPEG->cgImage()->width() == bitmap.width() && fromJPEG->cgImage()->height() == bitmap.height(),
                "JPEG round trip changed the pixel size");
  KP_FUZZ_CHECK(fromJPEG->imageOrientation() == image.imageOrientation(), "JPEG round trip lost the orientation");

  const auto png = ios::UIImagePNGRepresentation(image);
  KP_FUZZ_CHECK(png, "a decoded image does not encode as PNG");
  const auto fromPNG = ios::UIImage::fromData(*png);
  KP_FUZZ_CHECK(fromPNG, "a PNG the library wrote does not decode");
  KP_FUZZ_CHECK(fromPNG->cgImage()->width() == bitmap.width() && fromPNG->cgImage()->height() == bitmap.height(),
                "PNG round trip changed the pixel size");
  const std::vector<std::uint8_t> before = rgba(bitmap);
  if (isOpaque(before)) KP_FUZZ_CHECK(rgba(*fromPNG->cgImage()) == before, "PNG round trip changed opaque pixels");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  const std::span<const std::uint8_t> bytes(data, size);

  // The EXIF reader on the raw bytes, as if they were an APP1 payload.
  if (const auto orientation = ios::imageio_internal::exifOrientation(bytes)) {
    KP_FUZZ_CHECK(*orientation >= 1 && *orientation <= 8, "EXIF orientation outside 1...8");
  }

  const auto source = ios::CGImageSourceCreateWithData(bytes);
  const auto image = ios::UIImage::fromData(bytes);
  if (!source) {
    KP_FUZZ_CHECK(!image, "an image from data that no source accepts");
    return 0;
  }
  const auto properties = ios::CGImageSourceCopyPropertiesAtIndex(source, 0);
  if (properties) {
    KP_FUZZ_CHECK(properties->orientation >= 1 && properties->orientation <= 8, "orientation outside 1...8");
    if (properties->densityUnit) KP_FUZZ_CHECK(*properties->densityUnit >= 0, "negative density unit");
  }
  const ios::CGImageRef decoded = ios::CGImageSourceCreateImageAtIndex(source, 0);
  KP_FUZZ_CHECK(static_cast<bool>(decoded) == image.has_value(), "UIImage and the image source disagree");
  if (!image) return 0;
  KP_FUZZ_CHECK(properties, "an image decodes but its header does not read");
  checkImage(*image, *properties);
  KP_FUZZ_CHECK(decoded->width() == image->cgImage()->width() && decoded->height() == image->cgImage()->height(),
                "two decodings differ in size");

  const std::string path = kp_fuzz::writeScratchFile("decode/input", kp_fuzz::text(data, size));
  const auto fromFile = ios::UIImage::fromFile(path);
  KP_FUZZ_CHECK(fromFile && fromFile->cgImage()->width() == image->cgImage()->width() &&
                    fromFile->imageOrientation() == image->imageOrientation(),
                "the file and the data decode differently");

  if (image->cgImage()->width() * image->cgImage()->height() <= kRoundTripPixels) checkRoundTrips(*image);
  return 0;
}
