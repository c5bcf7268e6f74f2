#include "platform/coreimage/internal/FrontalFaceDetector.h"

#include <dlib/image_processing/frontal_face_detector.h>
#include <dlib/image_transforms/interpolation.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/coregraphics/internal/PixelFormat.h"

namespace ios::ci_internal {
namespace {

// The image's luma, one byte a pixel (transparent parts and alpha-only images read as
// black). CGImage::make has checked the layout and that every row has its bytes.
bool toGray(const CGImage& image, dlib::array2d<unsigned char>& gray) {
  const auto layout = cg_internal::layoutFor(image.bitsPerPixel(), image.colorSpace(), image.bitmapInfo());
  if (!layout) return false;
  const std::uint8_t* bytes = image.dataProvider()->bytes().data();
  const auto bpp = static_cast<std::size_t>(layout->bytesPerPixel);
  gray.set_size(static_cast<long>(image.height()), static_cast<long>(image.width()));
  for (std::size_t y = 0; y < image.height(); ++y) {
    const std::uint8_t* row = bytes + y * image.bytesPerRow();
    for (std::size_t x = 0; x < image.width(); ++x) {
      gray[static_cast<long>(y)][static_cast<long>(x)] = cg_internal::luma(cg_internal::loadPixel(row + x * bpp, *layout));
    }
  }
  return true;
}

// Unpacking the model takes about half a second, so it is done once; running a detector
// changes its scratch state, so each thread runs its own copy.
const dlib::frontal_face_detector& unpackedDetector() {
  static const dlib::frontal_face_detector detector = dlib::get_frontal_face_detector();
  return detector;
}

dlib::frontal_face_detector& threadDetector() {
  thread_local dlib::frontal_face_detector detector = unpackedDetector();
  return detector;
}

}  // namespace

std::vector<CGRect> detectFrontalFaces(const CGImage& image, bool upsample) {
  std::vector<CGRect> faces;
  dlib::array2d<unsigned char> gray;
  if (!toGray(image, gray)) return faces;
  double scale = 1;
  if (upsample) {
    dlib::pyramid_up(gray);
    scale = 2;
  }
  const auto W = static_cast<CGFloat>(image.width());
  const auto H = static_cast<CGFloat>(image.height());
  for (const dlib::rectangle& r : threadDetector()(gray)) {
    // dlib's rectangles are inclusive, top-left based, and may reach past the edges.
    const CGFloat left = std::clamp(static_cast<CGFloat>(r.left()) / scale, CGFloat(0), W);
    const CGFloat top = std::clamp(static_cast<CGFloat>(r.top()) / scale, CGFloat(0), H);
    const CGFloat right = std::clamp(static_cast<CGFloat>(r.right() + 1) / scale, CGFloat(0), W);
    const CGFloat bottom = std::clamp(static_cast<CGFloat>(r.bottom() + 1) / scale, CGFloat(0), H);
    if (right <= left || bottom <= top) continue;
    faces.emplace_back(left, H - bottom, right - left, bottom - top);
  }
  return faces;
}

}  // namespace ios::ci_internal
