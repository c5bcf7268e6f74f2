// File: KPQuaslet/imaging/internal/ColorCounter.h
//
// A counted set of 32-bit colour keys for the palette extractors: how often each key
// occurs, and where it was first seen, so that colours with equal counts keep a stable
// order (the order in which the image's pixels are visited).
//
//   kp::imaging_internal::ColorCounter counter;
//   counter.add(0xff0000, /*position=*/0, /*times=*/3);
//   counter.count(0xff0000);                                  // 3
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kp::imaging_internal {

class ColorCounter {
 public:
  struct Entry {
    std::uint32_t key;
    std::uint64_t count;
    std::uint64_t firstPosition;
  };

  explicit ColorCounter(std::size_t expectedKeys = 1024) {
    std::size_t capacity = 16;
    while (capacity < expectedKeys * 2 && capacity < (std::size_t{1} << 26)) capacity <<= 1;
    resize(capacity);
  }

  // Counts `key` `times` more, seen at `position` (the smallest position is kept).
  void add(std::uint32_t key, std::uint64_t position, std::uint64_t times = 1) {
    std::size_t slot = find(key);
    if (keys_[slot] == kEmpty) {
      if ((size_ + 1) * 2 > keys_.size()) {
        grow();
        slot = find(key);
      }
      keys_[slot] = key;
      counts_[slot] = 0;
      firsts_[slot] = position;
      ++size_;
    }
    counts_[slot] += times;
    firsts_[slot] = std::min(firsts_[slot], position);
  }

  // How often `key` was counted (0 when never).
  [[nodiscard]] std::uint64_t count(std::uint32_t key) const {
    const std::size_t slot = find(key);
    return keys_[slot] == kEmpty ? 0 : counts_[slot];
  }

  [[nodiscard]] std::size_t size() const { return size_; }

  // Every key with its count, in the order the keys were first seen.
  [[nodiscard]] std::vector<Entry> entries() const {
    std::vector<Entry> out;
    out.reserve(size_);
    for (std::size_t i = 0; i < keys_.size(); ++i) {
      if (keys_[i] != kEmpty) out.push_back({keys_[i], counts_[i], firsts_[i]});
    }
    std::sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) { return a.firstPosition < b.firstPosition; });
    return out;
  }

 private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

  [[nodiscard]] std::size_t find(std::uint32_t key) const {
    std::size_t slot = (static_cast<std::uint64_t>(key) * 0x9E3779B97F4A7C15ull) >> shift_;
    while (keys_[slot] != kEmpty && keys_[slot] != key) slot = (slot + 1) & (keys_.size() - 1);
    return slot;
  }

  void resize(std::size_t capacity) {
    keys_.assign(capacity, kEmpty);
    counts_.assign(capacity, 0);
    firsts_.assign(capacity, 0);
    shift_ = 64;
    for (std::size_t c = capacity; c > 1; c >>= 1) --shift_;
  }

  void grow() {
    std::vector<std::uint32_t> keys = std::move(keys_);
    std::vector<std::uint64_t> counts = std::move(counts_), firsts = std::move(firsts_);
    resize(keys.size() * 2);
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (keys[i] == kEmpty) continue;
      const std::size_t slot = find(keys[i]);
      keys_[slot] = keys[i], counts_[slot] = counts[i], firsts_[slot] = firsts[i];
    }
  }

  std::vector<std::uint32_t> keys_;
  std::vector<std::uint64_t> counts_, firsts_;
  std::size_t size_ = 0;
  unsigned shift_ = 60;
};

}  // namespace kp::imaging_internal
