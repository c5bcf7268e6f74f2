// File: platform/foundation/StandardOutput.h
//
// The process's standard output, as the platform's print function writes it. Every
// line the library prints goes through ios::print(), so a test can capture it:
//
//   ios::testing::CapturedOutput out;
//   ios::print("hello");
//   EXPECT_EQ(out.text(), "hello\n");
//
// Fidelity: each call is written in one piece (concurrent callers never split one
// another's text); the platform's separator and variadic forms are absent.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace ios {

// print()
//
// Writes `text` followed by `terminator` to standard output in one write.
void print(std::string_view text, std::string_view terminator = "\n");

namespace testing {

// CapturedOutput
//
// While alive, everything written through ios::print() is collected here instead of
// going to standard output. Captures nest: the innermost one receives the text.
class CapturedOutput {
 public:
  CapturedOutput();
  ~CapturedOutput();
  CapturedOutput(const CapturedOutput&) = delete;
  CapturedOutput& operator=(const CapturedOutput&) = delete;

  // The text written so far.
  [[nodiscard]] std::string text() const;
  // Forgets the text written so far.
  void clear();

 private:
  struct State;
  State* state_;
  std::function<void(std::string_view)> previous_;
};

}  // namespace testing
}  // namespace ios
