#include "KPQuaslet/imaging/internal/PixelCounting.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

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
// positions (column by column) agree with a plain count.
TEST(PixelCounting, AgreesWithAPlainCount) {
  for (std::size_t w : {1u, 2u, 7u, 33u}) {
    const std::size_t h = 19;
    std::mt19937 random(static_cast<unsigned>(w));
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
    std::uint32_t previous = 0;
    for (const auto& entry : counts.entries()) {
      EXPECT_EQ(entry.count, expected[entry.key].count) << w;
      EXPECT_EQ(entry.firstPosition, expected[entry.key].first) << w;
      EXPECT_EQ(counts.count(entry.key), entry.count);
      EXPECT_GE(entry.firstPosition, previous);
      previous = entry.firstPosition;
    }
    EXPECT_EQ(counts.count(PackedColor::fromChannels(1, 2, 3).value), 0u);
  }
}

TEST(ColorCounter, CountsGrowsAndKeepsFirstSeenOrder) {
  ColorCounter counter(1);
  for (std::uint32_t i = 0; i < 5000; ++i) counter.add(i % 1000 * 7919, 5000 - i, 1);
  counter.add(0, 0, 3);
  EXPECT_EQ(counter.size(), 1000u);
  EXPECT_EQ(counter.count(0), 8u);
  EXPECT_EQ(counter.count(7919), 5u);
  EXPECT_EQ(counter.count(1), 0u);
  const auto entries = counter.entries();
  EXPECT_EQ(entries.front().key, 0u);  // position 0
  EXPECT_EQ(entries[1].key, 999u * 7919);  // its smallest position is 1
  EXPECT_EQ(entries.back().key, 7919u);
}

TEST(ColorCounter, CountOrderIsStableBothWays) {
  struct Item {
    int id;
    std::uint32_t count;
  };
  const std::vector<Item> items = {{0, 2}, {1, 5}, {2, 2}, {3, 9}, {4, 5}, {5, 2}};
  std::vector<int> largest, smallest;
  for (kp::imaging_internal::CountOrder<Item> order(items, true); !order.empty();) largest.push_back(order.next().id);
  for (kp::imaging_internal::CountOrder<Item> order(items, false); !order.empty();) smallest.push_back(order.next().id);
  EXPECT_EQ(largest, (std::vector<int>{3, 1, 4, 0, 2, 5}));
  EXPECT_EQ(smallest, (std::vector<int>{0, 2, 5, 1, 4, 3}));
}

}  // namespace
