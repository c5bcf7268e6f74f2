#include "KPQuaslet/views/UINavigationBar+KPExt.h"

#include <algorithm>

#include "platform/coregraphics/CGAffineTransform.h"
#include "platform/foundation/ScopeExit.h"
#include "platform/quartzcore/CAAnimation.h"
#include "platform/runtime/AssociatedObjects.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace kp {
namespace {

// The overlay's association key: only its address matters.
const char navigationBarLayKey[] = "kKPNavigationBarOverLayerKey";

// The bar's background overlay, or null (a stored object of another kind reads as null).
std::shared_ptr<ios::UIView> overlayer(const UINavigationBar& bar) {
  return std::dynamic_pointer_cast<ios::UIView>(ios::objc_getAssociatedObject(&bar, navigationBarLayKey));
}

void setOverlayer(UINavigationBar& bar, std::shared_ptr<ios::UIView> overlay) {
  ios::objc_setAssociatedObject(&bar, navigationBarLayKey, std::move(overlay),
                                ios::OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

// Whether `view` is a kind of the runtime class named `name`; false when no class has
// that name (private classes differ between platform versions).
bool isKindOfNamed(const ios::UIView& view, const char* name) {
  ios::Class cls = ios::NSClassFromString(name);
  return cls != nullptr && view.isKindOfClass(cls);
}

// The first image view at most 1 point high, depth first from `view` itself.
std::shared_ptr<ios::UIImageView> findHairline(const std::shared_ptr<ios::UIView>& view) {
  if (auto image = std::dynamic_pointer_cast<ios::UIImageView>(view); image && view->bounds().size.height <= 1) {
    return image;
  }
  for (const auto& sub : view->subviews()) {
    if (auto found = findHairline(sub)) return found;
  }
  return nullptr;
}

void setHairlineHidden(UINavigationBar& bar, bool hidden) {
  auto self = std::static_pointer_cast<ios::UIView>(bar.shared_from_this());
  if (auto hairline = findHairline(self)) hairline->setHidden(hidden);
}

ios::NSAttributedString::Attributes foreground(const ios::UIColor& color) {
  return {{std::string(ios::NSAttributedString::Key::foregroundColor), color}};
}

// Runs `change` inside a transaction whose completion is `completion`.
// The transaction is committed on every path: when `change` raises, it is committed
// before the exception leaves, so that later transactions on this thread are not nested
// in it.
void withCompletion(std::function<void()> completion, const std::function<void()>& change) {
  ios::CATransaction::begin();
  const ios::ScopeExit commit([] { ios::CATransaction::commit(); });
  if (completion) ios::CATransaction::setCompletionBlock(std::move(completion));
  change();
}

}  // namespace

void pushViewController(UINavigationController& nav, const std::shared_ptr<ios::UIViewController>& controller,
                        std::function<void()> completion) {
  withCompletion(std::move(completion), [&] { nav.pushViewController(controller, true); });
}

void popViewController(UINavigationController& nav, std::function<void()> completion) {
  withCompletion(std::move(completion), [&] { (void)nav.popViewController(true); });
}

void makeTransparent(UINavigationController& nav, const ios::UIColor& tint) {
  UINavigationBar& bar = *nav.navigationBar();
  bar.setBackgroundImage(ios::UIImage(), ios::UIBarMetrics::default_);
  bar.setShadowImage(ios::UIImage());
  bar.setTranslucent(true);
  bar.setTintColor(tint);
  bar.setTitleTextAttributes(foreground(tint));
}

void remove(UINavigationController& nav, const std::shared_ptr<ios::UIViewController>& controller) {
  remove(nav, std::vector<std::shared_ptr<ios::UIViewController>>{controller});
}

void remove(UINavigationController& nav, const std::vector<std::shared_ptr<ios::UIViewController>>& controllers) {
  std::vector<std::shared_ptr<ios::UIViewController>> stack = nav.viewControllers();
  for (const auto& c : controllers) {
    auto it = std::find(stack.begin(), stack.end(), c);
    if (it != stack.end()) stack.erase(it);
  }
  nav.setViewControllers(stack, false);
}

void remove(UINavigationController& nav, std::int64_t index) {
  std::vector<std::shared_ptr<ios::UIViewController>> stack = nav.viewControllers();
  if (index >= 0 && index < static_cast<std::int64_t>(stack.size())) stack.erase(stack.begin() + index);
  nav.setViewControllers(stack, false);
}

void kp_setBackgroundColor(UINavigationBar& bar, const ios::UIColor& color) {
  std::shared_ptr<ios::UIView> overlay = overlayer(bar);
  if (overlay == nullptr) {
    bar.setBackgroundImage(ios::UIImage(), ios::UIBarMetrics::default_);
    overlay = ios::UIView::make(ios::CGRect(0, 0, bar.bounds().size.width, bar.frame().maxY()));
    overlay->setUserInteractionEnabled(false);
    overlay->setAutoresizingMask(ios::UIViewAutoresizingOption::flexibleWidth |
                                 ios::UIViewAutoresizingOption::flexibleHeight);
    const auto subviews = bar.subviews();
    if (!subviews.empty()) subviews.front()->insertSubview(overlay, 0);
    setOverlayer(bar, overlay);
  }
  overlay->setBackgroundColor(color);
}

void kp_setTranslationY(UINavigationBar& bar, ios::CGFloat translationY) {
  bar.setTransform(ios::CGAffineTransformMakeTranslation(0, translationY));
}

void kp_setBackgroundLayerHeight(UINavigationBar& bar, ios::CGFloat height) {
  std::shared_ptr<ios::UIView> overlay = overlayer(bar);
  if (overlay == nullptr) return;
  overlay->setFrame(ios::CGRect(0, 0, overlay->frame().size.width, height));
}

void kp_setElementsAlpha(UINavigationBar& bar, ios::CGFloat alpha) {
  for (const auto& view : bar.subviews()) {
    if (isKindOfNamed(*view, "UINavigationItemView") || isKindOfNamed(*view, "UINavigationButton") ||
        isKindOfNamed(*view, "UINavBarPrompt")) {
      view->setAlpha(alpha);
    }
    if (isKindOfNamed(*view, "_UINavigationBarBackIndicatorView")) {
      view->setAlpha(view->alpha() == 0 ? 0 : alpha);
    }
  }
  for (const auto& item : bar.items()) {
    if (auto title = item->titleView()) title->setAlpha(alpha);
    for (const auto* list : {&item->leftBarButtonItems(), &item->rightBarButtonItems()}) {
      if (!*list) continue;
      for (const auto& button : **list) {
        if (auto custom = button->customView()) custom->setAlpha(alpha);
      }
    }
  }
}

void kp_reset(UINavigationBar& bar) {
  bar.setBackgroundImage(std::nullopt, ios::UIBarMetrics::default_);
  bar.setShadowImage(std::nullopt);
  if (std::shared_ptr<ios::UIView> overlay = overlayer(bar)) overlay->removeFromSuperview();
  setOverlayer(bar, nullptr);
}

void hideBottomHairline(UINavigationBar& bar) { setHairlineHidden(bar, true); }

void showBottomHairline(UINavigationBar& bar) { setHairlineHidden(bar, false); }

void setTransparent(UINavigationBar& bar, bool transparent) {
  if (transparent) {
    bar.setBackgroundImage(ios::UIImage(), ios::UIBarMetrics::default_);
    bar.setShadowImage(ios::UIImage());
    bar.setTranslucent(true);
    bar.setBackgroundColor(ios::UIColor::clear());
    return;
  }
  std::shared_ptr<UINavigationBar> proxy = UINavigationBar::appearance();
  bar.setBackgroundImage(proxy->backgroundImage(ios::UIBarMetrics::default_), ios::UIBarMetrics::default_);
  bar.setShadowImage(proxy->shadowImage());
  bar.setTranslucent(proxy->isTranslucent());
  bar.setBackgroundColor(proxy->backgroundColor());
}

void setTitleFont(UINavigationBar& bar, const ios::UIFont& font, const ios::UIColor& color) {
  bar.setTitleTextAttributes(ios::NSAttributedString::Attributes{
      {std::string(ios::NSAttributedString::Key::font), font},
      {std::string(ios::NSAttributedString::Key::foregroundColor), color}});
}

void makeTransparent(UINavigationBar& bar, const ios::UIColor& tint) {
  bar.setTranslucent(true);
  bar.setBackgroundColor(ios::UIColor::clear());
  bar.setBarTintColor(ios::UIColor::clear());
  bar.setBackgroundImage(ios::UIImage(), ios::UIBarMetrics::default_);
  bar.setTintColor(tint);
  bar.setTitleTextAttributes(foreground(tint));
  bar.setShadowImage(ios::UIImage());
}

void setColors(UINavigationBar& bar, const ios::UIColor& background, const ios::UIColor& text) {
  bar.setTranslucent(false);
  bar.setBackgroundColor(background);
  bar.setBarTintColor(background);
  bar.setBackgroundImage(ios::UIImage(), ios::UIBarMetrics::default_);
  bar.setTintColor(text);
  bar.setTitleTextAttributes(foreground(text));
}

void barTintColor(const UINavigationBar&, const ios::UIColor& color) {
  UINavigationBar::appearance()->setBarTintColor(color);
}

void navigationBarTintColor(const ios::UIColor& color) { UINavigationBar::appearance()->setTintColor(color); }

void navigationBarTitleTextColor(const ios::UIColor& color) {
  UINavigationBar::appearance()->setTitleTextAttributes(foreground(color));
}

}  // namespace kp
