// A scripted random source for tests: answers the given 32-bit values in order and
// counts the draws; installed for the lifetime of the object.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <initializer_list>

#include "platform/foundation/Random.h"

namespace kp_test {

class ScriptedRandom {
 public:
  explicit ScriptedRandom(std::initializer_list<std::uint32_t> values)
      : values_(values), scope_([this] { return next(); }) {}

  [[nodiscard]] int draws() const { return draws_; }
  [[nodiscard]] bool exhausted() const { return values_.empty(); }

 private:
  std::uint32_t next() {
    ++draws_;
    if (values_.empty()) {
      ADD_FAILURE() << "more draws than scripted";
      return 0;
    }
    const std::uint32_t v = values_.front();
    values_.pop_front();
    return v;
  }

  std::deque<std::uint32_t> values_;
  int draws_ = 0;
  ios::testing::ScopedRandomSource scope_;
};

}  // namespace kp_test
