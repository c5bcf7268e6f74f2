#include "platform/foundation/StandardOutput.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

TEST(StandardOutput, CaptureCollectsWholeWritesAndNests) {
  ios::testing::CapturedOutput outer;
  ios::print("one");
  {
    ios::testing::CapturedOutput inner;
    ios::print("two", "");
    EXPECT_EQ(inner.text(), "two");
  }
  ios::print("three", "!");
  EXPECT_EQ(outer.text(), "one\nthree!");
  outer.clear();
  EXPECT_EQ(outer.text(), "");
}

TEST(StandardOutput, ConcurrentWritersNeverSplitALine) {
  ios::testing::CapturedOutput out;
  const std::string line(200, 'x');
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 100; ++i) ios::print(line);
    });
  }
  for (auto& thread : threads) thread.join();
  const std::string text = out.text();
  ASSERT_EQ(text.size(), 400u * (line.size() + 1));
  for (std::size_t pos = 0; pos < text.size(); pos += line.size() + 1) {
    ASSERT_EQ(text.compare(pos, line.size(), line), 0);
    ASSERT_EQ(text[pos + line.size()], '\n');
  }
}

}  // namespace
