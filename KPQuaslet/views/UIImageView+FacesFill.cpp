#include "KPQuaslet/views/UIImageView+FacesFill.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "KPQuaslet/Helper/internal/RuntimeCategory.h"
#include "KPQuaslet/imaging/internal/DrawingSupport.h"
#include "platform/coreimage/CIDetector.h"
#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/StandardOutput.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/runtime/Runtime.h"

namespace kp {
namespace {

using ios::CALayer;
using ios::CGFloat;
using ios::CGRect;
using ios::UIImageView;

constexpr const char* kFaceLayerName = "AspectFillFaceAware";

std::shared_ptr<CALayer> faceLayer(const UIImageView& view) {
  const auto sublayers = view.layer()->sublayers();
  if (!sublayers) return nullptr;
  for (const auto& layer : *sublayers) {
    if (layer->name() == kFaceLayerName) return layer;
  }
  return nullptr;
}

std::shared_ptr<CALayer> faceLayerCreating(UIImageView& view) {
  if (auto existing = faceLayer(view)) return existing;
  auto layer = CALayer::make();
  layer->setName(std::string(kFaceLayerName));
  // Null actions: contents, bounds and position change without implicit animation.
  layer->setActions(CALayer::Actions{{"contents", nullptr}, {"bounds", nullptr}, {"position", nullptr}});
  view.layer()->addSublayer(layer);
  return layer;
}

void removeFaceLayer(const UIImageView& view) {
  if (auto layer = faceLayer(view)) layer->removeFromSuperlayer();
}

// `offset` kept from uncovering the view: not below 0, and not past the point where the
// scaled image's far edge meets the view's.
CGFloat clampedOffset(CGFloat offset, CGFloat scaledLength, CGFloat viewLength) {
  if (offset < 0) return 0;
  if (scaledLength < offset + viewLength) return scaledLength - viewLength;
  return offset;
}

// The frame of the face layer in a view of size `view` for an image of W × H pixels
// whose faces are `faces` (bottom-left image coordinates): an aspect fill shifted so
// that the faces' box is centred horizontally, or its centre lies at 0.382 of the
// view's height, without uncovering the view.
CGRect cropFrame(const std::vector<ios::CIFaceFeature>& faces, CGFloat W, CGFloat H, ios::CGSize view) {
  CGFloat left = std::numeric_limits<CGFloat>::infinity();
  CGFloat top = std::numeric_limits<CGFloat>::infinity();
  CGFloat right = -std::numeric_limits<CGFloat>::infinity();
  CGFloat bottom = -std::numeric_limits<CGFloat>::infinity();
  for (const auto& face : faces) {
    const CGRect b = face.bounds;
    const CGFloat faceTop = H - b.origin.y - b.size.height;
    left = std::min(left, b.origin.x);
    top = std::min(top, faceTop);
    right = std::max(right, b.origin.x + b.size.width);
    bottom = std::max(bottom, faceTop + b.size.height);
  }
  const CGFloat bw = view.width;
  const CGFloat bh = view.height;
  const CGFloat imageRatio = W / H;
  const CGFloat viewRatio = bw / bh;
  if (viewRatio < imageRatio) {
    const CGFloat scaledWidth = imageRatio * bh;
    const CGFloat s = scaledWidth / W;
    const CGFloat offset = clampedOffset((left + (right - left) * 0.5) * s - bw * 0.5, scaledWidth, bw);
    return CGRect(-offset, 0, scaledWidth, bh);
  }
  const CGFloat scaledHeight = (H / W) * bw;
  const CGFloat s = bw / W;
  const CGFloat offset = clampedOffset((top + (bottom - top) * 0.5) * s - bh * 0.382, scaledHeight, bh);
  return CGRect(0, -offset, bw, scaledHeight);
}

// Detects faces in `image` on the global queue, then crops on them (or removes the face
// layer) and assigns the image, on the main queue.
void startFacePath(const std::shared_ptr<UIImageView>& view, const std::optional<ios::UIImage>& image) {
  ios::DispatchQueue::global(ios::DispatchQoS::default_).async([view, image] {
    if (!image) return;
    // Faces are found in, and the crop shows, the picture as the image presents it: a
    // camera photo stored sideways is turned upright first, every pixel kept.
    const ios::CGImageRef cgImage = imaging_internal::uprightBitmap(*image);
    const auto detector =
        ios::CIDetector::make(ios::CIDetectorTypeFace, {{ios::CIDetectorAccuracy, ios::CIDetectorAccuracyLow}});
    const auto& main = ios::DispatchQueue::main();
    if (detector == nullptr || cgImage == nullptr) {
      // Nothing can be detected: show the image the ordinary way.
      main.sync([&] {
        removeFaceLayer(*view);
        view->setImage(image);
      });
      return;
    }
    const std::vector<ios::CIFaceFeature> features = detector->features(ios::CIImage(cgImage));
    if (!features.empty()) {
      ios::print("found " + std::to_string(features.size()) + " faces");
      const auto W = static_cast<CGFloat>(cgImage->width());
      const auto H = static_cast<CGFloat>(cgImage->height());
      // The view's bounds are read on the main queue, where the view lives.
      main.sync([&] {
        const CGRect frame = cropFrame(features, W, H, view->bounds().size);
        auto layer = faceLayerCreating(*view);
        layer->setFrame(frame);
        layer->setContents(cgImage);
      });
    } else {
      ios::print("No faces found");
      main.async([view] { removeFaceLayer(*view); });
    }
    main.sync([&] { view->setImage(image); });
  });
}

std::shared_ptr<UIImageView> shared(UIImageView& view) {
  return std::static_pointer_cast<UIImageView>(view.shared_from_this());
}

const kp_internal::CategoryRegistration facesCategory([] {
  ios::Category category;
  category.name = kp_internal::kCategoryName;
  category.instanceMethods = {
      {ios::sel_registerName("focusOnFaces"),
       ios::imp([](UIImageView& self, ios::SEL) -> bool { return focusOnFaces(self); }), {}},
      {ios::sel_registerName("setFocusOnFaces:"),
       ios::imp([](UIImageView& self, ios::SEL, bool on) { setFocusOnFaces(self, on); }), {}},
  };
  category.properties = {{"focusOnFaces", "TB,N"}};
  ios::attachCategory(UIImageView::classObject(), category);
});

}  // namespace

bool focusOnFaces(const UIImageView& view) { return faceLayer(view) != nullptr; }

void setFocusOnFaces(UIImageView& view, bool enabled) {
  const std::optional<ios::UIImage> image = view.image();
  view.setImage(std::nullopt);
  set(view, image, enabled);
}

void set(UIImageView& view, const std::optional<ios::UIImage>& image, bool focusOnFaces) {
  if (focusOnFaces) {
    startFacePath(shared(view), image);
    return;
  }
  // A face layer left in place would keep showing the old crop above the new image.
  removeFaceLayer(view);
  view.setImage(image);
}

}  // namespace kp
