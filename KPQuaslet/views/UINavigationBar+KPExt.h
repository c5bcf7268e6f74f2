// File: KPQuaslet/views/UINavigationBar+KPExt.h
//
// Navigation-bar and navigation-controller conveniences: push and pop with a
// completion, stack removal, transparent and coloured looks (on a bar or on the
// appearance proxy), the bottom hairline, and an adjustable background overlay with a
// fade of the bar's elements.
//
//   kp::pushViewController(*nav, details, [] { ios::print("pushed"); });
//   kp::kp_setBackgroundColor(*nav->navigationBar(), ios::UIColor::red());
//   kp::kp_setElementsAlpha(*nav->navigationBar(), 0.5);
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"

namespace kp {

using ios::UINavigationBar;
using ios::UINavigationController;

// ---- Navigation controllers -------------------------------------------------------

// Pushes `controller` animated inside an animation transaction whose completion block is
// `completion` (may be empty): it runs on the main queue once the push transition is
// over. The transaction is committed on every path: when the push raises (the
// controller is already on the stack), it is committed before the exception leaves, and
// `completion` still runs, on the next turn of the main queue.
void pushViewController(UINavigationController& nav, const std::shared_ptr<ios::UIViewController>& controller,
                        std::function<void()> completion);
// Pops the top controller animated; `completion` runs once the transition is over. As
// with the push, the transaction is committed on every path.
void popViewController(UINavigationController& nav, std::function<void()> completion);
// Makes the controller's bar transparent with items and title in `tint`.
void makeTransparent(UINavigationController& nav, const ios::UIColor& tint);
// Removes the first occurrence of `controller` from the stack; the stack is written
// back (not animated) even when nothing was removed.
void remove(UINavigationController& nav, const std::shared_ptr<ios::UIViewController>& controller);
// Removes the first occurrence of each given controller, in order; writes back once.
void remove(UINavigationController& nav, const std::vector<std::shared_ptr<ios::UIViewController>>& controllers);
// Removes the controller at `index` when 0 <= index < count; always writes back.
void remove(UINavigationController& nav, std::int64_t index);

// ---- Adjustable background ----------------------------------------------------------

// Colours the bar's background overlay, making it on first use: a view the bar's
// width reaching from the top of the bar's superview to the bar's bottom, ignoring
// touches, growing with the bar, put behind the bar's content. A second call only
// changes the colour.
void kp_setBackgroundColor(UINavigationBar& bar, const ios::UIColor& color);
// Moves the bar vertically by `translationY` (a translation transform).
void kp_setTranslationY(UINavigationBar& bar, ios::CGFloat translationY);
// Gives the overlay the height `height` (x, y and width kept); nothing without an overlay.
void kp_setBackgroundLayerHeight(UINavigationBar& bar, ios::CGFloat height);
// Fades the bar's item views, buttons and prompt, the items' title views and custom
// views to `alpha`; a back indicator already at exactly 0 stays 0. The overlay and
// the bar keep their alpha.
void kp_setElementsAlpha(UINavigationBar& bar, ios::CGFloat alpha);
// Clears the background and shadow images and removes and forgets the overlay.
void kp_reset(UINavigationBar& bar);

// ---- Looks ---------------------------------------------------------------------------

// Hides / shows the bar's bottom hairline (the first image view at most 1 point high,
// searched depth first); nothing when there is none.
void hideBottomHairline(UINavigationBar& bar);
void showBottomHairline(UINavigationBar& bar);
// true: empty background and shadow images, translucent, clear background. false: the
// background image, shadow image, translucency and background colour of the
// appearance proxy.
void setTransparent(UINavigationBar& bar, bool transparent);
// Sets the title's font and colour.
void setTitleFont(UINavigationBar& bar, const ios::UIFont& font, const ios::UIColor& color);
// Transparent bar with items and title in `tint`.
void makeTransparent(UINavigationBar& bar, const ios::UIColor& tint);
// Opaque bar of colour `background` with items and title in `text`.
void setColors(UINavigationBar& bar, const ios::UIColor& background, const ios::UIColor& text);
// Sets the bar tint colour of the appearance proxy (the receiver is not changed).
void barTintColor(const UINavigationBar& bar, const ios::UIColor& color);
// Sets the tint colour of the appearance proxy.
void navigationBarTintColor(const ios::UIColor& color);
// Sets the title colour of the appearance proxy.
void navigationBarTitleTextColor(const ios::UIColor& color);

}  // namespace kp
