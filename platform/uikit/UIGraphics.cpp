#include "platform/uikit/UIGraphics.h"

#include <atomic>
#include <cmath>
#include <vector>

#include "platform/coregraphics/internal/ImageDrawing.h"
#include "platform/foundation/ScopeExit.h"
#include "platform/uikit/UIScreen.h"

namespace ios {
namespace {

struct StackEntry {
  CGContextRef context;  // null when an image context could not be made
  CGFloat scale = 1;
  bool imageContext = false;
};

std::vector<StackEntry>& contextStack() {
  thread_local std::vector<StackEntry> stack;
  return stack;
}

// The pixel count for `points` at `scale`, or 0 when no bitmap can have it.
std::size_t pixelsFor(CGFloat points, CGFloat scale) {
  const double pixels = std::ceil(points * scale - 1e-9);
  if (!std::isfinite(pixels) || pixels < 1 || pixels > 32767) return 0;
  return static_cast<std::size_t>(pixels);
}

std::atomic<int>& pendingBitmapDrops() {
  static std::atomic<int> count{0};
  return count;
}

}  // namespace

void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, CGFloat scale) {
  if (scale == 0) scale = UIScreen::main().scale();
  StackEntry entry{nullptr, scale, true};
  if (scale > 0 && std::isfinite(scale)) {
    const std::size_t w = pixelsFor(size.width, scale), h = pixelsFor(size.height, scale);
    if (w > 0 && h > 0) entry.context = cg_internal::makeImageContext(w, h, scale, opaque);
  }
  contextStack().push_back(std::move(entry));
}

void UIGraphicsBeginImageContext(CGSize size) { UIGraphicsBeginImageContextWithOptions(size, false, 1); }

CGContextRef UIGraphicsGetCurrentContext() {
  auto& stack = contextStack();
  return stack.empty() ? nullptr : stack.back().context;
}

std::optional<UIImage> UIGraphicsGetImageFromCurrentImageContext() {
  auto& stack = contextStack();
  if (stack.empty() || !stack.back().imageContext || !stack.back().context) return std::nullopt;
  CGImageRef image = stack.back().context->makeImage();
  if (!image) return std::nullopt;
  int pending = pendingBitmapDrops().load();
  while (pending > 0) {
    if (pendingBitmapDrops().compare_exchange_weak(pending, pending - 1)) return UIImage();
  }
  return UIImage(std::move(image), stack.back().scale, UIImageOrientation::up);
}

void UIGraphicsEndImageContext() {
  auto& stack = contextStack();
  if (!stack.empty() && stack.back().imageContext) stack.pop_back();
}

void UIGraphicsPushContext(CGContextRef context) { contextStack().push_back({std::move(context), 1, false}); }

void UIGraphicsPopContext() {
  auto& stack = contextStack();
  if (!stack.empty() && !stack.back().imageContext) stack.pop_back();
}

void UIRectFill(CGRect rect) { UIRectFillUsingBlendMode(rect, CGBlendMode::copy); }

void UIRectFillUsingBlendMode(CGRect rect, CGBlendMode mode) {
  CGContextRef context = UIGraphicsGetCurrentContext();
  if (!context) return;
  context->saveGState();
  const ScopeExit restore([&context] { context->restoreGState(); });
  context->setBlendMode(mode);
  context->fill(rect);
}

namespace testing {

std::size_t graphicsContextDepth() { return contextStack().size(); }

void dropNextContextImageBitmap(int count) { pendingBitmapDrops().store(count); }
void resetContextImageBitmaps() { pendingBitmapDrops().store(0); }

}  // namespace testing
}  // namespace ios
