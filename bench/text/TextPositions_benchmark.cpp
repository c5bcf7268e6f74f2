// Character positions near the ends of long texts, each beside the raw ICU work it
// needs: the last character (ICU stepping back one cluster from the end), the
// character at position 5 and truncation to 10 characters (ICU stepping forward six
// and ten clusters), the first-character conversions (camelCased beside a byte loop
// that lower-cases the text and drops its spaces), and base64 decoding (beside the
// raw decoder). Text lengths from 1,000 to 1,000,000 characters, so that any growth
// with the length shows.
#include <benchmark/benchmark.h>
#include <unicode/brkiter.h>
#include <unicode/utext.h>

#include <cctype>
#include <cstdint>
#include <memory>
#include <string>

#include "KPQuaslet/text/String+KPConversion.h"
#include "KPQuaslet/text/String+KPSlicing.h"
#include "platform/foundation/Data.h"

namespace {

// `characters` characters of mixed Latin, Chinese, accented and emoji text.
std::string mixedText(std::int64_t characters) {
  static const std::string kPiece = "Hello 世界 Café e\u0301 👍🏽 ";  // 18 characters
  std::string out;
  for (std::int64_t n = 0; n < characters; n += 18) out += kPiece;
  return out;
}

// An ASCII sentence of `characters` characters.
std::string asciiWords(std::int64_t characters) {
  std::string out;
  while (static_cast<std::int64_t>(out.size()) < characters) out += "Lorem ipsum DOLOR ";
  out.resize(static_cast<std::size_t>(characters));
  return out;
}

std::unique_ptr<icu::BreakIterator> icuCharacterIterator() {
  UErrorCode status = U_ZERO_ERROR;
  return std::unique_ptr<icu::BreakIterator>(
      icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
}

// ICU's iterator over `text`, moved by `step` (which returns the boundary reached).
template <class Step>
std::int32_t icuBoundary(icu::BreakIterator& iterator, const std::string& text, Step step) {
  UErrorCode status = U_ZERO_ERROR;
  UText utext = UTEXT_INITIALIZER;
  utext_openUTF8(&utext, text.data(), static_cast<int64_t>(text.size()), &status);
  iterator.setText(&utext, status);
  const std::int32_t boundary = step(iterator);
  utext_close(&utext);
  return boundary;
}

#define KP_TEXT_SIZES RangeMultiplier(10)->Range(1000, 1000000)

void BM_KP_LastCharacter(benchmark::State& state) {
  const std::string text = mixedText(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(kp::lastCharacter(text));
}
BENCHMARK(BM_KP_LastCharacter)->KP_TEXT_SIZES;

void BM_Baseline_ICUStepBackFromTheEnd(benchmark::State& state) {
  const std::string text = mixedText(state.range(0));
  auto iterator = icuCharacterIterator();
  for (auto _ : state) {
    const std::int32_t start = icuBoundary(*iterator, text, [](icu::BreakIterator& it) {
      it.last();
      return it.previous();
    });
    benchmark::DoNotOptimize(std::string(text, static_cast<std::size_t>(start)));
  }
}
BENCHMARK(BM_Baseline_ICUStepBackFromTheEnd)->KP_TEXT_SIZES;

void BM_KP_CharacterAtFive(benchmark::State& state) {
  const std::string text = mixedText(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(kp::at(text, 5));
}
BENCHMARK(BM_KP_CharacterAtFive)->KP_TEXT_SIZES;

void BM_KP_TruncateToTen(benchmark::State& state) {
  const std::string text = mixedText(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(kp::kp_truncate(text, 10, "..."));
}
BENCHMARK(BM_KP_TruncateToTen)->KP_TEXT_SIZES;

// ICU's iterator stepped forward `steps` clusters from the start; the text up to
// there is copied, as the framework's answers are.
void icuStepForward(benchmark::State& state, int steps) {
  const std::string text = mixedText(state.range(0));
  auto iterator = icuCharacterIterator();
  for (auto _ : state) {
    const std::int32_t end = icuBoundary(*iterator, text, [steps](icu::BreakIterator& it) {
      std::int32_t boundary = 0;
      for (int i = 0; i < steps; ++i) boundary = it.next();
      return boundary;
    });
    benchmark::DoNotOptimize(std::string(text, 0, static_cast<std::size_t>(end)));
  }
}
void BM_Baseline_ICUStepSixForward(benchmark::State& state) { icuStepForward(state, 6); }
BENCHMARK(BM_Baseline_ICUStepSixForward)->KP_TEXT_SIZES;
void BM_Baseline_ICUStepTenForward(benchmark::State& state) { icuStepForward(state, 10); }
BENCHMARK(BM_Baseline_ICUStepTenForward)->KP_TEXT_SIZES;

void BM_KP_CamelCased(benchmark::State& state) {
  const std::string text = asciiWords(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(kp::camelCased(text));
}
BENCHMARK(BM_KP_CamelCased)->KP_TEXT_SIZES;

void BM_KP_CapitalizeFirst(benchmark::State& state) {
  const std::string text = asciiWords(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(kp::capitalizeFirst(text));
}
BENCHMARK(BM_KP_CapitalizeFirst)->KP_TEXT_SIZES;

// What camelCased does to an ASCII text, as one byte loop: lower-case, capitalise each
// word, drop the spaces.
void BM_Baseline_CamelCaseByteLoop(benchmark::State& state) {
  const std::string text = asciiWords(state.range(0));
  for (auto _ : state) {
    std::string out;
    out.reserve(text.size());
    bool startOfWord = false;
    for (char c : text) {
      if (c == ' ') {
        startOfWord = true;
        continue;
      }
      const auto byte = static_cast<unsigned char>(c);
      out += static_cast<char>(startOfWord ? std::toupper(byte) : std::tolower(byte));
      startOfWord = false;
    }
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_Baseline_CamelCaseByteLoop)->KP_TEXT_SIZES;

std::string unpaddedBase64(std::int64_t characters) {
  std::string encoded = ios::base64EncodedString(ios::Data(static_cast<std::size_t>(characters) * 3 / 4 + 1, 'a'));
  while (!encoded.empty() && encoded.back() == '=') encoded.pop_back();
  return encoded;
}

void BM_KP_StringFromBase64(benchmark::State& state) {
  const std::string encoded = unpaddedBase64(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(kp::makeStringFromBase64(encoded));
}
BENCHMARK(BM_KP_StringFromBase64)->KP_TEXT_SIZES;

void BM_Baseline_RawBase64Decode(benchmark::State& state) {
  std::string encoded = unpaddedBase64(state.range(0));
  encoded.append((4 - encoded.size() % 4) % 4, '=');
  for (auto _ : state) benchmark::DoNotOptimize(ios::dataFromBase64Encoded(encoded));
}
BENCHMARK(BM_Baseline_RawBase64Decode)->KP_TEXT_SIZES;

}  // namespace
