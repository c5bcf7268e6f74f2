// removeValueForRandomKey: the pick is uniform over the keys, on small dictionaries
// (walked) and on large ones (sampled by bucket), with one bucket holding many keys,
// and after the dictionary at the same address was replaced or changed by other code.
// The random source is a generator seeded afresh on every run; each statistical check
// fails a correct implementation with a probability below about 1e-6.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "KPQuaslet/values/Dictionary+KPExt.h"
#include "platform/foundation/Random.h"
#include "platform/testing/PlatformFixture.h"

namespace {

// Sends the keys below `crowded` and from 100000 up to one bucket (hash 0) and spreads
// the others (hash = key, so consecutive keys fill consecutive buckets).
struct CrowdingHash {
  int crowded = 0;
  std::size_t operator()(int key) const {
    return key < crowded || key >= 100000 ? 0 : static_cast<std::size_t>(key);
  }
};
using Crowded = std::unordered_map<int, int, CrowdingHash>;

Crowded makeCrowded(int keys, int crowded) {
  Crowded d(0, CrowdingHash{crowded});
  for (int key = 0; key < keys; ++key) d.emplace(key, key);
  return d;
}

// A seeded generator as the platform's random source, counting the 32-bit words drawn.
class CountingRandom {
 public:
  CountingRandom() : generator_(std::random_device{}()), scope_([this] { return next(); }) {}
  [[nodiscard]] std::int64_t words() const { return words_; }

 private:
  std::uint32_t next() {
    ++words_;
    return static_cast<std::uint32_t>(generator_());
  }
  std::mt19937 generator_;
  std::int64_t words_ = 0;
  ios::testing::ScopedRandomSource scope_;
};

// Pearson's chi-square of picks by group against what uniform picks make: each pick adds
// to every group's expectation the share of the remaining keys that group holds.
class PickTally {
 public:
  // `groupOf` maps a value to its group.
  PickTally(int groups, std::function<int(int)> groupOf)
      : groupOf_(std::move(groupOf)), remaining_(static_cast<std::size_t>(groups)),
        observed_(static_cast<std::size_t>(groups)), expected_(static_cast<std::size_t>(groups)) {}

  // Tallies `picks` picks from `d`, as it stands, and leaves its other values out of
  // the count again.
  template <class D>
  void pickFrom(D& d, int picks) {
    for (const auto& entry : d) ++remaining_[static_cast<std::size_t>(groupOf_(entry.second))];
    for (int i = 0; i < picks; ++i) pick(d);
    for (const auto& entry : d) --remaining_[static_cast<std::size_t>(groupOf_(entry.second))];
  }

  // The statistic over the groups that ever held a key (a pick from any other group
  // makes it infinite), and the value it exceeds with probability about 3e-7 for a
  // uniform pick (Wilson-Hilferty, z = 5).
  [[nodiscard]] double statistic() const {
    double chi = 0;
    for (std::size_t g = 0; g < observed_.size(); ++g) {
      const double diff = observed_[g] - expected_[g];
      if (diff != 0) chi += diff * diff / expected_[g];
    }
    return chi;
  }
  [[nodiscard]] double limit() const {
    double df = -1;
    for (double e : expected_) df += e > 0 ? 1 : 0;
    const double a = 2.0 / (9.0 * df);
    return df * std::pow(1.0 - a + 5.0 * std::sqrt(a), 3);
  }
  [[nodiscard]] double smallestExpectation() const {
    double smallest = expected_.front();
    for (double e : expected_) smallest = std::min(smallest, e);
    return smallest;
  }

 private:
  // Removes one key of `d` and tallies its value (every value names its own key).
  template <class D>
  void pick(D& d) {
    double total = 0;
    for (double r : remaining_) total += r;
    for (std::size_t g = 0; g < remaining_.size(); ++g) expected_[g] += remaining_[g] / total;
    const std::size_t before = d.size();
    const std::optional<int> value = kp::removeValueForRandomKey(d);
    ASSERT_TRUE(value.has_value());
    ASSERT_EQ(d.size(), before - 1);
    const auto group = static_cast<std::size_t>(groupOf_(*value));
    ASSERT_GT(remaining_[group], 0) << "a value picked twice: " << *value;
    --remaining_[group];
    ++observed_[group];
  }

  std::function<int(int)> groupOf_;
  std::vector<double> remaining_;
  std::vector<double> observed_;
  std::vector<double> expected_;
};

class DictionaryRandomKey : public ios::testing::PlatformFixture {};

// Takes `picks` keys from each of `trials` fresh dictionaries of `keys` keys and checks
// the picks by group (key * groups / keys). Answers the random words drawn per pick.
template <class Make>
double checkDrains(Make make, int keys, int groups, int picks, int trials) {
  CountingRandom random;
  std::int64_t total = 0;
  PickTally tally(groups, [=](int key) { return key * groups / keys; });
  for (int trial = 0; trial < trials; ++trial) {
    auto d = make();
    tally.pickFrom(d, picks);
    total += picks;
  }
  EXPECT_GT(tally.smallestExpectation(), 200);
  EXPECT_LT(tally.statistic(), tally.limit());
  return static_cast<double>(random.words()) / static_cast<double>(total);
}

TEST_F(DictionaryRandomKey, SmallDictionariesAreWalkedUniformly) {
  const double words = checkDrains([] { return makeCrowded(40, 0); }, 40, 40, 10, 3000);
  EXPECT_LT(words, 1.5);  // one draw per pick: the walk
}

TEST_F(DictionaryRandomKey, LargeDictionariesAreSampledByBucketUniformly) {
  // Text keys under the standard hash; the picks stay below a quarter of the keys, so the
  // bound found by the first pick of each dictionary serves all of them.
  CountingRandom random;
  constexpr int kKeys = 2000;
  std::unordered_map<std::string, int> full;
  for (int i = 0; i < kKeys; ++i) full.emplace("key-" + std::to_string(i * 7919), i);
  PickTally tally(20, [](int i) { return i * 20 / kKeys; });
  for (int trial = 0; trial < 60; ++trial) {
    auto d = full;
    tally.pickFrom(d, 400);
  }
  EXPECT_GT(tally.smallestExpectation(), 200);
  EXPECT_LT(tally.statistic(), tally.limit());
  EXPECT_GT(random.words(), 60 * 400 * 16);  // blocks of words: the bucket sampling
}

TEST_F(DictionaryRandomKey, OneLongBucketIsPickedFromUniformly) {
  // 100 of 1000 keys share one bucket; groups 0 and 1 are exactly those keys.
  const double words = checkDrains([] { return makeCrowded(1000, 100); }, 1000, 20, 200, 100);
  EXPECT_GT(words, 16);
}

TEST_F(DictionaryRandomKey, AnotherDictionaryAtTheSameAddress) {
  // A spread dictionary is picked from, then replaced in the same storage by one whose
  // keys crowd into one bucket; the bound learnt on the first must not serve the second.
  CountingRandom random;
  std::optional<Crowded> slot;
  PickTally tally(20, [](int key) { return key / 50; });
  for (int trial = 0; trial < 100; ++trial) {
    slot.emplace(makeCrowded(1000, 0));
    (void)kp::removeValueForRandomKey(*slot);
    slot.reset();
    slot.emplace(makeCrowded(1000, 100));
    tally.pickFrom(*slot, 200);
  }
  EXPECT_LT(tally.statistic(), tally.limit());
}

// What other code does between two picks in the tests below: `count` keys join the long
// bucket and as many spread keys leave it, from the middle of the key range (so the
// size, the bucket count and the first pair of the iteration order stay as they were).
void moveIntoLongBucket(Crowded& d, int count) {
  int spread = 500;
  for (int added = 0; added < count; ++added) {
    while (!d.contains(spread)) ++spread;
    d.erase(spread);
    d.emplace(100000 + added, 100000 + added);
  }
}

TEST_F(DictionaryRandomKey, ChangesByOtherCodeBetweenPicks) {
  // After a first pick, other code moves 60 keys into the long bucket (adding keys there
  // and removing as many spread keys, so the size stays). Every pick still removes one
  // present key and answers its value; once a quarter of the keys have been picked since
  // the change, the bound has been checked afresh and the picks are uniform again.
  CountingRandom random;
  const auto groupOf = [](int key) { return key >= 100000 ? 0 : key / 50; };
  PickTally tally(20, groupOf);
  for (int trial = 0; trial < 60; ++trial) {
    Crowded d = makeCrowded(1000, 20);
    (void)kp::removeValueForRandomKey(d);  // learns a bound of 20
    moveIntoLongBucket(d, 60);
    for (int pick = 0; pick < 300; ++pick) {
      const std::size_t before = d.size();
      const std::optional<int> value = kp::removeValueForRandomKey(d);
      ASSERT_TRUE(value.has_value());
      ASSERT_EQ(d.size(), before - 1);
      ASSERT_FALSE(d.contains(*value));
    }
    tally.pickFrom(d, 150);
  }
  EXPECT_LT(tally.statistic(), tally.limit());
}

TEST_F(DictionaryRandomKey, ALengthenedBucketIsNoticedWhenDrawn) {
  // As above, but the long bucket is so long that a pick draws it about one time in
  // five: the bound must be checked afresh as soon as the lengthened bucket is drawn, so
  // the picks right after the change are already uniform but for the first few.
  CountingRandom random;
  PickTally tally(20, [](int key) { return key >= 100000 ? 0 : key / 50; });
  for (int trial = 0; trial < 60; ++trial) {
    Crowded d = makeCrowded(1000, 200);
    (void)kp::removeValueForRandomKey(d);  // learns a bound of 200
    moveIntoLongBucket(d, 100);
    tally.pickFrom(d, 100);
  }
  EXPECT_LT(tally.statistic(), tally.limit());
}

TEST_F(DictionaryRandomKey, EmptyAnswersNothing) {
  CountingRandom random;
  Crowded d = makeCrowded(0, 0);
  EXPECT_EQ(kp::removeValueForRandomKey(d), std::nullopt);
  EXPECT_EQ(random.words(), 0);
}

}  // namespace
