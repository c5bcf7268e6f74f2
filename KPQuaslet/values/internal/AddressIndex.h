// File: KPQuaslet/values/internal/AddressIndex.h
//
// A number for each of a set of objects, found by the object's address: a flat table
// with linear probing, so a lookup touches one run of adjacent cells and removal frees
// nothing. OrderedDictionary uses it to find the place of a key in its order from the
// key's entry in the dictionary, without hashing the key a second time.
//
//   AddressIndex<Entry> index;
//   index.insert(&entry, 4);
//   *index.find(&entry);       // 4, and writable
//   index.erase(&entry);
//
// Addresses must not be null. The table keeps at most half its cells filled and grows
// by doubling; it does not shrink as objects leave (as std::unordered_map keeps its
// buckets), so a lookup after many removals costs what it did before them.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kp::values_internal {

template <class T>
class AddressIndex {
 public:
  // The number of objects indexed.
  [[nodiscard]] std::size_t size() const { return size_; }

  // Makes room for `count` objects, so that inserting them allocates nothing more.
  void reserve(std::size_t count) {
    if (2 * count > cells_.size()) rebuild(std::bit_ceil(std::max<std::size_t>(2 * count, kMinimumCells)));
  }

  // Indexes `object` (not yet indexed) under `number`. When the table must grow and the
  // allocation throws, nothing changes.
  void insert(const T* object, std::size_t number) {
    reserve(size_ + 1);
    std::size_t cell = home(object);
    while (cells_[cell].object != nullptr) cell = next(cell);
    cells_[cell] = Cell{object, number};
    ++size_;
  }

  // The number of `object`, writable; null when the object is not indexed.
  [[nodiscard]] std::size_t* find(const T* object) {
    if (cells_.empty()) return nullptr;
    for (std::size_t cell = home(object);; cell = next(cell)) {
      if (cells_[cell].object == object) return &cells_[cell].number;
      if (cells_[cell].object == nullptr) return nullptr;
    }
  }

  // Forgets every object (keeping no cells).
  void clear() noexcept {
    cells_.clear();
    size_ = 0;
  }

  // Forgets `object`, which must be indexed, and answers its number. The cells after it
  // in its run move back, so the table never holds markers of removed objects.
  std::size_t erase(const T* object) {
    std::size_t hole = home(object);
    while (cells_[hole].object != object) hole = next(hole);
    const std::size_t number = cells_[hole].number;
    for (std::size_t cell = next(hole); cells_[cell].object != nullptr; cell = next(cell)) {
      // A cell may fill the hole when its home does not lie in (hole, cell], cyclically.
      const std::size_t wanted = home(cells_[cell].object);
      const bool homeAfterHole = hole <= cell ? (hole < wanted && wanted <= cell) : (hole < wanted || wanted <= cell);
      if (homeAfterHole) continue;
      cells_[hole] = cells_[cell];
      hole = cell;
    }
    cells_[hole] = Cell{};
    --size_;
    return number;
  }

 private:
  struct Cell {
    const T* object = nullptr;
    std::size_t number = 0;
  };
  static constexpr std::size_t kMinimumCells = 16;

  // Fibonacci hashing of the address: the multiplication spreads the low bits that
  // aligned allocations share, and the top bits select the cell.
  [[nodiscard]] std::size_t home(const T* object) const {
    const auto address = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(object));
    return static_cast<std::size_t>((address * 0x9E3779B97F4A7C15ull) >> shift_);
  }
  [[nodiscard]] std::size_t next(std::size_t cell) const { return (cell + 1) & (cells_.size() - 1); }

  // Moves every object into a table of `cellCount` cells (a power of two).
  void rebuild(std::size_t cellCount) {
    std::vector<Cell> old(cellCount);
    old.swap(cells_);
    shift_ = 64 - std::countr_zero(cellCount);
    for (const Cell& moved : old) {
      if (moved.object == nullptr) continue;
      std::size_t cell = home(moved.object);
      while (cells_[cell].object != nullptr) cell = next(cell);
      cells_[cell] = moved;
    }
  }

  std::vector<Cell> cells_;
  std::size_t size_ = 0;
  int shift_ = 64;
};

}  // namespace kp::values_internal
