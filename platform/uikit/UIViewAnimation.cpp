#include "platform/uikit/UIViewAnimation.h"

#include <algorithm>
#include <cmath>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/dispatch/DispatchTime.h"

namespace ios {
namespace {

// A completion that has not run yet, and the layers its animation changed.
struct PendingCompletion {
  std::function<void(bool)> completion;
  std::vector<const CALayer*> layers;
  bool done = false;
};

struct Recorder {
  std::vector<testing::ViewAnimationRecord> records;
  // Indices into `records` of the animation blocks running now, innermost last.
  std::vector<std::size_t> open;
  std::vector<std::shared_ptr<PendingCompletion>> pending;
  // The pending completions of the animation blocks running now.
  std::vector<std::shared_ptr<PendingCompletion>> openPending;
};

Recorder& recorder() {
  static Recorder r;
  return r;
}

void layerChanged(CALayer& layer, const char* key, const CAPropertyValue& from, const CAPropertyValue& to) {
  Recorder& r = recorder();
  if (r.open.empty()) return;
  r.records[r.open.back()].changes.push_back(
      {std::static_pointer_cast<CALayer>(layer.shared_from_this()), key, from, to});
  if (const auto& p = r.openPending.back()) p->layers.push_back(&layer);
}

void layerAnimationsRemoved(CALayer& layer) {
  Recorder& r = recorder();
  for (auto& p : r.pending) {
    if (p->done || std::find(p->layers.begin(), p->layers.end(), &layer) == p->layers.end()) continue;
    p->done = true;
    DispatchQueue::main().async([completion = std::move(p->completion)] {
      if (completion) completion(false);
    });
  }
  std::erase_if(r.pending, [](const auto& p) { return p->done; });
}

// Property changes are observed only while an animation block runs.
void observePropertyChanges(bool observe) {
  ca_internal::setLayerObserver({observe ? &layerChanged : nullptr, &layerAnimationsRemoved});
}

const bool observerInstalled = [] {
  observePropertyChanges(false);
  return true;
}();

double seconds(double value) { return std::isfinite(value) && value > 0 ? value : 0; }

void run(testing::ViewAnimationRecord record, const std::function<void()>& animations,
         std::function<void(bool)> completion) {
  (void)observerInstalled;
  Recorder& r = recorder();
  const double wait = seconds(record.delay) + seconds(record.duration);
  record.hasCompletion = static_cast<bool>(completion);
  r.records.push_back(std::move(record));
  std::shared_ptr<PendingCompletion> pending;
  if (completion) {
    pending = std::make_shared<PendingCompletion>();
    pending->completion = std::move(completion);
    r.pending.push_back(pending);
  }
  r.open.push_back(r.records.size() - 1);
  r.openPending.push_back(pending);
  observePropertyChanges(true);
  struct Close {
    Recorder& r;
    ~Close() {
      r.open.pop_back();
      r.openPending.pop_back();
      if (r.open.empty()) observePropertyChanges(false);
    }
  } close{r};
  if (animations) animations();
  if (pending == nullptr) return;
  std::weak_ptr<PendingCompletion> weak = pending;
  DispatchQueue::main().asyncAfter(DispatchTime::now() + wait, [weak] {
    auto p = weak.lock();
    if (p == nullptr || p->done) return;
    p->done = true;
    auto completion = std::move(p->completion);
    std::erase(recorder().pending, p);
    completion(true);
  });
}

}  // namespace

void UIView::animate(double duration, double delay, UIViewAnimationOptions options,
                     const std::function<void()>& animations, std::function<void(bool)> completion) {
  testing::ViewAnimationRecord record;
  record.duration = duration;
  record.delay = delay;
  record.options = options;
  run(std::move(record), animations, std::move(completion));
}

void UIView::animate(double duration, const std::function<void()>& animations, std::function<void(bool)> completion) {
  animate(duration, 0, 0, animations, std::move(completion));
}

void UIView::animate(double duration, double delay, CGFloat dampingRatio, CGFloat velocity,
                     UIViewAnimationOptions options, const std::function<void()>& animations,
                     std::function<void(bool)> completion) {
  testing::ViewAnimationRecord record;
  record.kind = testing::ViewAnimationKind::spring;
  record.duration = duration;
  record.delay = delay;
  record.options = options;
  record.dampingRatio = dampingRatio;
  record.initialVelocity = velocity;
  run(std::move(record), animations, std::move(completion));
}

void UIView::transition(const std::shared_ptr<UIView>& with, double duration, UIViewAnimationOptions options,
                        const std::function<void()>& animations, std::function<void(bool)> completion) {
  testing::ViewAnimationRecord record;
  record.kind = testing::ViewAnimationKind::transition;
  record.duration = duration;
  record.options = options;
  record.view = with;
  run(std::move(record), animations, std::move(completion));
}

namespace testing {

const std::vector<ViewAnimationRecord>& recordedViewAnimations() { return recorder().records; }

void clearRecordedViewAnimations() {
  Recorder& r = recorder();
  // Records of blocks still running stay, so that their changes have a place to go.
  if (r.open.empty()) r.records.clear();
}

void resetViewAnimations() {
  Recorder& r = recorder();
  if (r.open.empty()) r.records.clear();
  for (auto& p : r.pending) p->done = true;
  r.pending.clear();
}

}  // namespace testing
}  // namespace ios
