// File: platform/uikit/UIImage.h
//
// The platform image: an immutable value that shares its CGImage and adds a scale, an
// orientation and a rendering mode; drawing into the current UIKit context; and the
// JPEG and PNG forms.
//
//   std::optional<ios::UIImage> photo = ios::UIImage::fromData(jpegBytes);
//   photo->size();                                    // points: pixels / scale, turned
//   photo->draw({{0, 0}, {50, 50}});                  // upright, whatever the orientation
//
// Fidelity: images made from data have scale 1 (or the one given) and the orientation
// their EXIF block names (up without one). Two images are the same image when they share
// their CGImage and have the same scale, orientation, rendering mode and cap insets. A
// resizable image only records its cap insets (drawing stretches it as a whole).
// Animated, symbol and CIImage-backed images are absent; an image without a CGImage is
// the empty image.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/coregraphics/CGContext.h"
#include "platform/coregraphics/CGGeometry.h"
#include "platform/coregraphics/CGImage.h"
#include "platform/uikit/UIGeometry.h"

namespace ios {

enum class UIImageOrientation { up, down, left, right, upMirrored, downMirrored, leftMirrored, rightMirrored };
enum class UIImageRenderingMode { automatic, alwaysOriginal, alwaysTemplate };

class UIImage {
 public:
  // The empty image: no CGImage, size (0, 0), scale 1.
  UIImage() = default;
  // UIImage(cgImage:) at scale 1, orientation up; UIImage(cgImage:scale:orientation:).
  explicit UIImage(CGImageRef cgImage);
  UIImage(CGImageRef cgImage, CGFloat scale, UIImageOrientation orientation);

  // UIImage(data:) / UIImage(data:scale:)
  //
  // The image that JPEG or PNG `data` holds, or nothing when it is neither or broken.
  [[nodiscard]] static std::optional<UIImage> fromData(std::span<const std::uint8_t> data, CGFloat scale = 1);

  // UIImage(contentsOfFile:)
  //
  // The image in the JPEG or PNG file at `path` (scale 1), or nothing when the file
  // cannot be read or holds no such image.
  [[nodiscard]] static std::optional<UIImage> fromFile(const std::string& path);

  [[nodiscard]] const CGImageRef& cgImage() const { return cgImage_; }
  [[nodiscard]] CGFloat scale() const { return scale_; }
  [[nodiscard]] UIImageOrientation imageOrientation() const { return orientation_; }
  [[nodiscard]] UIImageRenderingMode renderingMode() const { return renderingMode_; }

  // The size in points: the pixel size over the scale, width and height swapped for
  // the left and right orientations.
  [[nodiscard]] CGSize size() const;

  // A copy of this image with another rendering mode.
  [[nodiscard]] UIImage withRenderingMode(UIImageRenderingMode mode) const;

  // resizableImage(withCapInsets:)
  //
  // A copy of this image whose corners, `capInsets` in points, keep their size when it
  // is stretched.
  [[nodiscard]] UIImage resizableImage(UIEdgeInsets capInsets) const;
  [[nodiscard]] UIEdgeInsets capInsets() const { return capInsets_; }

  // draw(in:) / draw(in:blendMode:alpha:) / draw(at:)
  //
  // Draw the image upright (its orientation applied) stretched to `rect` of the current
  // UIKit context, blended normally at alpha 1 unless given; nothing without a context
  // or a CGImage.
  void draw(CGRect in) const;
  void draw(CGRect in, CGBlendMode blendMode, CGFloat alpha) const;
  void draw(CGPoint at) const;

  friend bool operator==(const UIImage& a, const UIImage& b) {
    return a.cgImage_ == b.cgImage_ && a.scale_ == b.scale_ && a.orientation_ == b.orientation_ &&
           a.renderingMode_ == b.renderingMode_ && a.capInsets_ == b.capInsets_;
  }

 private:
  CGImageRef cgImage_;
  CGFloat scale_ = 1;
  UIImageOrientation orientation_ = UIImageOrientation::up;
  UIImageRenderingMode renderingMode_ = UIImageRenderingMode::automatic;
  UIEdgeInsets capInsets_;
};

// UIImageJPEGRepresentation()
//
// The image's pixels as JPEG at `compressionQuality` (0...1, clamped), with its
// orientation in an EXIF block when it is not up; nothing for the empty image or when
// encoding fails. Transparent pixels come out as if over black.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> UIImageJPEGRepresentation(const UIImage& image,
                                                                                 CGFloat compressionQuality);

// UIImagePNGRepresentation()
//
// The image's pixels as PNG with alpha; nothing for the empty image.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> UIImagePNGRepresentation(const UIImage& image);

}  // namespace ios
