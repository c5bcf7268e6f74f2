// File: platform/foundation/ScopeExit.h
//
// Closing a paired call on every path. Both layers open pairs (a graphics context and
// its end, an animation transaction and its commit, a lock and its unlock); a ScopeExit
// made right after the opening call closes the pair when the scope ends, whether it
// ends normally or through an exception.
//
//   ios::UIGraphicsBeginImageContextWithOptions(size, false, 0);
//   ios::ScopeExit endContext([] { ios::UIGraphicsEndImageContext(); });
//
// Not a platform type: a small helper of this stand-in, shared with the framework.
#pragma once

#include <type_traits>
#include <utility>

namespace ios {

// ScopeExit
//
// Runs its action once, when it is destroyed, unless release() was called first. The
// action must not throw (it runs while an exception may be unwinding the stack).
// Neither copyable nor movable: it belongs to the scope that made it.
template <typename Action>
class [[nodiscard]] ScopeExit {
  static_assert(std::is_invocable_v<Action&>, "a ScopeExit action takes no arguments");

 public:
  explicit ScopeExit(Action action) noexcept(std::is_nothrow_move_constructible_v<Action>)
      : action_(std::move(action)) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  ~ScopeExit() noexcept {
    if (armed_) action_();
  }

  // Keeps the action from running: the pair was closed another way.
  void release() noexcept { armed_ = false; }

 private:
  Action action_;
  bool armed_ = true;
};

}  // namespace ios
