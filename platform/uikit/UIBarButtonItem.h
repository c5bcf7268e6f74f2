// File: platform/uikit/UIBarButtonItem.h
//
// The buttons of navigation bars and toolbars: a title with a style, a system item, or a
// custom view, each with an optional target and action.
//
//   auto done = ios::UIBarButtonItem::make("Done", ios::UIBarButtonItemStyle::done, field,
//                                          ios::sel_registerName("resignFirstResponder"));
//   ios::UIApplication::shared()->sendAction(done->action(), done->target(), done);   // a tap
//
// Fidelity: the target is not retained. A system item keeps its kind; its title and
// image (which the platform draws from its own artwork) are absent. Tapping is sending
// the item's action through UIApplication::sendAction.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/runtime/NSObject.h"
#include "platform/runtime/Selector.h"
#include "platform/uikit/UIView.h"

namespace ios {

enum class UIBarButtonItemStyle : std::int64_t { plain = 0, bordered = 1, done = 2 };

// The platform's ready-made items, with their raw values.
enum class UIBarButtonSystemItem : std::int64_t {
  done = 0,
  cancel = 1,
  edit = 2,
  save = 3,
  add = 4,
  flexibleSpace = 5,
  fixedSpace = 6,
  compose = 7,
  reply = 8,
  action = 9,
  organize = 10,
  bookmarks = 11,
  search = 12,
  refresh = 13,
  stop = 14,
  camera = 15,
  trash = 16,
  play = 17,
  pause = 18,
  rewind = 19,
  fastForward = 20,
  undo = 21,
  redo = 22,
  pageCurl = 23,
  close = 24,
};

class UIBarButtonItem : public NSObject {
  IOS_RUNTIME_CLASS(UIBarButtonItem, NSObject);

 public:
  [[nodiscard]] const std::optional<std::string>& title() const { return title_; }
  void setTitle(std::optional<std::string> title) { title_ = std::move(title); }
  [[nodiscard]] UIBarButtonItemStyle style() const { return style_; }
  void setStyle(UIBarButtonItemStyle style) { style_ = style; }
  // The system item this was made as, or nothing.
  [[nodiscard]] std::optional<UIBarButtonSystemItem> systemItem() const { return systemItem_; }
  // The item's own view, or null.
  [[nodiscard]] std::shared_ptr<UIView> customView() const { return customView_; }
  void setCustomView(std::shared_ptr<UIView> view) { customView_ = std::move(view); }

  // The object the action goes to (null when none or gone) and the action (null: none).
  [[nodiscard]] id target() const { return target_.lock(); }
  void setTarget(const id& target) { target_ = target; }
  [[nodiscard]] SEL action() const { return action_; }
  void setAction(SEL action) { action_ = action; }

 protected:
  UIBarButtonItem() = default;
  // UIBarButtonItem(customView:).
  explicit UIBarButtonItem(std::shared_ptr<UIView> customView) : customView_(std::move(customView)) {}
  // UIBarButtonItem(title:style:target:action:).
  UIBarButtonItem(std::optional<std::string> title, UIBarButtonItemStyle style, const id& target, SEL action)
      : title_(std::move(title)), style_(style), target_(target), action_(action) {}
  // UIBarButtonItem(barButtonSystemItem:target:action:).
  UIBarButtonItem(UIBarButtonSystemItem item, const id& target, SEL action)
      : systemItem_(item), target_(target), action_(action) {}

 private:
  std::optional<std::string> title_;
  UIBarButtonItemStyle style_ = UIBarButtonItemStyle::plain;
  std::optional<UIBarButtonSystemItem> systemItem_;
  std::shared_ptr<UIView> customView_;
  std::weak_ptr<NSObject> target_;
  SEL action_ = nullptr;
};

}  // namespace ios
