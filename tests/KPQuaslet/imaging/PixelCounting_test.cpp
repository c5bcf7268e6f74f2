#include "KPQuaslet/imaging/internal/PixelCounting.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "KPQuaslet/imaging/internal/ColorCounter.h"
#include "KPQuaslet/imaging/internal/PackedColor.h"
#include "tests/support/ImageFixtures.h"

namespace {

using kp::imaging_internal::ColorCounter;
using kp::imaging_internal::PackedColor;

struct Expected {
  std::uint32_t count = 0;
  std::uint32_t first = UINT32_MAX;
};

// Odd widths, runs, transparent and barely visible pixels: the counts and first
// positions (column by column) agree with a plain count; also for images of several
// bands, and a last band that is not full.
TEST(PixelCounting, AgreesWithAPlainCount) {
  const std::size_t tall = kp::imaging_internal::kBandPixels / 33 * 2 + 5;
  for (auto [w, h] : {std::pair<std::size_t, std::size_t>{1, 19}, {2, 19}, {7, 19}, {33, 19}, {33, tall},
                      {1, kp::imaging_internal::kBandPixels + 3}}) {
    std::mt19937 random(static_cast<unsigned>(w + h));
    std::vector<kp_test::Rgba> pixels(w * h);
    for (auto& p : pixels) {
      const std::uint32_t v = random() % 6;  // few colours, so that runs and ties occur
      p = kp_test::Rgba{static_cast<std::uint8_t>(v * 40), static_cast<std::uint8_t>(v % 2 * 255), 7,
                        static_cast<std::uint8_t>(v == 5 ? 126 : (v == 4 ? 127 : 255))};
    }
    auto image = kp_test::makeBGRAImage(w, h, [&](std::size_t x, std::size_t y) { return pixels[y * w + x]; });
    std::map<std::uint32_t, Expected> expected;
    for (std::size_t x = 0; x < w; ++x) {
      for (std::size_t y = 0; y < h; ++y) {
        const auto& p = pixels[y * w + x];
        if (p.a < 127) continue;
        auto& e = expected[PackedColor::fromChannels(p.r, p.g, p.b).value];
        ++e.count;
        e.first = std::min<std::uint32_t>(e.first, static_cast<std::uint32_t>(x * h + y));
      }
    }
    const auto bytes = *ios::CGDataProviderCopyData(image->dataProvider());
    const auto counts = kp::imaging_internal::countVisiblePixels(*image, bytes);
    ASSERT_EQ(counts.size(), expected.size()) << w;
    counts.forEach([&](const ColorCounter::Entry& entry) {
      EXPECT_EQ(entry.count, expected[entry.key].count) << w;
      EXPECT_EQ(entry.firstPosition, expected[entry.key].first) << w;
      EXPECT_EQ(counts.count(entry.key), entry.count);
    });
    EXPECT_EQ(counts.count(PackedColor::fromChannels(1, 2, 3).value), 0u);
  }
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// The address space the process has now, in bytes.
std::size_t addressSpace() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmSize:", 0) == 0) return std::stoull(line.substr(7)) * 1024;
  }
  return 0;
}
#endif

// Counting a 4096 × 2048 picture of three colours fits in 16 MiB more address space: the
// memory follows the colours, not the eight million pixels (8 bytes each would be 64 MiB).
TEST(PixelCounting, MemoryGrowsWithTheColoursNotThePixels) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "an address-space limit does not combine with a sanitizer's shadow memory";
#else
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto image = kp_test::makeBGRAImage(4096, 2048, [](std::size_t x, std::size_t y) {
    return x < 1000 ? kp_test::kRed : (y < 1000 ? kp_test::kBlue : kp_test::kBlack);
  });
  const auto bytes = *ios::CGDataProviderCopyData(image->dataProvider());
  auto countWithinTheLimit = [&] {
    const rlimit limit{addressSpace() + (16u << 20), RLIM_INFINITY};
    setrlimit(RLIMIT_AS, &limit);
    const auto counts = kp::imaging_internal::countVisiblePixels(*image, bytes);
    const bool right = counts.size() == 3 && counts.count(PackedColor::fromChannels(255, 0, 0).value) == 1000u * 2048;
    std::_Exit(right ? 0 : 1);
  };
  EXPECT_EXIT(countWithinTheLimit(), ::testing::ExitedWithCode(0), "");
#endif
}

TEST(ColorCounter, CountsGrowsAndKeepsFirstPositions) {
  ColorCounter counter(1);
  for (std::uint32_t i = 0; i < 5000; ++i) counter.add(i % 1000 * 7919, 5000 - i, 1);
  counter.add(0, 0, 3);
  EXPECT_EQ(counter.size(), 1000u);
  EXPECT_EQ(counter.count(0), 8u);
  EXPECT_EQ(counter.count(7919), 5u);
  EXPECT_EQ(counter.count(1), 0u);
  std::map<std::uint32_t, std::uint32_t> firstPositions;
  std::size_t visited = 0;
  counter.forEach([&](const ColorCounter::Entry& entry) {
    firstPositions[entry.key] = entry.firstPosition;
    ++visited;
  });
  EXPECT_EQ(visited, 1000u);
  EXPECT_EQ(firstPositions[0], 0u);
  EXPECT_EQ(firstPositions[999u * 7919], 1u);  // the smallest of its positions
  EXPECT_EQ(firstPositions[7919], 999u);  // the largest first position
}

// Equal counts come out in the order of their first positions, whatever the order of
// the items.
TEST(ColorCounter, CountOrderIsStableBothWays) {
  struct Item {
    int id;
    std::uint32_t count;
    std::uint32_t firstPosition;
  };
  const std::vector<Item> items = {{0, 2, 10}, {1, 5, 11}, {2, 2, 12}, {3, 9, 13}, {4, 5, 1}, {5, 2, 15}};
  std::vector<int> largest, smallest;
  for (kp::imaging_internal::CountOrder<Item> order(items, true); !order.empty();) largest.push_back(order.next().id);
  for (kp::imaging_internal::CountOrder<Item> order(items, false); !order.empty();) smallest.push_back(order.next().id);
  EXPECT_EQ(largest, (std::vector<int>{3, 4, 1, 0, 2, 5}));
  EXPECT_EQ(smallest, (std::vector<int>{0, 2, 5, 4, 1, 3}));
}

}  // namespace
