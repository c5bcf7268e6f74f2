#include "platform/dispatch/internal/Block.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace {

using ios::dispatch_internal::Block;

// Counts its live copies, so that a test sees every construction matched by a
// destruction, moved-from copies included.
class Tracked {
 public:
  explicit Tracked(int* alive) : alive_(alive) { ++*alive_; }
  Tracked(const Tracked& other) : alive_(other.alive_) { ++*alive_; }
  Tracked(Tracked&& other) noexcept : alive_(other.alive_) { ++*alive_; }
  Tracked& operator=(const Tracked&) = delete;
  ~Tracked() { --*alive_; }

 private:
  int* alive_;
};

// A block's captures live exactly as long as the block holds them, wherever they are
// stored: in place (small captures, std::function itself) or on the heap (large ones,
// or ones whose move may throw).
TEST(DispatchBlock, CapturesLiveUntilResetThroughMovesAndCalls) {
  struct ThrowingMove {
    ThrowingMove() = default;
    ThrowingMove(const ThrowingMove&) = default;
    ThrowingMove(ThrowingMove&&) noexcept(false) {}
  };
  struct Row {
    const char* name;
    std::function<Block(Tracked tracked, int* calls)> make;
  };
  const std::vector<Row> rows = {
      {"small lambda, in place", [](Tracked tracked, int* calls) { return Block([tracked, calls] { ++*calls; }); }},
      {"std::function, in place",
       [](Tracked tracked, int* calls) { return Block(std::function<void()>([tracked, calls] { ++*calls; })); }},
      {"large captures, on the heap",
       [](Tracked tracked, int* calls) {
         std::array<char, 64> padding{};
         return Block([tracked, calls, padding] { *calls += 1 + padding[0]; });
       }},
      {"move may throw, on the heap",
       [](Tracked tracked, int* calls) { return Block([tracked, calls, guard = ThrowingMove()] { ++*calls; }); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    int alive = 0;
    int calls = 0;
    Block block = row.make(Tracked(&alive), &calls);
    EXPECT_EQ(alive, 1) << "the block holds one copy of its captures";
    Block moved(std::move(block));
    EXPECT_FALSE(block) << "a moved-from block is empty";
    EXPECT_TRUE(moved);
    Block assigned;
    assigned = std::move(moved);
    moved = Block([] {});  // a moved-from block takes a new callable
    EXPECT_EQ(alive, 1) << "moving neither copies nor leaves copies behind";
    assigned();
    assigned();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(alive, 1) << "calling keeps the captures";
    assigned.reset();
    EXPECT_FALSE(assigned);
    EXPECT_EQ(alive, 0) << "reset releases them";
    assigned.reset();  // twice is harmless
  }
}

TEST(DispatchBlock, AssigningOverABlockReleasesWhatItHeld) {
  auto first = std::make_shared<int>(0);
  auto second = std::make_shared<int>(0);
  Block block([first] {});
  block = Block([second] {});
  EXPECT_EQ(first.use_count(), 1);
  EXPECT_EQ(second.use_count(), 2);
  {
    Block scoped([first] {});
    EXPECT_EQ(first.use_count(), 2);
  }
  EXPECT_EQ(first.use_count(), 1) << "destruction releases the captures";
}

}  // namespace
