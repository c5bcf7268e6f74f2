// File: KPQuaslet/imaging/internal/ScratchBuffer.h
//
// An uninitialised array for short-lived work on whole images. Large ones are aligned to
// 2 MiB and offered to the kernel for huge pages, which makes first touching them many
// times cheaper than page by page.
//
//   kp::imaging_internal::ScratchBuffer<std::uint64_t> records(pixelCount);
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>

namespace kp::imaging_internal {

template <class T>
  requires std::is_trivially_copyable_v<T>
class ScratchBuffer {
 public:
  explicit ScratchBuffer(std::size_t count) : count_(count) {
    if (count == 0) return;
    if (count > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    const std::size_t bytes = count * sizeof(T);
    constexpr std::size_t kHuge = std::size_t{2} << 20;
    void* memory = nullptr;
    if (bytes >= 2 * kHuge) {
      const std::size_t rounded = (bytes + kHuge - 1) / kHuge * kHuge;
      if (posix_memalign(&memory, kHuge, rounded) != 0) memory = nullptr;
      if (memory) madvise(memory, rounded, MADV_HUGEPAGE);
    } else {
      memory = std::malloc(bytes);
    }
    if (!memory) throw std::bad_alloc();
    data_ = static_cast<T*>(memory);
  }
  ScratchBuffer() = default;
  ~ScratchBuffer() { std::free(data_); }
  ScratchBuffer(const ScratchBuffer&) = delete;
  ScratchBuffer& operator=(const ScratchBuffer&) = delete;
  ScratchBuffer(ScratchBuffer&& other) noexcept : data_(other.data_), count_(other.count_) {
    other.data_ = nullptr, other.count_ = 0;
  }
  ScratchBuffer& operator=(ScratchBuffer&& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(count_, other.count_);
    return *this;
  }

  [[nodiscard]] T* data() { return data_; }
  [[nodiscard]] std::size_t size() const { return count_; }
  T& operator[](std::size_t i) { return data_[i]; }

 private:
  T* data_ = nullptr;
  std::size_t count_ = 0;
};

}  // namespace kp::imaging_internal
