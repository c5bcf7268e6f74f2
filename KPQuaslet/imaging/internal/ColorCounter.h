// File: KPQuaslet/imaging/internal/ColorCounter.h
//
// A counted set of 32-bit colour keys for the palette extractors: how often each key
// occurs, and where it was first seen, so that colours with equal counts keep a stable
// order (the order in which the image's pixels are visited). Its memory follows the
// number of keys: it starts small and doubles as they come.
//
//   kp::imaging_internal::ColorCounter counter;
//   counter.add(0xff0000, /*position=*/0, /*times=*/3);
//   counter.count(0xff0000);                                  // 3
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace kp::imaging_internal {

class ColorCounter {
 public:
  struct Entry {
    std::uint32_t key;
    std::uint32_t count;
    std::uint32_t firstPosition;
  };

  explicit ColorCounter(std::size_t expectedKeys = 64) {
    std::size_t capacity = 16;
    while (capacity < expectedKeys * 2 && capacity < (std::size_t{1} << 26)) capacity <<= 1;
    resize(capacity);
  }

  // Counts `key` `times` more, seen at `position` (the smallest position is kept).
  // Positions and counts stay below 2^32 (images have at most 32767 × 32767 pixels).
  void add(std::uint32_t key, std::uint32_t position, std::uint32_t times = 1) {
    Entry* slot = &slots_[indexOf(key)];
    if (slot->key == kEmpty) {
      if ((size_ + 1) * 2 > slots_.size()) {
        grow();
        slot = &slots_[indexOf(key)];
      }
      *slot = Entry{key, 0, position};
      ++size_;
    }
    slot->count += times;
    if (position < slot->firstPosition) slot->firstPosition = position;
  }

  // Asks the processor to fetch the place of `key`, which a later add() or count() of it
  // reaches: keys met in no particular order then wait for memory together.
  void prefetch(std::uint32_t key) const { __builtin_prefetch(&slots_[home(key)]); }

  // How often `key` was counted (0 when never).
  [[nodiscard]] std::uint32_t count(std::uint32_t key) const {
    const Entry& slot = slots_[indexOf(key)];
    return slot.key == kEmpty ? 0 : slot.count;
  }

  [[nodiscard]] std::size_t size() const { return size_; }

  // Calls visit(entry) for every key, in no particular order (the table's).
  template <class Visit>
  void forEach(Visit&& visit) const {
    for (const Entry& e : slots_) {
      if (e.key != kEmpty) visit(e);
    }
  }

 private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

  // The slot holding `key`, or the empty slot where it would go.
  [[nodiscard]] std::size_t home(std::uint32_t key) const {
    return static_cast<std::size_t>((static_cast<std::uint64_t>(key) * 0x9E3779B97F4A7C15ull) >> shift_);
  }

  [[nodiscard]] std::size_t indexOf(std::uint32_t key) const {
    std::size_t i = home(key);
    const std::size_t mask = slots_.size() - 1;
    while (slots_[i].key != kEmpty && slots_[i].key != key) i = (i + 1) & mask;
    return i;
  }

  void resize(std::size_t capacity) {
    slots_.assign(capacity, Entry{kEmpty, 0, 0});
    shift_ = 64;
    for (std::size_t c = capacity; c > 1; c >>= 1) --shift_;
  }

  void grow() {
    std::vector<Entry> old = std::move(slots_);
    resize(old.size() * 2);
    for (const Entry& e : old) {
      if (e.key != kEmpty) slots_[indexOf(e.key)] = e;
    }
  }

  std::vector<Entry> slots_;
  std::size_t size_ = 0;
  unsigned shift_ = 60;
};

// Visits `items` in decreasing (or increasing) order of count, equal counts in increasing
// order of their `firstPosition` (distinct), producing each only when asked: a search
// that stops after a few colours does not pay for sorting them all.
template <class Item>
class CountOrder {
 public:
  CountOrder(std::vector<Item> items, bool largestFirst);

  [[nodiscard]] bool empty() const { return heap_.empty(); }
  // The next item in order; the order must not be empty.
  Item next();

 private:
  [[nodiscard]] bool before(std::uint32_t a, std::uint32_t b) const;
  void siftDown(std::size_t i);

  std::vector<Item> items_;
  std::vector<std::uint32_t> heap_;  // indices into items_, the next one at the top
  bool largestFirst_;
};

template <class Item>
CountOrder<Item>::CountOrder(std::vector<Item> items, bool largestFirst)
    : items_(std::move(items)), largestFirst_(largestFirst) {
  heap_.resize(items_.size());
  for (std::size_t i = 0; i < heap_.size(); ++i) heap_[i] = static_cast<std::uint32_t>(i);
  for (std::size_t i = heap_.size() / 2; i-- > 0;) siftDown(i);
}

template <class Item>
bool CountOrder<Item>::before(std::uint32_t a, std::uint32_t b) const {
  const auto ca = items_[a].count, cb = items_[b].count;
  if (ca != cb) return largestFirst_ ? ca > cb : ca < cb;
  return items_[a].firstPosition < items_[b].firstPosition;
}

template <class Item>
void CountOrder<Item>::siftDown(std::size_t i) {
  const std::size_t n = heap_.size();
  for (;;) {
    std::size_t best = i;
    const std::size_t l = 2 * i + 1, r = l + 1;
    if (l < n && before(heap_[l], heap_[best])) best = l;
    if (r < n && before(heap_[r], heap_[best])) best = r;
    if (best == i) return;
    std::swap(heap_[i], heap_[best]);
    i = best;
  }
}

template <class Item>
Item CountOrder<Item>::next() {
  const std::uint32_t top = heap_.front();
  heap_.front() = heap_.back();
  heap_.pop_back();
  if (!heap_.empty()) siftDown(0);
  return items_[top];
}

}  // namespace kp::imaging_internal
