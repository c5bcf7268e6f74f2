// File: platform/uikit/UIGraphics.h
//
// UIKit's image contexts: a per-thread stack of drawing contexts that UIImage::draw(),
// UIColor::setFill() and UIRectFill() draw into.
//
//   ios::UIGraphicsBeginImageContextWithOptions({10, 10}, false, 0);
//   ios::UIColor::red().setFill();
//   ios::UIRectFill({{0, 0}, {10, 10}});
//   std::optional<ios::UIImage> image = ios::UIGraphicsGetImageFromCurrentImageContext();
//   ios::UIGraphicsEndImageContext();
//
// Fidelity: an image context has ceil(size × scale) pixels a side (scale 0 is the main
// screen's), B,G,R,A premultiplied (B,G,R,X when opaque), starts transparent, and its
// user space is in points with the origin at the top-left corner, y down. A context that
// cannot be made (a size below one pixel, not finite, or above 32767 pixels) still takes
// a place on the stack, so that every begin is balanced by an end; the current context
// is then null. Renderer objects (UIGraphicsImageRenderer) are absent.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>

#include "platform/coregraphics/CGContext.h"
#include "platform/coregraphics/CGGeometry.h"
#include "platform/uikit/UIImage.h"

namespace ios {

// UIGraphicsBeginImageContextWithOptions()
//
// Pushes a new image context of `size` points at `scale` (0: the main screen's) onto
// this thread's stack.
void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, CGFloat scale);

// UIGraphicsBeginImageContext()
//
// The same, not opaque, at scale 1.
void UIGraphicsBeginImageContext(CGSize size);

// UIGraphicsGetCurrentContext()
//
// The context at the top of this thread's stack, or null.
[[nodiscard]] CGContextRef UIGraphicsGetCurrentContext();

// UIGraphicsGetImageFromCurrentImageContext()
//
// A snapshot of the current image context at its scale, orientation up; nothing when
// the top of the stack is not an image context that could be made.
[[nodiscard]] std::optional<UIImage> UIGraphicsGetImageFromCurrentImageContext();

// UIGraphicsEndImageContext()
//
// Pops the current image context; nothing happens when the top is not one.
void UIGraphicsEndImageContext();

// UIGraphicsPushContext() / UIGraphicsPopContext()
//
// Make any context current for UIKit drawing, and undo that.
void UIGraphicsPushContext(CGContextRef context);
void UIGraphicsPopContext();

// UIRectFill() / UIRectFillUsingBlendMode()
//
// Fills `rect` of the current context with its fill colour, copying it (or blending
// with `mode`).
void UIRectFill(CGRect rect);
void UIRectFillUsingBlendMode(CGRect rect, CGBlendMode mode);

namespace testing {

// The number of contexts on this thread's stack.
[[nodiscard]] std::size_t graphicsContextDepth();

// The next `count` images taken from an image context (on any thread) come back without
// a bitmap, as an image the platform backs by something else would; reset between tests.
void dropNextContextImageBitmap(int count = 1);
void resetContextImageBitmaps();

}  // namespace testing
}  // namespace ios
