// File: KPQuaslet/views/UIButton+KPExt.h
//
// Button conveniences: a frame initialiser wired to an action, a background colour per
// state, one value for all four states, and inset layouts that put the image and the
// title side by side or one above the other.
//
//   auto share = kp::makeButton(0, 0, 100, 60, controller, ios::sel_registerName("share:"));
//   kp::setTitleForAllStates(*share, "Share");
//   share->setImage(icon, ios::UIControlStateOption::normal);
//   kp::makeImageToTitle(*share, 5, std::nullopt, true, kp::UIButtonImageHorizontalAlignment::left);
//
// The layouts only write the button's image, title and content edge insets (and, for
// the vertical layout, its content alignments); the title is measured in the title
// label's font. A button without an image or a title text is left as it is.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <type_traits>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/runtime/Selector.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UIImage.h"

namespace kp {

// The side of the title the image takes in the horizontal layout of makeImageToTitle().
enum class UIButtonImageHorizontalAlignment { left, right };
// The two sides, in declaration order.
[[nodiscard]] inline std::span<const UIButtonImageHorizontalAlignment> allCases(std::type_identity<UIButtonImageHorizontalAlignment>) {
  static constexpr UIButtonImageHorizontalAlignment cases[] = {UIButtonImageHorizontalAlignment::left, UIButtonImageHorizontalAlignment::right};
  return cases;
}
// The case name, as the value is printed.
[[nodiscard]] std::string ios_describe(UIButtonImageHorizontalAlignment value);

// makeButton()
//
// A button of frame (x, y, w, h) that sends `action` to `target` on touch up inside.
// The target is not retained (as with every control action).
[[nodiscard]] std::shared_ptr<ios::UIButton> makeButton(ios::CGFloat x, ios::CGFloat y, ios::CGFloat w, ios::CGFloat h,
                                                        const std::shared_ptr<ios::NSObject>& target,
                                                        ios::SEL action);

// setBackgroundColor()
//
// Sets the background image of `state` to a one-point image filled with `color`, drawn
// at the main screen's scale. When no drawing context can be made for it, nothing is
// drawn and the state's background image becomes none. The image context is ended on
// every path.
void setBackgroundColor(ios::UIButton& button, const ios::UIColor& color, ios::UIControlState state);

// setImageForAllStates() / setTitleColorForAllStates() / setTitleForAllStates()
//
// Sets the same value for the normal, selected, highlighted and disabled states, in
// that order. A later per-state value overrides only its own state.
void setImageForAllStates(ios::UIButton& button, const std::optional<ios::UIImage>& image);
void setTitleColorForAllStates(ios::UIButton& button, const ios::UIColor& color);
void setTitleForAllStates(ios::UIButton& button, const std::string& title);

// centerTextAndImage(spacing)
//
// Puts `spacing` points between the image and the title, both centred together:
// image insets (0, -h, 0, h), title insets (0, h, 0, -h), content insets (0, h, 0, h)
// with h = spacing / 2.
void centerTextAndImage(ios::UIButton& button, ios::CGFloat spacing);

// centerTextAndImage(imageAboveText, spacing)
//
// With `imageAboveText` false, the same as centerTextAndImage(spacing). With true, puts
// the image above the title, `spacing` points apart; the button needs an image and a
// title text, otherwise nothing changes.
void centerTextAndImage(ios::UIButton& button, bool imageAboveText, ios::CGFloat spacing);

// makeImageToTitle()
//
// Lays the image and the title out `spacing` points apart: vertically (image above the
// title, both centred in the button's frame as it is now, content aligned left and
// top), or horizontally with the image on the `align` side of the title. `imageSize`,
// when given, is the box the image takes in the vertical layout instead of its own size.
// Needs an image and a title text; otherwise nothing changes.
void makeImageToTitle(ios::UIButton& button, ios::CGFloat spacing, std::optional<ios::CGSize> imageSize,
                      bool vertical, UIButtonImageHorizontalAlignment align);

}  // namespace kp
