#include "platform/dispatch/DispatchSourceTimer.h"

#include <mutex>
#include <optional>

#include "platform/dispatch/internal/Engine.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Precondition.h"

namespace ios {

// The source proper. The handle (DispatchSourceTimer) is the caller's reference; the
// timer heap and queued handler calls keep the state alive on their own.
struct DispatchSourceTimer::State : std::enable_shared_from_this<State> {
  explicit State(std::shared_ptr<DispatchQueue> target) : queue(std::move(target)) {}

  mutable std::mutex mutex;
  std::shared_ptr<DispatchQueue> queue;
  std::function<void()> handler;
  int suspendCount = 1;
  bool activated = false;
  bool cancelled = false;
  bool scheduled = false;
  std::uint64_t next = 0;          // uptime of the next fire
  std::int64_t interval = -1;      // nanoseconds; -1 for a one-shot
  std::uint64_t generation = 0;    // bumped by schedule() and cancel(): older timer entries are stale
  std::uint64_t pending = 0;       // fires not yet handed to the handler
  bool enqueued = false;           // a handler call is queued or running
  std::uint64_t data = 0;
  std::optional<dispatch_internal::TimerId> armed;  // the engine's timer for `next`, until it fires

  // Caller holds the lock. Takes the armed timer out of the engine: a schedule that is
  // replaced or cancelled keeps nothing there until its old deadline.
  void disarm() {
    if (armed) dispatch_internal::cancelTimer(*armed);
    armed.reset();
  }

  // Caller holds the lock.
  void arm() {
    disarm();
    if (!activated || cancelled || !scheduled) return;
    const std::uint64_t expected = generation;
    armed = dispatch_internal::addTimer(next, [weak = weak_from_this(), expected] {
      if (auto self = weak.lock()) self->fire(expected);
    });
  }

  void fire(std::uint64_t expected) {
    std::lock_guard lock(mutex);
    if (cancelled || expected != generation) return;
    armed.reset();  // this very timer, gone from the engine
    ++pending;
    if (interval > 0) {
      // Stay on the grid: the next deadline after now.
      const std::uint64_t now = clock::uptimeNanoseconds();
      const auto step = static_cast<std::uint64_t>(interval);
      const std::uint64_t missed = now >= next ? (now - next) / step + 1 : 1;
      next += missed * step;
      arm();
    } else {
      scheduled = false;
    }
    enqueueIfReady();
  }

  // Caller holds the lock.
  void enqueueIfReady() {
    if (suspendCount > 0 || enqueued || pending == 0 || cancelled) return;
    enqueued = true;
    queue->async([self = shared_from_this()] { self->invoke(); });
  }

  void invoke() {
    // A handler released here may hold the last handle of this very source, whose
    // release takes the lock: it is destroyed only after the lock is left.
    std::function<void()> released;
    std::function<void()> call;
    {
      std::lock_guard lock(mutex);
      if (cancelled || suspendCount > 0) {
        enqueued = false;
        if (cancelled) std::swap(released, handler);
        return;
      }
      data = pending;
      pending = 0;
      call = handler;
    }
    if (call) call();
    call = nullptr;
    std::lock_guard lock(mutex);
    enqueued = false;
    if (cancelled) {
      std::swap(released, handler);
      return;
    }
    enqueueIfReady();
  }
};

std::shared_ptr<DispatchSourceTimer> DispatchSourceTimer::makeTimerSource(std::shared_ptr<DispatchQueue> queue) {
  KP_PRECONDITION(queue != nullptr, "a timer source needs a target queue");
  return std::make_shared<DispatchSourceTimer>(std::make_shared<State>(std::move(queue)));
}

DispatchSourceTimer::~DispatchSourceTimer() {
  {
    std::lock_guard lock(state_->mutex);
    if (state_->suspendCount > 0) {
      fatalError(state_->activated ? "BUG IN CLIENT OF LIBDISPATCH: Release of a suspended object"
                                   : "BUG IN CLIENT OF LIBDISPATCH: Release of an inactive object");
    }
  }
  cancel();
}

void DispatchSourceTimer::schedule(DispatchTime deadline, DispatchTimeInterval repeating, DispatchTimeInterval) {
  std::lock_guard lock(state_->mutex);
  if (state_->cancelled) return;
  ++state_->generation;
  state_->pending = 0;
  if (deadline.isDistantFuture()) {
    state_->scheduled = false;
    state_->disarm();
    return;
  }
  state_->scheduled = true;
  state_->next = deadline.uptimeNanoseconds();
  state_->interval = repeating.isNever() || repeating.nanosecondsValue() <= 0 ? -1 : repeating.nanosecondsValue();
  state_->arm();
}

void DispatchSourceTimer::setEventHandler(std::function<void()> handler) {
  std::lock_guard lock(state_->mutex);
  if (state_->cancelled && !state_->enqueued) return;
  // The replaced handler is destroyed with the parameter, after the lock is released.
  std::swap(state_->handler, handler);
}

void DispatchSourceTimer::resume() {
  std::lock_guard lock(state_->mutex);
  if (state_->suspendCount == 0) fatalError("BUG IN CLIENT OF LIBDISPATCH: Over-resume of an object");
  if (--state_->suspendCount > 0) return;
  if (!state_->activated) {
    state_->activated = true;
    state_->arm();
  }
  state_->enqueueIfReady();
}

void DispatchSourceTimer::suspend() {
  std::lock_guard lock(state_->mutex);
  ++state_->suspendCount;
}

void DispatchSourceTimer::activate() {
  std::lock_guard lock(state_->mutex);
  if (state_->activated) return;
  state_->activated = true;
  --state_->suspendCount;
  state_->arm();
  state_->enqueueIfReady();
}

void DispatchSourceTimer::cancel() {
  std::function<void()> released;  // destroyed after the lock is released
  std::lock_guard lock(state_->mutex);
  state_->cancelled = true;
  ++state_->generation;
  state_->pending = 0;
  state_->disarm();
  if (!state_->enqueued) std::swap(released, state_->handler);
}

bool DispatchSourceTimer::isCancelled() const {
  std::lock_guard lock(state_->mutex);
  return state_->cancelled;
}

std::uint64_t DispatchSourceTimer::data() const {
  std::lock_guard lock(state_->mutex);
  return state_->data;
}

int DispatchSourceTimer::debugSuspendCount() const {
  std::lock_guard lock(state_->mutex);
  return state_->suspendCount;
}

bool DispatchSourceTimer::debugIsActivated() const {
  std::lock_guard lock(state_->mutex);
  return state_->activated;
}

}  // namespace ios
