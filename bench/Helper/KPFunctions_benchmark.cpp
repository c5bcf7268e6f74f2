// The logger: a call below the minimum level must cost a comparison; a printed call
// builds its line (date in the current locale and zone, process, file name) and writes
// it to standard output. The anchor writes a line of the same shape with strftime,
// fprintf and fflush. Both write to the real standard output, pointed at /dev/null.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "KPQuaslet/Helper/KPFunctions.h"

namespace {

using kp::KP;

// While alive, standard output goes to /dev/null.
class QuietStandardOutput {
 public:
  QuietStandardOutput() {
    std::fflush(stdout);
    saved_ = ::dup(STDOUT_FILENO);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    ::close(null);
  }
  ~QuietStandardOutput() {
    std::fflush(stdout);
    ::dup2(saved_, STDOUT_FILENO);
    ::close(saved_);
  }
  QuietStandardOutput(const QuietStandardOutput&) = delete;
  QuietStandardOutput& operator=(const QuietStandardOutput&) = delete;

 private:
  int saved_ = -1;
};

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
  QuietStandardOutput quiet;
  for (auto _ : state) {
    KP::print("hello", KP::logLevel::warn, "/src/App/Store.x", 12, "load()");
  }
}
BENCHMARK(BM_PrintedLine);

// The anchor: the local time with milliseconds by strftime, the line by fprintf, then fflush.
void BM_StrftimeFprintfFflush(benchmark::State& state) {
  QuietStandardOutput quiet;
  const char* process = program_invocation_short_name;
  const int pid = static_cast<int>(::getpid());
  for (auto _ : state) {
    timeval now{};
    ::gettimeofday(&now, nullptr);
    std::tm local{};
    ::localtime_r(&now.tv_sec, &local);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &local);
    std::fprintf(stdout,
                 "\n\u26A0\uFE0F .warn \u23F1 %s:%03d \U0001F4F1 %s [%d:?] \U0001F4C2 %s(%d) \u2699\uFE0F %s "
                 "\u27A1\uFE0F\r\t%s\n",
                 date, static_cast<int>(now.tv_usec / 1000), process, pid, "Store.x", 12, "load()", "hello");
    std::fflush(stdout);
  }
}
BENCHMARK(BM_StrftimeFprintfFflush);

}  // namespace
