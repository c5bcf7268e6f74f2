// File: KPQuaslet/concurrency/internal/Delay.h
//
// The one way the library runs a block after a delay given in seconds.
//
//   kp::kp_internal::asyncAfterSeconds(ios::DispatchQueue::main(), 0.5, [] { ... });
//
// Internal to the library: not part of the umbrella header.
#pragma once

#include <functional>

#include "platform/dispatch/DispatchQueue.h"

namespace kp::kp_internal {

// asyncAfterSeconds()
//
// Submits `block` to `queue` at now + `seconds`, counted in whole nanoseconds
// (seconds x 1e9 truncated toward zero). A delay that is not finite or does not fit in
// 64 bits of nanoseconds stops the process; a negative one runs the block as soon as
// possible.
void asyncAfterSeconds(const ios::DispatchQueue& queue, double seconds, std::function<void()> block);

}  // namespace kp::kp_internal
