#include "KPQuaslet/concurrency/KPHelper.h"

#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/Precondition.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIView.h"

namespace kp {

void DelayTask::submit(Cell& cell) {
  std::function<void()> work;
  {
    std::lock_guard lock(cell.mutex);
    work = cell.work;
  }
  if (work) ios::DispatchQueue::main().async(std::move(work));
}

void DelayTask::operator()(bool cancel) const {
  if (!cancel) {
    submit(*cell_);
    return;
  }
  std::function<void()> released;  // destroyed after the lock
  {
    std::lock_guard lock(cell_->mutex);
    std::swap(released, cell_->work);
  }
  deadline_->cancel();
}

std::optional<DelayTask> delay(double time, std::function<void()> work) {
  KP_PRECONDITION(work != nullptr, "delay needs work to run");
  auto cell = std::make_shared<DelayTask::Cell>();
  cell->work = std::move(work);
  // The deadline keeps the cell (not the task), so nothing refers back to itself.
  auto deadline = ios::DispatchWorkItem::make([cell] { DelayTask::submit(*cell); });
  ios::DispatchQueue::main().asyncAfter(ios::DispatchTime::now().advanced(ios::secondsToNanoseconds(time)), deadline);
  return DelayTask(std::move(cell), std::move(deadline));
}

void cancel(const std::optional<DelayTask>& task) {
  if (task) (*task)(true);
}

std::shared_ptr<ios::UIResponder> findFirstResponder() {
  static const ios::SEL windowSelector = ios::sel_registerName("window");
  const ios::id delegate = ios::UIApplication::shared()->delegate();
  if (!delegate || !delegate->respondsToSelector(windowSelector)) return nullptr;
  const auto window = std::dynamic_pointer_cast<ios::UIView>(ios::send<ios::id>(delegate, windowSelector));
  if (!window) return nullptr;
  return findFirstResponderInView(*window);
}

std::shared_ptr<ios::UIResponder> findFirstResponderInView(ios::UIView& view) {
  if (view.isFirstResponder()) return std::static_pointer_cast<ios::UIResponder>(view.shared_from_this());
  for (const auto& subview : view.subviews()) {
    if (subview->isFirstResponder()) return subview;
    if (auto found = findFirstResponderInView(*subview)) return found;
  }
  return nullptr;
}

}  // namespace kp
