// File: platform/dispatch/DispatchSourceTimer.h
//
// Timer sources: a handler run on a target queue at a deadline, then every interval.
//
//   auto timer = ios::DispatchSourceTimer::makeTimerSource(queue);
//   timer->schedule(ios::DispatchTime::now() + 1.0, ios::DispatchTimeInterval::seconds(1));
//   timer->setEventHandler([] { ... });
//   timer->resume();  // sources are created suspended
//
// Fidelity: keeps the platform's rules. A source is created inactive with a suspend
// count of one; the first resume() activates it; resuming more often than suspending
// stops the process ("Over-resume of an object"), and so does dropping the last handle
// of a source that is suspended or was never activated ("Release of a suspended object",
// "Release of an inactive object"). schedule() replaces the earlier schedule and counts
// from the call; repeats stay on the grid deadline + k x interval, and fires missed while
// suspended or busy merge into one handler call (data() tells how many). The handler
// never overlaps itself; setEventHandler() takes effect from the next call; cancel()
// stops further calls and releases the handler once it is not running; cancel() and a
// new schedule() also take the pending deadline out of the dispatch timers at once, so
// a cancelled source leaves nothing behind there. Differences: a
// repeat interval of zero (a timer that would fire without pause) fires once; leeway is
// accepted and ignored.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/dispatch/DispatchTime.h"

namespace ios {

class DispatchSourceTimer {
 public:
  // A new inactive timer source whose handler runs on `queue`.
  [[nodiscard]] static std::shared_ptr<DispatchSourceTimer> makeTimerSource(std::shared_ptr<DispatchQueue> queue);

  ~DispatchSourceTimer();
  DispatchSourceTimer(const DispatchSourceTimer&) = delete;
  DispatchSourceTimer& operator=(const DispatchSourceTimer&) = delete;

  // First fire at `deadline`, then every `repeating` (never: once).
  void schedule(DispatchTime deadline, DispatchTimeInterval repeating = DispatchTimeInterval::never(),
                DispatchTimeInterval leeway = DispatchTimeInterval::nanoseconds(0));
  void setEventHandler(std::function<void()> handler);
  void resume();
  void suspend();
  // Activates an inactive source without changing its suspend count otherwise.
  void activate();
  void cancel();
  [[nodiscard]] bool isCancelled() const;
  // The number of fires merged into the handler call that is running.
  [[nodiscard]] std::uint64_t data() const;

  // State a test can read.
  [[nodiscard]] int debugSuspendCount() const;
  [[nodiscard]] bool debugIsActivated() const;

  struct State;
  explicit DispatchSourceTimer(std::shared_ptr<State> state) : state_(std::move(state)) {}

 private:
  std::shared_ptr<State> state_;
};

}  // namespace ios
