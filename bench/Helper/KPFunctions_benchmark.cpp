// The logger: a call below the minimum level must cost a comparison; a printed call
// formats a date, parses a URL and writes one line.
#include <benchmark/benchmark.h>

#include "KPQuaslet/Helper/KPFunctions.h"
#include "platform/foundation/StandardOutput.h"

namespace {

using kp::KP;

void BM_PrintBelowMinimumLevel(benchmark::State& state) {
  KP::setMinimumLogLevel(KP::logLevel::error);
  int value = 0;
  for (auto _ : state) {
    KP::print(value, KP::logLevel::debug, "/src/App/Store.x", 12, "load()");
    benchmark::DoNotOptimize(++value);
  }
  KP::setMinimumLogLevel(KP::logLevel::info);
}
BENCHMARK(BM_PrintBelowMinimumLevel);

void BM_PrintedLine(benchmark::State& state) {
  ios::testing::CapturedOutput out;  // keeps the terminal quiet; the line is still built and written
  std::int64_t written = 0;
  for (auto _ : state) {
    KP::print("hello", KP::logLevel::warn, "/src/App/Store.x", 12, "load()");
    if (++written % 1024 == 0) out.clear();
  }
}
BENCHMARK(BM_PrintedLine);

}  // namespace
