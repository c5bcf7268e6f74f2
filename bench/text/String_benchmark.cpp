// Text by character positions on texts of up to 1 MB (each operation is linear in the
// text; the complexity report shows it), against a plain byte copy of the same text;
// pinyin of 10,000 Chinese characters and of short texts (the transliterator is built
// once per thread, so short calls stay cheap); regular-expression validation of 1e5
// short texts, a caller's pattern (matched under the time limit) beside ICU's matcher
// without one; and link extraction from ordinary text and from texts built to make a
// link scan quadratic (closing brackets after a link, "www." starts without a host),
// linear in all three.
#include <benchmark/benchmark.h>
#include <unicode/regex.h>
#include <unicode/utext.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "KPQuaslet/text/String+KPConversion.h"
#include "KPQuaslet/text/String+KPSlicing.h"
#include "KPQuaslet/text/String+KPValidation.h"
#include "platform/foundation/String.h"

namespace {

// About `bytes` bytes of mixed Latin, Chinese, accented and emoji text.
std::string mixedText(std::int64_t bytes) {
  static const std::string kPiece = "Hello, 世界! Café e\u0301 👍🏽 line\r\n";
  std::string out;
  while (static_cast<std::int64_t>(out.size()) < bytes) out += kPiece;
  return out;
}

void BM_KP_SubscriptLastCharacter(benchmark::State& state) {
  const std::string text = mixedText(state.range(0));
  const std::int64_t last = kp::length(text) - 1;
  for (auto _ : state) benchmark::DoNotOptimize(kp::at(text, last));
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_KP_SubscriptLastCharacter)->RangeMultiplier(2)->Range(128 << 10, 1 << 20)->Complexity(benchmark::oN);

void BM_KP_SliceWholeText(benchmark::State& state) {
  const std::string text = mixedText(state.range(0));
  const std::int64_t count = kp::length(text);
  for (auto _ : state) benchmark::DoNotOptimize(kp::safeAt(text, kp::Range{0, count}));
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_KP_SliceWholeText)->RangeMultiplier(2)->Range(128 << 10, 1 << 20)->Complexity(benchmark::oN);

// A full scan, character by character, through one segmentation of the text.
void BM_KP_FullScanOfCharacters(benchmark::State& state) {
  const std::string text = mixedText(state.range(0));
  for (auto _ : state) {
    const std::vector<std::size_t> bounds = ios::characterBoundaries(text);
    std::size_t longest = 0;
    for (std::size_t i = 0; i + 1 < bounds.size(); ++i) longest = std::max(longest, bounds[i + 1] - bounds[i]);
    benchmark::DoNotOptimize(longest);
  }
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_KP_FullScanOfCharacters)->RangeMultiplier(2)->Range(128 << 10, 1 << 20)->Complexity(benchmark::oN);

void BM_Baseline_ByteCopyOfTheText(benchmark::State& state) {
  const std::string text = mixedText(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(text.substr(0, text.size()));
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Baseline_ByteCopyOfTheText)->RangeMultiplier(2)->Range(128 << 10, 1 << 20)->Complexity(benchmark::oN);

std::string chinese(std::size_t characters) {
  std::string out;
  for (std::size_t i = 0; i < characters; ++i) {
    std::string one;
    const char32_t c = U'\u4E00' + static_cast<char32_t>((i * 7919) % 0x5000);
    one += static_cast<char>(0xE0 | (c >> 12));
    one += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    one += static_cast<char>(0x80 | (c & 0x3F));
    out += one;
  }
  return out;
}

void BM_KP_PinyinOf10000Characters(benchmark::State& state) {
  const std::string text = chinese(10'000);
  for (auto _ : state) benchmark::DoNotOptimize(kp::change2English(text));
  state.SetItemsProcessed(state.iterations() * 10'000);  // characters per second
}
BENCHMARK(BM_KP_PinyinOf10000Characters)->Unit(benchmark::kMillisecond);

void BM_KP_PinyinShortTexts(benchmark::State& state) {
  const std::string text = "中文";
  for (auto _ : state) benchmark::DoNotOptimize(kp::change2English(text));
  state.SetItemsProcessed(state.iterations());  // calls per second
}
BENCHMARK(BM_KP_PinyinShortTexts);

std::vector<std::string> shortTexts() {
  std::vector<std::string> out;
  out.reserve(100'000);
  for (int i = 0; i < 100'000; ++i) {
    switch (i % 4) {
      case 0: out.push_back("user" + std::to_string(i) + "@example.org"); break;
      case 1: out.push_back("138" + std::to_string(10'000'000 + i)); break;
      case 2: out.push_back("not an address " + std::to_string(i)); break;
      default: out.push_back("a" + std::to_string(i) + "@mail.example.c"); break;
    }
  }
  return out;
}

// Validates the 1e5 texts with `validate` in each iteration.
template <bool (*validate)(std::string_view)>
void validationOf1e5Texts(benchmark::State& state) {
  const std::vector<std::string> texts = shortTexts();
  for (auto _ : state) {
    std::size_t valid = 0;
    for (const std::string& text : texts) valid += validate(text) ? 1 : 0;
    benchmark::DoNotOptimize(valid);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.size()));
}

void BM_KP_EmailValidationOf1e5Texts(benchmark::State& state) { validationOf1e5Texts<&kp::isEmailAddress>(state); }
BENCHMARK(BM_KP_EmailValidationOf1e5Texts)->Unit(benchmark::kMillisecond);

void BM_KP_MobileValidationOf1e5Texts(benchmark::State& state) {
  validationOf1e5Texts<&kp::isMobileNumberClassification>(state);
}
BENCHMARK(BM_KP_MobileValidationOf1e5Texts)->Unit(benchmark::kMillisecond);

void BM_KP_FullEmailValidationOf1e5Texts(benchmark::State& state) { validationOf1e5Texts<&kp::isValidEmail>(state); }
BENCHMARK(BM_KP_FullEmailValidationOf1e5Texts)->Unit(benchmark::kMillisecond);

constexpr const char* kCallersPattern = "[a-z0-9]+@[a-z.]+\\.(org|com)";

bool callersPattern(std::string_view text) { return kp::isValidateByRegex(text, kCallersPattern); }
void BM_KP_CallersPatternOf1e5Texts(benchmark::State& state) { validationOf1e5Texts<&callersPattern>(state); }
BENCHMARK(BM_KP_CallersPatternOf1e5Texts)->Unit(benchmark::kMillisecond);

// The same whole-text matches with one compiled ICU pattern and no time limit.
void BM_Baseline_ICUMatcherOf1e5Texts(benchmark::State& state) {
  const std::vector<std::string> texts = shortTexts();
  UErrorCode status = U_ZERO_ERROR;
  UParseError parseError{};
  std::unique_ptr<icu::RegexPattern> pattern(
      icu::RegexPattern::compile(icu::UnicodeString::fromUTF8(kCallersPattern), 0, parseError, status));
  for (auto _ : state) {
    std::size_t valid = 0;
    for (const std::string& text : texts) {
      UText utext = UTEXT_INITIALIZER;
      utext_openUTF8(&utext, text.data(), static_cast<int64_t>(text.size()), &status);
      std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(status));
      matcher->reset(&utext);
      valid += matcher->matches(status) ? 1 : 0;
      utext_close(&utext);
    }
    benchmark::DoNotOptimize(valid);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.size()));
}
BENCHMARK(BM_Baseline_ICUMatcherOf1e5Texts)->Unit(benchmark::kMillisecond);

// Link extraction from a link followed directly by `shape`, repeated to range(0) bytes.
void linkExtraction(benchmark::State& state, std::string_view shape) {
  std::string text = "see http://x.example/";
  while (static_cast<std::int64_t>(text.size()) < state.range(0)) text += shape;
  for (auto _ : state) benchmark::DoNotOptimize(kp::kp_embeddedURLs(text));
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_KP_EmbeddedURLsOfOrdinaryText(benchmark::State& state) { linkExtraction(state, "Hello, 世界! Café line\r\n"); }
BENCHMARK(BM_KP_EmbeddedURLsOfOrdinaryText)->RangeMultiplier(4)->Range(64 << 10, 1 << 20)->Complexity(benchmark::oN);

void BM_KP_EmbeddedURLsOfClosingBrackets(benchmark::State& state) { linkExtraction(state, ")"); }
BENCHMARK(BM_KP_EmbeddedURLsOfClosingBrackets)->RangeMultiplier(4)->Range(64 << 10, 1 << 20)->Complexity(benchmark::oN);

void BM_KP_EmbeddedURLsOfHostlessStarts(benchmark::State& state) { linkExtraction(state, "www.:"); }
BENCHMARK(BM_KP_EmbeddedURLsOfHostlessStarts)->RangeMultiplier(4)->Range(64 << 10, 1 << 20)->Complexity(benchmark::oN);

}  // namespace
