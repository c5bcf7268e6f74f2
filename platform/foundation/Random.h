// File: platform/foundation/Random.h
//
// The platform's random sources: arc4random and its relatives, and drand48.
//
//   ios::arc4random_uniform(6);                     // 0 ... 5
//   ios::testing::ScopedRandomSource fixed([n = 0u]() mutable { return n++; });
//
// Fidelity: arc4random* draw from the C library's arc4random; drand48 from the C
// library's 48-bit generator (so srand48 seeds it). While a ScopedRandomSource is alive,
// every function draws from it instead, which makes random results reproducible in tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace ios {

// arc4random()
//
// A uniformly distributed 32-bit value.
[[nodiscard]] std::uint32_t arc4random();

// arc4random_uniform()
//
// A uniformly distributed value below `upperBound` (without modulo bias); 0 when
// `upperBound` is below 2.
[[nodiscard]] std::uint32_t arc4random_uniform(std::uint32_t upperBound);

// arc4random_buf()
//
// Fills `count` bytes at `buffer` with random bytes.
void arc4random_buf(void* buffer, std::size_t count);

// drand48()
//
// A double in [0, 1) with 48 random bits.
[[nodiscard]] double drand48();

namespace testing {

// ScopedRandomSource
//
// Replaces the random source of this process for its lifetime: every function above
// draws its 32-bit words from `next`. Sources nest; the previous one comes back when this
// one is destroyed. drand48() takes two words (the high 32 bits, then 16 more bits from
// the top of the second word).
class ScopedRandomSource {
 public:
  explicit ScopedRandomSource(std::function<std::uint32_t()> next);
  ~ScopedRandomSource();
  ScopedRandomSource(const ScopedRandomSource&) = delete;
  ScopedRandomSource& operator=(const ScopedRandomSource&) = delete;

 private:
  std::function<std::uint32_t()> previous_;
};

}  // namespace testing
}  // namespace ios
