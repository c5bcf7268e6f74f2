// File: platform/uikit/UIControl.h
//
// Controls: the target-action base class and the simple controls built on it, the
// button, the switch and the segmented control.
//
//   auto save = ios::UIButton::make(ios::CGRect(0, 0, 80, 44));
//   save->setTitle("Save", ios::UIControlStateOption::normal);
//   save->addTarget(controller, ios::sel_registerName("save:"), ios::UIControlEventOption::touchUpInside);
//   save->sendActions(ios::UIControlEventOption::touchUpInside);   // controller gets "save:"
//
// Fidelity: targets are not retained (a target that is gone is skipped) and the same
// target, action and events added twice are kept once; actions run in the order added.
// An action selector without a colon is sent with no argument, one with a colon with
// the control. A null target is skipped (the responder-chain search is absent).
// A button keeps a title, title colour, image and background image per state; a state
// without its own value shows the normal state's. Its image view and title label are
// made on first use (setting a title or an image makes them) and show the values of
// the current state. Laying out places them side by side, image first, in the bounds
// less the content insets, each moved by its own edge insets and aligned as the
// content alignments say; the title takes its measured size (NSStringDrawing.h),
// at most the room left beside the image. Setting a switch or a
// segmented control from code sends no actions, as on the platform. Touch tracking,
// menus, configurations and the system button types are absent.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGeometry.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace ios {

// UIControl.State raw bits.
using UIControlState = std::uint64_t;
namespace UIControlStateOption {
inline constexpr UIControlState normal = 0;
inline constexpr UIControlState highlighted = 1 << 0;
inline constexpr UIControlState disabled = 1 << 1;
inline constexpr UIControlState selected = 1 << 2;
}  // namespace UIControlStateOption

// UIControl.Event raw bits.
using UIControlEvents = std::uint64_t;
namespace UIControlEventOption {
inline constexpr UIControlEvents touchDown = 1 << 0;
inline constexpr UIControlEvents touchUpInside = 1 << 6;
inline constexpr UIControlEvents valueChanged = 1 << 12;
inline constexpr UIControlEvents editingDidBegin = 1 << 16;
inline constexpr UIControlEvents editingChanged = 1 << 17;
inline constexpr UIControlEvents editingDidEnd = 1 << 18;
}  // namespace UIControlEventOption

enum class UIControlContentHorizontalAlignment : std::int64_t { center = 0, left = 1, right = 2, fill = 3 };
enum class UIControlContentVerticalAlignment : std::int64_t { center = 0, top = 1, bottom = 2, fill = 3 };

class UIControl : public UIView {
  IOS_RUNTIME_CLASS(UIControl, UIView);

 public:
  // Adds `action` sent to `target` for any of `events`; the target is not retained. A
  // null action adds nothing; the same triple is kept once.
  void addTarget(const std::shared_ptr<NSObject>& target, SEL action, UIControlEvents events);
  // Removes the pairs with this target (null: any) and action (null: any) for `events`.
  void removeTarget(const NSObject* target, SEL action, UIControlEvents events);
  // The actions registered for `target` and any of `events`, in the order added.
  [[nodiscard]] std::vector<SEL> actions(const NSObject* target, UIControlEvents events) const;
  // Sends the actions registered for any of `events`, in the order added.
  void sendActions(UIControlEvents events);

  [[nodiscard]] bool isEnabled() const { return enabled_; }
  virtual void setEnabled(bool enabled) { enabled_ = enabled; stateChanged(); }
  [[nodiscard]] bool isSelected() const { return selected_; }
  virtual void setSelected(bool selected) { selected_ = selected; stateChanged(); }
  [[nodiscard]] bool isHighlighted() const { return highlighted_; }
  virtual void setHighlighted(bool highlighted) { highlighted_ = highlighted; stateChanged(); }
  // The state bits of the three flags above.
  [[nodiscard]] UIControlState state() const;

  UIControlContentHorizontalAlignment contentHorizontalAlignment = UIControlContentHorizontalAlignment::center;
  UIControlContentVerticalAlignment contentVerticalAlignment = UIControlContentVerticalAlignment::center;

 protected:
  explicit UIControl(CGRect frame = CGRect());
  // For controls backed by another kind of layer.
  UIControl(CGRect frame, std::shared_ptr<CALayer> layer);
  // Called after the enabled, selected or highlighted flag changed.
  virtual void stateChanged() {}

 private:
  struct Target {
    std::weak_ptr<NSObject> object;
    SEL action = nullptr;
    UIControlEvents events = 0;
  };
  std::vector<Target> targets_;
  bool enabled_ = true;
  bool selected_ = false;
  bool highlighted_ = false;
};

class UIButton : public UIControl {
  IOS_RUNTIME_CLASS(UIButton, UIControl);

 public:
  // The value set for `state` itself, falling back to the normal state's.
  [[nodiscard]] std::optional<std::string> title(UIControlState state) const;
  void setTitle(std::optional<std::string> title, UIControlState state);
  [[nodiscard]] std::optional<UIColor> titleColor(UIControlState state) const;
  void setTitleColor(std::optional<UIColor> color, UIControlState state);
  [[nodiscard]] std::optional<UIImage> image(UIControlState state) const;
  void setImage(std::optional<UIImage> image, UIControlState state);
  [[nodiscard]] std::optional<UIImage> backgroundImage(UIControlState state) const;
  void setBackgroundImage(std::optional<UIImage> image, UIControlState state);

  // The values shown now, for the current state.
  [[nodiscard]] std::optional<std::string> currentTitle() const { return title(state()); }
  [[nodiscard]] std::optional<UIImage> currentImage() const { return image(state()); }
  [[nodiscard]] std::optional<UIImage> currentBackgroundImage() const { return backgroundImage(state()); }

  // The image view and the title label, made on first use; they show the current
  // state's image and title (nothing when none is set).
  [[nodiscard]] std::shared_ptr<UIImageView> imageView();
  [[nodiscard]] std::shared_ptr<UILabel> titleLabel();

  [[nodiscard]] UIEdgeInsets contentEdgeInsets() const { return contentEdgeInsets_; }
  void setContentEdgeInsets(UIEdgeInsets insets) { contentEdgeInsets_ = insets; setNeedsLayout(); }
  [[nodiscard]] UIEdgeInsets titleEdgeInsets() const { return titleEdgeInsets_; }
  void setTitleEdgeInsets(UIEdgeInsets insets) { titleEdgeInsets_ = insets; setNeedsLayout(); }
  [[nodiscard]] UIEdgeInsets imageEdgeInsets() const { return imageEdgeInsets_; }
  void setImageEdgeInsets(UIEdgeInsets insets) { imageEdgeInsets_ = insets; setNeedsLayout(); }

 protected:
  explicit UIButton(CGRect frame = CGRect());
  void stateChanged() override { refresh(); }
  void layoutSubviews() override;

 private:
  template <class V>
  static std::optional<V> lookup(const std::map<UIControlState, V>& values, UIControlState state);
  // Puts the current state's values into the image view and the title label (making
  // them when a title or image is set for the first time).
  void refresh();
  [[nodiscard]] std::shared_ptr<UILabel> makeTitleLabel();

  std::map<UIControlState, std::string> titles_;
  std::map<UIControlState, UIColor> titleColors_;
  std::map<UIControlState, UIImage> images_;
  std::map<UIControlState, UIImage> backgroundImages_;
  std::shared_ptr<UIImageView> imageView_;
  std::shared_ptr<UILabel> titleLabel_;
  UIEdgeInsets contentEdgeInsets_;
  UIEdgeInsets titleEdgeInsets_;
  UIEdgeInsets imageEdgeInsets_;
};

// UISwitch
//
// An on/off control. setOn(_, animated: true) moves the thumb inside a recorded view
// animation of 0.25 s (see UIViewAnimation.h); without animation nothing is recorded.
class UISwitch : public UIControl {
  IOS_RUNTIME_CLASS(UISwitch, UIControl);

 public:
  [[nodiscard]] bool isOn() const { return on_; }
  void setOn(bool on) { on_ = on; }
  void setOn(bool on, bool animated);

 protected:
  explicit UISwitch(CGRect frame = CGRect());

 private:
  bool on_ = false;
};

// UISegmentedControl
//
// A row of segments, each showing a title or an image. Indexes past the end are
// clamped when inserting and answer nothing when reading.
class UISegmentedControl : public UIControl {
  IOS_RUNTIME_CLASS(UISegmentedControl, UIControl);

 public:
  // No segment is selected.
  static constexpr std::int64_t noSegment = -1;

  [[nodiscard]] std::int64_t numberOfSegments() const { return static_cast<std::int64_t>(segments_.size()); }
  [[nodiscard]] std::optional<std::string> titleForSegment(std::int64_t index) const;
  [[nodiscard]] std::optional<UIImage> imageForSegment(std::int64_t index) const;
  // Sets the segment's title (its image goes); nothing for an index outside.
  void setTitle(std::optional<std::string> title, std::int64_t segment);
  // Sets the segment's image (its title goes); nothing for an index outside.
  void setImage(std::optional<UIImage> image, std::int64_t segment);
  // Inserts a segment at `index`, clamped to 0...numberOfSegments().
  void insertSegment(std::string title, std::int64_t index, bool animated);
  void insertSegment(const UIImage& image, std::int64_t index, bool animated);
  // Removes every segment; no segment is selected afterwards.
  void removeAllSegments();
  [[nodiscard]] std::int64_t selectedSegmentIndex() const { return selected_; }
  // Selects a segment (noSegment: none); an index outside selects none.
  void setSelectedSegmentIndex(std::int64_t index);

 protected:
  // A control with one segment per title, in order.
  explicit UISegmentedControl(const std::vector<std::string>& titles = {});

 private:
  struct Segment {
    std::optional<std::string> title;
    std::optional<UIImage> image;
  };
  void insert(Segment segment, std::int64_t index);

  std::vector<Segment> segments_;
  std::int64_t selected_ = noSegment;
};

}  // namespace ios
