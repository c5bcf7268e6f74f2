#include "KPQuaslet/values/internal/AddressIndex.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <unordered_map>
#include <vector>

namespace {

using kp::values_internal::AddressIndex;

// Random inserts and removals over small and large sets of objects (small tables wrap
// their runs around the end) answer what a hash map holding the same pairs answers,
// for indexed and for absent objects alike.
TEST(AddressIndex, AgreesWithAHashMap) {
  std::mt19937 random(11);
  for (const std::size_t objects : {std::size_t{5}, std::size_t{8}, std::size_t{40}, std::size_t{3000}}) {
    std::vector<int> storage(objects);
    AddressIndex<int> index;
    std::unordered_map<const int*, std::size_t> model;
    for (std::size_t step = 0; step < objects * 20; ++step) {
      const int* object = &storage[random() % objects];
      if (model.contains(object)) {
        ASSERT_EQ(index.erase(object), model.at(object)) << objects << " step " << step;
        model.erase(object);
      } else {
        index.insert(object, step);
        model.emplace(object, step);
      }
      if (step % 17 != 0 && step + 1 != objects * 20) continue;
      ASSERT_EQ(index.size(), model.size());
      for (const int& each : storage) {
        const std::size_t* found = index.find(&each);
        const auto expected = model.find(&each);
        ASSERT_EQ(found != nullptr, expected != model.end()) << objects << " step " << step;
        if (found != nullptr) {
          ASSERT_EQ(*found, expected->second);
        }
      }
    }
  }
}

TEST(AddressIndex, NumbersAreWritableAndClearForgetsAll) {
  int a = 0, b = 0;
  AddressIndex<int> index;
  EXPECT_EQ(index.find(&a), nullptr);
  index.insert(&a, 1);
  index.insert(&b, 2);
  *index.find(&a) = 10;
  EXPECT_EQ(*index.find(&a), 10u);
  index.clear();
  EXPECT_EQ(index.size(), 0u);
  EXPECT_EQ(index.find(&b), nullptr);
  index.insert(&b, 3);
  EXPECT_EQ(*index.find(&b), 3u);
}

}  // namespace
