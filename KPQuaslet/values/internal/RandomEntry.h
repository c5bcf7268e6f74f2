// File: KPQuaslet/values/internal/RandomEntry.h
//
// An entry of a hash map picked uniformly at random with the platform's random source,
// without walking the map on every pick.
//
// A map with buckets is sampled by rejection: draw a bucket b and a place r below a
// bound M on the longest bucket, both uniformly; when r lies inside bucket b, its entry
// r is the pick, otherwise draw again. Every entry is then drawn with the same chance
// 1/(bucket_count * M), so the pick is exactly uniform whenever M really bounds every
// bucket, and it takes bucket_count * M / size draws on average. Finding M costs a pass
// over the buckets, so the bound is remembered between picks (per thread, for the last
// map picked from) together with the map's address, size, bucket count and first entry
// as the last pick left them: removing the picked entry only shortens a bucket, so the
// bound stays valid while nothing else changes the map. The bound is found again when
// any of these differ, when a drawn bucket turns out longer than it, and after size/4
// picks, so that other code that changed the map while keeping all four the same (an
// insertion and a removal, say) cannot leave a short bound in use for long.
//
// Maps of up to 256 entries, and maps so sparse that walking to a random position is
// expected to be cheaper than the draws (size^2 <= 4 * bucket_count * M), are walked to
// a position drawn uniformly in 0..<size, which is exact. Draining a map of n entries
// pick by pick thus costs O(n log n) in all: bucket_count * M / size draws per pick
// while the map is dense (M itself only shrinks as the map drains), a pass over the
// buckets every n/4 picks, and a walk of at most about sqrt(4 * bucket_count * M)
// entries per pick for the tail. Each pick asks the platform's source for random words
// once (a block of them when sampling by bucket), as the walk always did.
#pragma once

#include <algorithm>
#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "KPQuaslet/values/internal/Support.h"
#include "platform/foundation/Random.h"

namespace kp::values_internal {

// Maps whose entries can be reached bucket by bucket.
template <class M>
concept BucketedMap = requires(M& map, std::size_t b) {
  { map.bucket_count() } -> std::convertible_to<std::size_t>;
  { map.bucket_size(b) } -> std::convertible_to<std::size_t>;
  map.begin(b);
};

// Up to this many entries a pick walks to its position.
inline constexpr std::size_t kRandomEntryWalkLimit = 256;

// Uniform numbers below a bound, cut from 32-bit words that the platform's source
// delivers a block at a time (one request to the source costs far more than the
// arithmetic, and a pick may need several draws). Like arc4random_uniform, a word that
// would bias the result is discarded.
class RandomWords {
 public:
  // A number drawn uniformly from 0..<bound (bound at least 1).
  std::uint32_t below(std::uint32_t bound) {
    constexpr std::uint64_t kRange = std::uint64_t{1} << 32;
    const std::uint64_t limit = kRange - kRange % bound;
    for (;;) {
      if (next_ == words_.size()) {
        ios::arc4random_buf(words_.data(), sizeof words_);
        next_ = 0;
      }
      const std::uint32_t word = words_[next_++];
      if (word < limit) return word % bound;
    }
  }

 private:
  std::array<std::uint32_t, 32> words_{};
  std::size_t next_ = words_.size();
};

// What the last pick on this thread knew of its map; see the banner.
struct RandomEntryBound {
  const void* map = nullptr;
  std::size_t size = 0;
  std::size_t bucketCount = 0;
  const void* firstEntry = nullptr;
  std::size_t longest = 0;            // M: no bucket is longer
  std::size_t picksUntilRecount = 0;  // picks left before M is found afresh

  // True when the record describes `map` as it is now and is not due for a recount.
  template <class M>
  [[nodiscard]] bool describes(const M& m) const {
    return map == &m && size == m.size() && bucketCount == m.bucket_count() && firstEntry == &*m.begin() &&
           picksUntilRecount > 0;
  }
};

// True when walking to a random position of a map (size/2 steps on average) is expected
// to cost no more than drawing buckets with the bound `longest` (buckets * longest /
// size draws, each about twice a step). A cost estimate, hence the floating point.
inline bool walkIsCheaper(std::size_t size, std::size_t buckets, std::size_t longest) {
  return static_cast<double>(size) * static_cast<double>(size) <=
         4.0 * static_cast<double>(buckets) * static_cast<double>(longest);
}

// The length of the longest bucket of `map`.
template <BucketedMap M>
std::size_t longestBucket(const M& map) {
  std::size_t longest = 0;
  for (std::size_t b = 0; b < map.bucket_count(); ++b) longest = std::max<std::size_t>(longest, map.bucket_size(b));
  return longest;
}

// The key of an entry of `map` (non-empty, at least kRandomEntryWalkLimit entries, not
// sparse enough to walk), drawn uniformly by buckets with the bound kept in `bound`.
template <BucketedMap M>
const typename M::key_type& randomKeyByBuckets(M& map, RandomEntryBound& bound) {
  const std::size_t buckets = map.bucket_count();
  RandomWords random;
  for (;;) {
    const std::uint64_t cells = static_cast<std::uint64_t>(buckets) * bound.longest;
    std::size_t bucket = 0;
    std::size_t place = 0;
    if (cells <= UINT32_MAX) {
      const std::uint32_t cell = random.below(static_cast<std::uint32_t>(cells));
      bucket = cell / bound.longest;
      place = cell % bound.longest;
    } else {
      bucket = random.below(static_cast<std::uint32_t>(buckets));
      place = random.below(static_cast<std::uint32_t>(bound.longest));
    }
    const std::size_t length = map.bucket_size(bucket);
    if (length > bound.longest) {
      // The map changed behind the record: find M again and start over.
      bound.longest = longestBucket(map);
      bound.picksUntilRecount = map.size() / 4 + 1;
      continue;
    }
    if (place < length) return std::next(map.begin(bucket), static_cast<std::ptrdiff_t>(place))->first;
  }
}

// Takes out the entry at a position of the iteration order drawn uniformly.
template <class M>
typename M::node_type removeEntryAtRandomPosition(M& map) {
  return map.extract(std::next(map.begin(), randomPosition(map.size())));
}

// removeRandomEntry()
//
// Takes an entry picked uniformly at random out of the non-empty `map` and hands it
// over (see the banner for how it is picked and what that costs).
template <class M>
typename M::node_type removeRandomEntry(M& map) {
  if constexpr (BucketedMap<M>) {
    thread_local RandomEntryBound bound;
    const std::size_t size = map.size();
    const std::size_t buckets = map.bucket_count();
    KP_PRECONDITION(size <= UINT32_MAX, "a random pick needs at most 4294967295 elements");
    if (size > kRandomEntryWalkLimit && buckets <= UINT32_MAX && !walkIsCheaper(size, buckets, 1)) {
      if (!bound.describes(map)) {
        bound = RandomEntryBound{&map, size, buckets, &*map.begin(), longestBucket(map), size / 4 + 1};
      }
      typename M::node_type entry = walkIsCheaper(size, buckets, bound.longest)
                                        ? removeEntryAtRandomPosition(map)
                                        : map.extract(randomKeyByBuckets(map, bound));
      // Removing an entry only shortens its bucket: the bound still holds.
      bound.size = map.size();
      bound.firstEntry = map.empty() ? nullptr : &*map.begin();
      --bound.picksUntilRecount;
      return entry;
    }
  }
  return removeEntryAtRandomPosition(map);
}

}  // namespace kp::values_internal
