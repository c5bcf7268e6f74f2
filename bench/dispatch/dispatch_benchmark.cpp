// Dispatch throughput against oneTBB doing the same work in one run:
// - a batch of trivial blocks on a serial queue, then waiting for all of them, against
//   a serial flow-graph node and a chain of tasks that drain a TBB concurrent queue one
//   block at a time;
// - the same batch on the global concurrent queue, against tbb::task_group;
// - concurrentPerform over a million trivial iterations and over ten thousand that cost
//   about a microsecond each, against tbb::parallel_for;
// - the cost of setting up and rescheduling a timer source;
// - a synchronous block on an idle serial queue and on a concurrent queue, against the
//   same block run under a mutex on the caller.
#include <benchmark/benchmark.h>
#include <oneapi/tbb/concurrent_queue.h>
#include <oneapi/tbb/flow_graph.h>
#include <oneapi/tbb/parallel_for.h>
#include <oneapi/tbb/task_group.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
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

// Serial blocks add their index to a plain sum and count the blocks that ran out of
// order, which a serial queue must keep at zero.
struct SerialLog {
  std::int64_t sum = 0;
  std::int64_t expected = 0;
  std::int64_t outOfOrder = 0;
  void record(std::int64_t i) {
    sum += i;
    if (i != expected) ++outOfOrder;
    expected = i + 1;
  }
};

void reportSerial(benchmark::State& state, const SerialLog& log) {
  benchmark::DoNotOptimize(log.sum);
  state.counters["out_of_order"] = static_cast<double>(log.outOfOrder);
  state.SetItemsProcessed(state.iterations() * kBatch);
}

void BM_SerialQueue_Dispatch(benchmark::State& state) {
  auto queue = ios::DispatchQueue::make("bench.serial");
  SerialLog log;
  for (auto _ : state) {
    log.expected = 0;
    for (std::int64_t i = 0; i < kBatch; ++i) queue->async([&log, i] { log.record(i); });
    queue->sync([] {});
  }
  reportSerial(state, log);
}
BENCHMARK(BM_SerialQueue_Dispatch)->UseRealTime();

// oneTBB's own serial executor: a function node of concurrency one, queueing what it
// cannot take at once.
void BM_SerialQueue_TbbFunctionNode(benchmark::State& state) {
  tbb::flow::graph graph;
  tbb::flow::function_node<std::function<void()>, tbb::flow::continue_msg, tbb::flow::queueing> node(
      graph, tbb::flow::serial, [](const std::function<void()>& block) {
        block();
        return tbb::flow::continue_msg();
      });
  SerialLog log;
  for (auto _ : state) {
    log.expected = 0;
    for (std::int64_t i = 0; i < kBatch; ++i) node.try_put([&log, i] { log.record(i); });
    graph.wait_for_all();
  }
  reportSerial(state, log);
}
BENCHMARK(BM_SerialQueue_TbbFunctionNode)->UseRealTime();

// A serial queue built from oneTBB parts: blocks wait in a concurrent queue, and one
// task at a time drains it, started when the queue goes from idle to busy.
class TbbSerialChain {
 public:
  void async(std::function<void()> block) {
    blocks_.push(std::move(block));
    if (pending_.fetch_add(1, std::memory_order_acq_rel) == 0) group_.run([this] { drain(); });
  }
  void wait() { group_.wait(); }

 private:
  void drain() {
    std::function<void()> block;
    do {
      while (!blocks_.try_pop(block)) {
      }
      block();
    } while (pending_.fetch_sub(1, std::memory_order_acq_rel) > 1);
  }

  tbb::concurrent_queue<std::function<void()>> blocks_;
  std::atomic<std::int64_t> pending_{0};
  tbb::task_group group_;
};

void BM_SerialQueue_TbbTaskChain(benchmark::State& state) {
  TbbSerialChain chain;
  SerialLog log;
  for (auto _ : state) {
    log.expected = 0;
    for (std::int64_t i = 0; i < kBatch; ++i) chain.async([&log, i] { log.record(i); });
    chain.wait();
  }
  reportSerial(state, log);
}
BENCHMARK(BM_SerialQueue_TbbTaskChain)->UseRealTime();

void BM_ConcurrentQueue_Dispatch(benchmark::State& state) {
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
BENCHMARK(BM_ConcurrentQueue_Dispatch)->UseRealTime();

// The same blocks, counted down the same way, run by a task group (whose wait also
// runs tasks on the caller).
void BM_ConcurrentQueue_TbbTaskGroup(benchmark::State& state) {
  std::atomic<std::int64_t> sum{0};
  for (auto _ : state) {
    Countdown countdown(kBatch);
    tbb::task_group group;
    for (std::int64_t i = 0; i < kBatch; ++i) {
      group.run([&sum, &countdown, i] {
        sum.fetch_add(i, std::memory_order_relaxed);
        countdown.done();
      });
    }
    group.wait();
  }
  benchmark::DoNotOptimize(sum.load());
  state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_ConcurrentQueue_TbbTaskGroup)->UseRealTime();

constexpr std::size_t kTrivialIterations = 1'000'000;

void BM_ConcurrentPerformTrivial_Dispatch(benchmark::State& state) {
  std::vector<std::uint64_t> out(kTrivialIterations);
  for (auto _ : state) {
    ios::DispatchQueue::concurrentPerform(kTrivialIterations, [&out](std::size_t i) { out[i] = i * 2654435761u; });
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kTrivialIterations));
}
BENCHMARK(BM_ConcurrentPerformTrivial_Dispatch)->UseRealTime();

void BM_ConcurrentPerformTrivial_TbbParallelFor(benchmark::State& state) {
  std::vector<std::uint64_t> out(kTrivialIterations);
  for (auto _ : state) {
    tbb::parallel_for(std::size_t{0}, kTrivialIterations, [&out](std::size_t i) { out[i] = i * 2654435761u; });
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kTrivialIterations));
}
BENCHMARK(BM_ConcurrentPerformTrivial_TbbParallelFor)->UseRealTime();

// A body of about a microsecond: a chain of dependent multiply-adds.
std::uint64_t microsecondBody(std::size_t i) {
  std::uint64_t x = i + 1;
  for (int k = 0; k < 900; ++k) x = x * 6364136223846793005u + 1442695040888963407u;
  return x;
}

constexpr std::size_t kHeavyIterations = 10'000;

// The body alone on one thread, to show what one call costs on this machine.
void BM_MicrosecondBody_PlainLoop(benchmark::State& state) {
  std::vector<std::uint64_t> out(kHeavyIterations);
  for (auto _ : state) {
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = microsecondBody(i);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kHeavyIterations));
}
BENCHMARK(BM_MicrosecondBody_PlainLoop)->UseRealTime();

void BM_ConcurrentPerformMicrosecond_Dispatch(benchmark::State& state) {
  std::vector<std::uint64_t> out(kHeavyIterations);
  for (auto _ : state) {
    ios::DispatchQueue::concurrentPerform(kHeavyIterations, [&out](std::size_t i) { out[i] = microsecondBody(i); });
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kHeavyIterations));
}
BENCHMARK(BM_ConcurrentPerformMicrosecond_Dispatch)->UseRealTime();

void BM_ConcurrentPerformMicrosecond_TbbParallelFor(benchmark::State& state) {
  std::vector<std::uint64_t> out(kHeavyIterations);
  for (auto _ : state) {
    tbb::parallel_for(std::size_t{0}, kHeavyIterations, [&out](std::size_t i) { out[i] = microsecondBody(i); });
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kHeavyIterations));
}
BENCHMARK(BM_ConcurrentPerformMicrosecond_TbbParallelFor)->UseRealTime();

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

// A synchronous block on a serial queue nothing else uses: the cost of the hand-off.
void BM_SyncIdleSerial_Dispatch(benchmark::State& state) {
  auto queue = ios::DispatchQueue::make("bench.sync");
  std::int64_t counter = 0;
  for (auto _ : state) queue->sync([&counter] { ++counter; });
  benchmark::DoNotOptimize(counter);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SyncIdleSerial_Dispatch);

// A synchronous block on a private concurrent queue.
void BM_SyncConcurrent_Dispatch(benchmark::State& state) {
  auto queue = ios::DispatchQueue::make("bench.sync.concurrent", ios::DispatchQoS::unspecified,
                                        ios::DispatchQueue::Attributes::concurrent);
  std::atomic<std::int64_t> counter{0};
  for (auto _ : state) queue->sync([&counter] { counter.fetch_add(1, std::memory_order_relaxed); });
  benchmark::DoNotOptimize(counter.load());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SyncConcurrent_Dispatch);

// The anchor: the same block under a mutex on the caller, through a std::function as
// sync() takes it.
void BM_SyncAnchor_MutexAroundBlock(benchmark::State& state) {
  std::mutex mutex;
  std::int64_t counter = 0;
  const std::function<void()> block = [&counter] { ++counter; };
  for (auto _ : state) {
    std::lock_guard lock(mutex);
    block();
  }
  benchmark::DoNotOptimize(counter);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SyncAnchor_MutexAroundBlock);

}  // namespace
