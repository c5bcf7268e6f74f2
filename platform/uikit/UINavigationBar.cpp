#include "platform/uikit/UINavigationBar.h"

#include <mutex>

#include "platform/uikit/UIScreen.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UINavigationBar, "UINavigationBar", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UINavigationItem, "UINavigationItem", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UINavigationItemView, "UINavigationItemView", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UINavBarPrompt, "UINavBarPrompt", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UINavigationBarBackIndicatorView, "_UINavigationBarBackIndicatorView", nullptr)

namespace {

// The background view class of a bar.
class UIBarBackground : public UIView {
  IOS_RUNTIME_CLASS(UIBarBackground, UIView);

 protected:
  explicit UIBarBackground(CGRect frame = CGRect()) : UIView(frame) {}
};

std::mutex proxyMutex;
std::shared_ptr<UINavigationBar> proxy;

}  // namespace

IOS_DEFINE_RUNTIME_CLASS(UIBarBackground, "_UIBarBackground", nullptr)

UINavigationBar::UINavigationBar(CGRect frame) : UIView(frame) {}

std::shared_ptr<UINavigationBar> UINavigationBar::build(CGRect frame) {
  auto bar = ::ios::runtime_internal::construct<UINavigationBar>(frame);
  auto background = UIBarBackground::make(CGRect(0, 0, frame.size.width, frame.size.height));
  const CGFloat pixel = 1 / UIScreen::main().scale();
  background->addSubview(UIImageView::make(CGRect(0, frame.size.height, frame.size.width, pixel)));
  bar->addSubview(background);
  return bar;
}

std::shared_ptr<UINavigationBar> UINavigationBar::appearance() {
  std::lock_guard<std::mutex> lock(proxyMutex);
  if (proxy == nullptr) proxy = UINavigationBar::make();
  return proxy;
}

const UINavigationBar* UINavigationBar::proxyFor(bool set) const {
  if (set) return this;
  std::shared_ptr<UINavigationBar> p = appearance();
  return p.get() == this ? this : p.get();
}

std::optional<UIColor> UINavigationBar::tintColor() const {
  return proxyFor(tintColor_.set)->tintColor_.value;
}
void UINavigationBar::setTintColor(std::optional<UIColor> color) { tintColor_ = {true, std::move(color)}; }

std::optional<UIColor> UINavigationBar::barTintColor() const {
  return proxyFor(barTintColor_.set)->barTintColor_.value;
}
void UINavigationBar::setBarTintColor(std::optional<UIColor> color) { barTintColor_ = {true, std::move(color)}; }

std::optional<UIImage> UINavigationBar::backgroundImage(UIBarMetrics metrics) const {
  const std::size_t i = metrics == UIBarMetrics::compact ? 1 : 0;
  return proxyFor(backgroundImage_[i].set)->backgroundImage_[i].value;
}
void UINavigationBar::setBackgroundImage(std::optional<UIImage> image, UIBarMetrics metrics) {
  backgroundImage_[metrics == UIBarMetrics::compact ? 1 : 0] = {true, std::move(image)};
}

std::optional<UIImage> UINavigationBar::shadowImage() const {
  return proxyFor(shadowImage_.set)->shadowImage_.value;
}
void UINavigationBar::setShadowImage(std::optional<UIImage> image) { shadowImage_ = {true, std::move(image)}; }

bool UINavigationBar::isTranslucent() const {
  const UINavigationBar* source = proxyFor(translucent_.set);
  return source->translucent_.set ? source->translucent_.value : true;
}
void UINavigationBar::setTranslucent(bool translucent) { translucent_ = {true, translucent}; }

std::optional<NSAttributedString::Attributes> UINavigationBar::titleTextAttributes() const {
  return proxyFor(titleTextAttributes_.set)->titleTextAttributes_.value;
}
void UINavigationBar::setTitleTextAttributes(std::optional<NSAttributedString::Attributes> attributes) {
  titleTextAttributes_ = {true, std::move(attributes)};
}

void UINavigationBar::pushItem(const std::shared_ptr<UINavigationItem>& item) {
  items_.push_back(item);
  addSubview(UINavigationItemView::make());
}

namespace testing {

void resetNavigationBarAppearance() {
  std::lock_guard<std::mutex> lock(proxyMutex);
  proxy.reset();
}

}  // namespace testing
}  // namespace ios
