#include "platform/uikit/UIControl.h"

#include <algorithm>

#include "platform/runtime/Send.h"
#include "platform/uikit/internal/TargetAction.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UIControl, "UIControl", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UIButton, "UIButton", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UISwitch, "UISwitch", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UISegmentedControl, "UISegmentedControl", nullptr)

// ---- UIControl ----------------------------------------------------------------------

UIControl::UIControl(CGRect frame) : UIView(frame) {}

UIControl::UIControl(CGRect frame, std::shared_ptr<CALayer> layer) : UIView(frame, std::move(layer)) {}

void UIControl::addTarget(const std::shared_ptr<NSObject>& target, SEL action, UIControlEvents events) {
  if (action == nullptr || events == 0) return;
  for (const Target& t : targets_) {
    if (t.action == action && t.events == events && t.object.lock() == target) return;
  }
  targets_.push_back(Target{target, action, events});
}

void UIControl::removeTarget(const NSObject* target, SEL action, UIControlEvents events) {
  for (Target& t : targets_) {
    const bool matches = (target == nullptr || t.object.lock().get() == target) && (action == nullptr || t.action == action);
    if (matches) t.events &= ~events;
  }
  std::erase_if(targets_, [](const Target& t) { return t.events == 0; });
}

std::vector<SEL> UIControl::actions(const NSObject* target, UIControlEvents events) const {
  std::vector<SEL> found;
  for (const Target& t : targets_) {
    if ((t.events & events) != 0 && t.object.lock().get() == target) found.push_back(t.action);
  }
  return found;
}

void UIControl::sendActions(UIControlEvents events) {
  const std::vector<Target> targets = targets_;  // an action may change the list
  const id self = shared_from_this();
  for (const Target& t : targets) {
    if ((t.events & events) == 0) continue;
    const id receiver = t.object.lock();
    if (receiver == nullptr) continue;
    uikit_internal::sendAction(receiver, t.action, self);
  }
}

UIControlState UIControl::state() const {
  UIControlState s = UIControlStateOption::normal;
  if (highlighted_) s |= UIControlStateOption::highlighted;
  if (!enabled_) s |= UIControlStateOption::disabled;
  if (selected_) s |= UIControlStateOption::selected;
  return s;
}

// ---- UIButton -----------------------------------------------------------------------

UIButton::UIButton(CGRect frame) : UIControl(frame) {}

template <class V>
std::optional<V> UIButton::lookup(const std::map<UIControlState, V>& values, UIControlState state) {
  if (auto it = values.find(state); it != values.end()) return it->second;
  if (auto it = values.find(UIControlStateOption::normal); it != values.end()) return it->second;
  return std::nullopt;
}

namespace {

template <class V>
void store(std::map<UIControlState, V>& values, std::optional<V> value, UIControlState state) {
  if (value) {
    values.insert_or_assign(state, std::move(*value));
  } else {
    values.erase(state);
  }
}

}  // namespace

std::optional<std::string> UIButton::title(UIControlState state) const { return lookup(titles_, state); }
std::optional<UIColor> UIButton::titleColor(UIControlState state) const { return lookup(titleColors_, state); }
std::optional<UIImage> UIButton::image(UIControlState state) const { return lookup(images_, state); }
std::optional<UIImage> UIButton::backgroundImage(UIControlState state) const {
  return lookup(backgroundImages_, state);
}

void UIButton::setTitle(std::optional<std::string> title, UIControlState state) {
  store(titles_, std::move(title), state);
  refresh();
}

void UIButton::setTitleColor(std::optional<UIColor> color, UIControlState state) {
  store(titleColors_, std::move(color), state);
  refresh();
}

void UIButton::setImage(std::optional<UIImage> image, UIControlState state) {
  store(images_, std::move(image), state);
  refresh();
}

void UIButton::setBackgroundImage(std::optional<UIImage> image, UIControlState state) {
  store(backgroundImages_, std::move(image), state);
}

std::shared_ptr<UIImageView> UIButton::imageView() {
  if (imageView_ == nullptr) {
    imageView_ = UIImageView::make();
    addSubview(imageView_);
    refresh();
  }
  return imageView_;
}

std::shared_ptr<UILabel> UIButton::makeTitleLabel() {
  auto label = UILabel::make();
  label->setFont(UIFont::systemFont(UIFont::labelFontSize()));
  addSubview(label);
  return label;
}

std::shared_ptr<UILabel> UIButton::titleLabel() {
  if (titleLabel_ == nullptr) {
    titleLabel_ = makeTitleLabel();
    refresh();
  }
  return titleLabel_;
}

namespace {

CGRect insetRect(CGRect r, UIEdgeInsets insets) {
  return CGRect(r.origin.x + insets.left, r.origin.y + insets.top, r.size.width - insets.left - insets.right,
                r.size.height - insets.top - insets.bottom);
}

}  // namespace

void UIButton::layoutSubviews() {
  UIControl::layoutSubviews();
  const CGRect content = insetRect(bounds(), contentEdgeInsets_);
  const CGRect imageArea = insetRect(content, imageEdgeInsets_);
  const CGRect titleArea = insetRect(content, titleEdgeInsets_);
  const CGSize imageSize = imageView_ != nullptr && imageView_->image() ? imageView_->image()->size() : CGSize();
  CGSize titleSize;
  if (titleLabel_ != nullptr) {
    titleSize = titleLabel_->sizeThatFits(CGSize(titleArea.size.width, titleArea.size.height));
    titleSize.width = std::clamp(titleArea.size.width - imageSize.width, 0.0, titleSize.width);
  }
  const CGFloat together = imageSize.width + titleSize.width;
  // The left edge of a piece `offset` into the image-and-title group placed in `area`.
  auto left = [&](CGRect area, CGFloat offset) {
    switch (contentHorizontalAlignment) {
      case UIControlContentHorizontalAlignment::left: return area.origin.x + offset;
      case UIControlContentHorizontalAlignment::right: return area.origin.x + area.size.width - together + offset;
      default: return area.origin.x + (area.size.width - together) / 2 + offset;
    }
  };
  auto top = [&](CGRect area, CGFloat height) {
    switch (contentVerticalAlignment) {
      case UIControlContentVerticalAlignment::top: return area.origin.y;
      case UIControlContentVerticalAlignment::bottom: return area.origin.y + area.size.height - height;
      default: return area.origin.y + (area.size.height - height) / 2;
    }
  };
  if (imageView_ != nullptr) {
    imageView_->setFrame(CGRect(left(imageArea, 0), top(imageArea, imageSize.height), imageSize.width,
                                imageSize.height));
  }
  if (titleLabel_ != nullptr) {
    titleLabel_->setFrame(CGRect(left(titleArea, imageSize.width), top(titleArea, titleSize.height), titleSize.width,
                                 titleSize.height));
  }
}

void UIButton::refresh() {
  const UIControlState s = state();
  if (titleLabel_ == nullptr && title(s)) titleLabel_ = makeTitleLabel();
  if (imageView_ == nullptr && image(s)) {
    imageView_ = UIImageView::make();
    addSubview(imageView_);
  }
  setNeedsLayout();
  if (imageView_ != nullptr) imageView_->setImage(image(s));
  if (titleLabel_ != nullptr) {
    titleLabel_->setText(title(s));
    if (auto color = titleColor(s)) titleLabel_->setTextColor(*color);
  }
}

// ---- UISwitch -----------------------------------------------------------------------

UISwitch::UISwitch(CGRect frame) : UIControl(frame) {}

void UISwitch::setOn(bool on, bool animated) {
  if (!animated) {
    on_ = on;
    return;
  }
  // The thumb's move is the animation; the record shows its timing.
  UIView::animate(0.25, [this, on] { on_ = on; });
}

// ---- UISegmentedControl -------------------------------------------------------------

UISegmentedControl::UISegmentedControl(const std::vector<std::string>& titles) : UIControl(CGRect()) {
  for (const std::string& t : titles) segments_.push_back(Segment{t, std::nullopt});
}

std::optional<std::string> UISegmentedControl::titleForSegment(std::int64_t index) const {
  if (index < 0 || index >= numberOfSegments()) return std::nullopt;
  return segments_[static_cast<std::size_t>(index)].title;
}

std::optional<UIImage> UISegmentedControl::imageForSegment(std::int64_t index) const {
  if (index < 0 || index >= numberOfSegments()) return std::nullopt;
  return segments_[static_cast<std::size_t>(index)].image;
}

void UISegmentedControl::setTitle(std::optional<std::string> title, std::int64_t segment) {
  if (segment < 0 || segment >= numberOfSegments()) return;
  segments_[static_cast<std::size_t>(segment)] = Segment{std::move(title), std::nullopt};
}

void UISegmentedControl::setImage(std::optional<UIImage> image, std::int64_t segment) {
  if (segment < 0 || segment >= numberOfSegments()) return;
  segments_[static_cast<std::size_t>(segment)] = Segment{std::nullopt, std::move(image)};
}

void UISegmentedControl::insert(Segment segment, std::int64_t index) {
  const std::int64_t at = std::clamp<std::int64_t>(index, 0, numberOfSegments());
  segments_.insert(segments_.begin() + at, std::move(segment));
  if (selected_ != noSegment && selected_ >= at) ++selected_;
}

void UISegmentedControl::insertSegment(std::string title, std::int64_t index, bool /*animated*/) {
  insert(Segment{std::move(title), std::nullopt}, index);
}

void UISegmentedControl::insertSegment(const UIImage& image, std::int64_t index, bool /*animated*/) {
  insert(Segment{std::nullopt, image}, index);
}

void UISegmentedControl::removeAllSegments() {
  segments_.clear();
  selected_ = noSegment;
}

void UISegmentedControl::setSelectedSegmentIndex(std::int64_t index) {
  selected_ = (index >= 0 && index < numberOfSegments()) ? index : noSegment;
}

}  // namespace ios
