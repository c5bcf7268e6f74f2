// File: platform/foundation/Random.h
//
// The platform's random numbers, all drawn from one process-wide source that a test
// can replace.
//
//   std::uint32_t die = ios::arc4random_uniform(6) + 1;   // 1...6
//   double unit = ios::drand48();                        // [0, 1)
//
//   ios::testing::ScopedRandomSource script([n = 0u]() mutable { return n++; });
//   ios::arc4random_uniform(10);                         // 0, then 1, 2, ...
//
// Fidelity: by default the numbers come from the C library's arc4random, which is
// thread-safe and needs no seeding. arc4random_uniform(n) is uniform in [0, n) and
// answers 0 for n of 0 or 1 without drawing. drand48() is uniform in [0, 1) with 48 bits
// of precision, drawn from the same source (the platform's drand48 keeps a separate,
// seedable state; srand48 and friends are absent).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace ios {

// arc4random()
//
// A uniformly distributed 32-bit number from the current source.
[[nodiscard]] std::uint32_t arc4random();

// arc4random_uniform()
//
// A uniformly distributed number in [0, upperBound); 0 when upperBound is 0 or 1 (no
// number is drawn then). Draws of the source that would bias the result are discarded:
// a draw r is used when it lies below the largest multiple of upperBound that fits in
// 32 bits, and the result is then r % upperBound (so a draw already below upperBound is
// the result itself).
[[nodiscard]] std::uint32_t arc4random_uniform(std::uint32_t upperBound);

// arc4random_buf()
//
// Fills `count` bytes at `buffer` with random bytes from the current source.
void arc4random_buf(void* buffer, std::size_t count);

// drand48()
//
// A uniformly distributed double in [0, 1), built from 48 random bits: the first draw
// gives the high 32 bits, the top 16 bits of a second draw the rest.
[[nodiscard]] double drand48();

namespace testing {

// ScopedRandomSource
//
// While alive, every random number above comes from `next`, which answers the next
// 32-bit number each time it is called (scripted values, a seeded generator). Sources
// nest: the innermost one is used. `next` may be called from several threads when the
// code under test draws from several threads; it must not itself draw random numbers.
class ScopedRandomSource {
 public:
  explicit ScopedRandomSource(std::function<std::uint32_t()> next);
  ~ScopedRandomSource();
  ScopedRandomSource(const ScopedRandomSource&) = delete;
  ScopedRandomSource& operator=(const ScopedRandomSource&) = delete;

 private:
  std::function<std::uint32_t()> previous_;
};

// Goes back to the system source, forgetting every scoped source.
void resetRandomSource();

}  // namespace testing
}  // namespace ios
