// File: platform/dispatch/internal/Block.h
//
// The block a queue keeps until it runs: a callable taking no arguments, moved, never
// copied, and stored in place when its captures fit in 32 bytes (std::function keeps
// only 16 bytes of trivially copyable captures in place, so a block capturing three
// references or one shared_ptr would cost an allocation, freed later on another thread).
//
//   Block block([&sum, &done, i] { sum += i; done.countDown(); });  // no allocation
//   block();
//
// Included by DispatchQueue.h for its templates; not for use outside platform/.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace ios::dispatch_internal {

class Block {
 public:
  static constexpr std::size_t kInlineSize = 32;

  Block() noexcept = default;

  // Takes `callable` (moved or copied in); implicit, so that lambdas and std::function
  // convert where a Block is expected.
  template <typename F, typename Callable = std::decay_t<F>>
    requires(!std::is_same_v<Callable, Block> && std::is_invocable_v<Callable&>)
  Block(F&& callable) {  // NOLINT: implicit, like std::function
    if constexpr (kFitsInPlace<Callable>) {
      ::new (static_cast<void*>(storage_)) Callable(std::forward<F>(callable));
      ops_ = &kInPlaceOps<Callable>;
    } else {
      ::new (static_cast<void*>(storage_)) Callable*(new Callable(std::forward<F>(callable)));
      ops_ = &kOnHeapOps<Callable>;
    }
  }

  Block(Block&& other) noexcept { takeFrom(other); }
  Block& operator=(Block&& other) noexcept {
    if (this != &other) {
      reset();
      takeFrom(other);
    }
    return *this;
  }
  Block(const Block&) = delete;
  Block& operator=(const Block&) = delete;
  ~Block() { reset(); }

  // Destroys the callable (its captures go now); the block is empty afterwards.
  void reset() noexcept {
    if (ops_ != nullptr) {
      const Ops* ops = std::exchange(ops_, nullptr);
      ops->destroy(storage_);
    }
  }

  [[nodiscard]] explicit operator bool() const noexcept { return ops_ != nullptr; }

  // Calls the callable. The block must not be empty.
  void operator()() { ops_->invoke(storage_); }

 private:
  struct Ops {
    void (*invoke)(void* storage);
    void (*relocate)(void* from, void* to) noexcept;  // moves into `to` and destroys `from`
    void (*destroy)(void* storage) noexcept;
  };

  template <typename C>
  static constexpr bool kFitsInPlace =
      sizeof(C) <= kInlineSize && alignof(C) <= alignof(void*) && std::is_nothrow_move_constructible_v<C>;

  template <typename C>
  static constexpr Ops kInPlaceOps = {
      [](void* storage) { (*std::launder(static_cast<C*>(storage)))(); },
      [](void* from, void* to) noexcept {
        C* source = std::launder(static_cast<C*>(from));
        ::new (to) C(std::move(*source));
        source->~C();
      },
      [](void* storage) noexcept { std::launder(static_cast<C*>(storage))->~C(); },
  };

  template <typename C>
  static constexpr Ops kOnHeapOps = {
      [](void* storage) { (**std::launder(static_cast<C**>(storage)))(); },
      [](void* from, void* to) noexcept { ::new (to) C*(*std::launder(static_cast<C**>(from))); },
      [](void* storage) noexcept { delete *std::launder(static_cast<C**>(storage)); },
  };

  void takeFrom(Block& other) noexcept {
    if (other.ops_ != nullptr) {
      other.ops_->relocate(other.storage_, storage_);
      ops_ = std::exchange(other.ops_, nullptr);
    }
  }

  const Ops* ops_ = nullptr;
  alignas(void*) unsigned char storage_[kInlineSize];
};

}  // namespace ios::dispatch_internal
