// File: platform/foundation/Random.h
//
// The platform's random number functions, drawn from one process-wide source.
//
//   std::uint32_t die = ios::arc4random_uniform(6) + 1;   // 1 ... 6
//   double unit = ios::drand48();                         // [0, 1)
//
// Fidelity: arc4random, arc4random_uniform and arc4random_buf keep the platform's
// contracts (uniform 32-bit values, a uniform value below a bound with 0 for the
// bounds 0 and 1, a buffer of random bytes) and read glibc's arc4random, which is
// thread-safe. drand48 answers a uniform double in [0, 1) made from one 32-bit draw
// of the same source, so it needs no seeding and carries 32 bits of randomness
// rather than 48. srand48 and the other members of the rand48 family are absent.
//
// Tests replace the source with ios::testing::ScopedRandomSource and script the
// draws; every function above then reads the scripted values.
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
// A uniformly distributed value r with 0 <= r < upperBound, without modulo bias;
// 0 when `upperBound` is 0 or 1 (no draw is made then). Values are drawn until one
// falls below the largest multiple of `upperBound` that fits in 32 bits, and the
// answer is that value modulo `upperBound`: a drawn value below the bound is
// answered unchanged, which is what scripted tests rely on.
[[nodiscard]] std::uint32_t arc4random_uniform(std::uint32_t upperBound);

// arc4random_buf()
//
// Fills `count` bytes at `buffer` with random bytes (four bytes per 32-bit draw, low
// byte first). A null buffer is allowed only with a count of 0.
void arc4random_buf(void* buffer, std::size_t count);

// drand48()
//
// A uniformly distributed double in [0, 1): one 32-bit draw divided by 2^32.
[[nodiscard]] double drand48();

namespace testing {

// ScopedRandomSource
//
// While alive, every random function above draws its 32-bit values from `next`
// instead of the system's generator. Sources nest: the previous one comes back when
// this one is destroyed. The source is process-wide (worker threads see it too) and
// is called under a lock, so a scripted source needs no locking of its own.
//
//   std::vector<std::uint32_t> draws{2, 0};
//   ios::testing::ScopedRandomSource source([&, i = 0]() mutable { return draws.at(i++); });
class ScopedRandomSource {
 public:
  explicit ScopedRandomSource(std::function<std::uint32_t()> next);
  ~ScopedRandomSource();
  ScopedRandomSource(const ScopedRandomSource&) = delete;
  ScopedRandomSource& operator=(const ScopedRandomSource&) = delete;

 private:
  std::function<std::uint32_t()> previous_;
};

// Puts the system's generator back, forgetting every scripted source.
void resetRandomSource();

}  // namespace testing
}  // namespace ios
