// Dispatch throughput: async submission on a serial and a concurrent queue (a batch of
// blocks, then waiting for all of them), concurrentPerform over a million trivial
// iterations against a plain loop, and the cost of setting up a timer source.
#include <benchmark/benchmark.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/dispatch/DispatchSourceTimer.h"

namespace {

constexpr std::int64_t kBatch = 10'000;

// Counts finished blocks; wait() returns once `expected` have finished.
class Countdown {
 public:
  explicit Countdown(std::int64_t expected) : left_(expected) {}
  void done() {
    if (left_.fetch_sub(1) == 1) {
      std::lock_guard lock(mutex_);
      finished_ = true;
      cv_.notify_all();
    }
  }
  void wait() {
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [&] { return finished_; });
  }

 private:
  std::atomic<std::int64_t> left_;
  std::mutex mutex_;
  std::condition_variable cv_;
  bool finished_ = false;
};

void BM_AsyncSerialQueue(benchmark::State& state) {
  auto queue = ios::DispatchQueue::make("bench.serial");
  std::int64_t sum = 0;
  for (auto _ : state) {
    for (std::int64_t i = 0; i < kBatch; ++i) queue->async([&sum, i] { sum += i; });
    queue->sync([] {});
  }
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_AsyncSerialQueue)->UseRealTime();

void BM_AsyncConcurrentQueue(benchmark::State& state) {
  auto& queue = ios::DispatchQueue::global();
  std::atomic<std::int64_t> sum{0};
  for (auto _ : state) {
    Countdown countdown(kBatch);
    for (std::int64_t i = 0; i < kBatch; ++i) {
      queue.async([&sum, &countdown, i] {
        sum.fetch_add(i, std::memory_order_relaxed);
        countdown.done();
      });
    }
    countdown.wait();
  }
  benchmark::DoNotOptimize(sum.load());
  state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_AsyncConcurrentQueue)->UseRealTime();

// The baseline for the concurrent queue: a hand-written pool of eight threads around one
// mutex, condition variable and task deque, running the same batch.
class HandWrittenPool {
 public:
  HandWrittenPool() {
    for (int i = 0; i < 8; ++i) {
      threads_.emplace_back([this] {
        std::unique_lock lock(mutex_);
        for (;;) {
          wake_.wait(lock, [this] { return stop_ || !tasks_.empty(); });
          if (tasks_.empty()) return;
          std::function<void()> task = std::move(tasks_.front());
          tasks_.pop_front();
          lock.unlock();
          task();
          task = nullptr;
          lock.lock();
        }
      });
    }
  }
  ~HandWrittenPool() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    for (auto& thread : threads_) thread.join();
  }
  void submit(std::function<void()> task) {
    {
      std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    wake_.notify_one();
  }

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> tasks_;
  bool stop_ = false;
  std::vector<std::thread> threads_;
};

void BM_HandWrittenPoolBaseline(benchmark::State& state) {
  HandWrittenPool pool;
  std::atomic<std::int64_t> sum{0};
  for (auto _ : state) {
    Countdown countdown(kBatch);
    for (std::int64_t i = 0; i < kBatch; ++i) {
      pool.submit([&sum, &countdown, i] {
        sum.fetch_add(i, std::memory_order_relaxed);
        countdown.done();
      });
    }
    countdown.wait();
  }
  benchmark::DoNotOptimize(sum.load());
  state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_HandWrittenPoolBaseline)->UseRealTime();

constexpr std::size_t kIterations = 1'000'000;

// The baseline: the same trivial body in a plain loop on one thread, called through the
// same std::function so that only the scheduling differs.
void BM_PlainLoop(benchmark::State& state) {
  std::vector<std::uint64_t> out(kIterations);
  const std::function<void(std::size_t)> body = [&out](std::size_t i) { out[i] = i * 2654435761u; };
  for (auto _ : state) {
    for (std::size_t i = 0; i < kIterations; ++i) body(i);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kIterations));
}
BENCHMARK(BM_PlainLoop)->UseRealTime();

void BM_ConcurrentPerform(benchmark::State& state) {
  std::vector<std::uint64_t> out(kIterations);
  const std::function<void(std::size_t)> body = [&out](std::size_t i) { out[i] = i * 2654435761u; };
  for (auto _ : state) {
    ios::DispatchQueue::concurrentPerform(kIterations, body);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kIterations));
}
BENCHMARK(BM_ConcurrentPerform)->UseRealTime();

// A heavier body (about a microsecond), where running on several cores pays off.
std::uint64_t spin(std::size_t i) {
  std::uint64_t x = i + 1;
  for (int k = 0; k < 400; ++k) x = x * 6364136223846793005u + 1442695040888963407u;
  return x;
}

void BM_PlainLoopHeavyBody(benchmark::State& state) {
  std::vector<std::uint64_t> out(kIterations / 10);
  for (auto _ : state) {
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = spin(i);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(out.size()));
}
BENCHMARK(BM_PlainLoopHeavyBody)->UseRealTime();

void BM_ConcurrentPerformHeavyBody(benchmark::State& state) {
  std::vector<std::uint64_t> out(kIterations / 10);
  for (auto _ : state) {
    ios::DispatchQueue::concurrentPerform(out.size(), [&out](std::size_t i) { out[i] = spin(i); });
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(out.size()));
}
BENCHMARK(BM_ConcurrentPerformHeavyBody)->UseRealTime();

// A timer source made, scheduled, given a handler, resumed and cancelled. Deadlines are
// a millisecond away, so that the timer thread keeps discarding the stale entries.
void BM_TimerSourceSetUp(benchmark::State& state) {
  auto queue = ios::DispatchQueue::make("bench.timers");
  for (auto _ : state) {
    auto timer = ios::DispatchSourceTimer::makeTimerSource(queue);
    timer->schedule(ios::DispatchTime::now() + 0.001, ios::DispatchTimeInterval::seconds(1));
    timer->setEventHandler([] {});
    timer->resume();
    timer->cancel();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TimerSourceSetUp);

// Rescheduling a running source (what setting a GCDTimer's event or rescheduling a
// KPTimer does).
void BM_TimerSourceReschedule(benchmark::State& state) {
  auto queue = ios::DispatchQueue::make("bench.reschedule");
  auto timer = ios::DispatchSourceTimer::makeTimerSource(queue);
  timer->setEventHandler([] {});
  timer->resume();
  for (auto _ : state) {
    timer->schedule(ios::DispatchTime::now() + 0.001, ios::DispatchTimeInterval::seconds(1));
  }
  timer->cancel();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TimerSourceReschedule);

}  // namespace
