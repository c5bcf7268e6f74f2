#include "platform/dispatch/internal/Engine.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <queue>
#include <thread>
#include <vector>

#include "platform/foundation/Clock.h"
#include "platform/foundation/Precondition.h"
#include "platform/foundation/Thread.h"

namespace ios::dispatch_internal {
namespace {

using Task = std::function<void()>;

thread_local const QueueCore* tCurrentQueue = nullptr;
std::atomic<std::size_t> gBlocksRun{0};
std::atomic<bool> gManual{false};

// ---------------------------------------------------------------------------------
// Timers: a min-heap of deadlines, shared by both executors.

struct TimerEntry {
  std::uint64_t deadline;
  std::uint64_t sequence;
  Task fire;
  bool operator>(const TimerEntry& other) const {
    return deadline != other.deadline ? deadline > other.deadline : sequence > other.sequence;
  }
};

struct TimerHeap {
  std::mutex mutex;
  std::condition_variable wake;
  std::priority_queue<TimerEntry, std::vector<TimerEntry>, std::greater<>> entries;
  std::uint64_t nextSequence = 0;
  bool threadStarted = false;
};

TimerHeap& timers() {
  static auto* heap = new TimerHeap;  // lives for the whole process, with its thread
  return *heap;
}

// Pops and fires every timer due at `now`. Returns how many fired.
std::size_t fireDueTimers(std::uint64_t now) {
  auto& heap = timers();
  std::size_t fired = 0;
  for (;;) {
    Task fire;
    {
      std::lock_guard lock(heap.mutex);
      if (heap.entries.empty() || heap.entries.top().deadline > now) return fired;
      fire = std::move(const_cast<TimerEntry&>(heap.entries.top()).fire);
      heap.entries.pop();
    }
    fire();
    ++fired;
  }
}

void timerThreadLoop() {
  auto& heap = timers();
  std::unique_lock lock(heap.mutex);
  for (;;) {
    if (gManual.load() || heap.entries.empty()) {
      heap.wake.wait(lock);
      continue;
    }
    const std::uint64_t now = clock::uptimeNanoseconds();
    const std::uint64_t deadline = heap.entries.top().deadline;
    if (deadline > now) {
      heap.wake.wait_for(lock, std::chrono::nanoseconds(std::min<std::uint64_t>(deadline - now, 3'600'000'000'000ULL)));
      continue;
    }
    Task fire = std::move(const_cast<TimerEntry&>(heap.entries.top()).fire);
    heap.entries.pop();
    lock.unlock();
    fire();
    fire = nullptr;  // its captures may arm timers as they go: released before relocking
    lock.lock();
  }
}

// ---------------------------------------------------------------------------------
// Threaded executor: a worker pool and the main thread's inbox.

// The number of worker threads (and the width of a concurrent queue).
std::size_t workerCount() { return std::max(4u, std::thread::hardware_concurrency()); }

struct WorkerPool {
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<Task> tasks;
  std::size_t size = 0;
  std::size_t idle = 0;  // workers waiting for a task: only they need waking
};

WorkerPool& pool() {
  static auto* p = [] {
    auto* created = new WorkerPool;  // lives for the whole process, with its threads
    created->size = workerCount();
    for (std::size_t i = 0; i < created->size; ++i) {
      std::thread([created] {
        std::unique_lock lock(created->mutex);
        for (;;) {
          ++created->idle;
          created->wake.wait(lock, [created] { return !created->tasks.empty(); });
          --created->idle;
          Task task = std::move(created->tasks.front());
          created->tasks.pop_front();
          lock.unlock();
          task();
          // The task's captures go before the lock is taken again: their destructors may
          // submit work themselves.
          task = nullptr;
          lock.lock();
        }
      }).detach();
    }
    return created;
  }();
  return *p;
}

struct MainInbox {
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<Task> tasks;
};

MainInbox& mainInbox() {
  static auto* inbox = new MainInbox;
  return *inbox;
}

// Manual executor: one FIFO run on the test thread.
struct ManualTasks {
  std::mutex mutex;
  std::deque<Task> tasks;
  std::unique_ptr<testing::ManualClock> clock;
};

ManualTasks& manualTasks() {
  static auto* tasks = new ManualTasks;
  return *tasks;
}

void post(Task task, bool toMainThread) {
  if (gManual.load()) {
    auto& manual = manualTasks();
    std::lock_guard lock(manual.mutex);
    manual.tasks.push_back(std::move(task));
    return;
  }
  if (toMainThread) {
    auto& inbox = mainInbox();
    {
      std::lock_guard lock(inbox.mutex);
      inbox.tasks.push_back(std::move(task));
    }
    inbox.wake.notify_all();
    return;
  }
  auto& workers = pool();
  bool wake = false;
  {
    std::lock_guard lock(workers.mutex);
    workers.tasks.push_back(std::move(task));
    wake = workers.idle > 0;
  }
  if (wake) workers.wake.notify_one();
}

}  // namespace

// -------------------------------------------------------------------------------------
// Queues

struct QueueRegistry {
  std::mutex mutex;
  std::vector<std::weak_ptr<QueueCore>> queues;
};

QueueRegistry& queueRegistry() {
  static auto* registry = new QueueRegistry;
  return *registry;
}

std::shared_ptr<QueueCore> QueueCore::make(std::string label, bool concurrent, bool isMain) {
  auto core = std::make_shared<QueueCore>(std::move(label), concurrent, isMain);
  auto& registry = queueRegistry();
  std::lock_guard lock(registry.mutex);
  std::erase_if(registry.queues, [](const std::weak_ptr<QueueCore>& q) { return q.expired(); });
  registry.queues.push_back(core);
  return core;
}

void QueueCore::discardPending() {
  std::deque<std::function<void()>> dropped;
  {
    std::lock_guard lock(mutex_);
    dropped.swap(pending_);
    queued_.store(0, std::memory_order_relaxed);
    drainers_ = 0;
  }
}

std::size_t QueueCore::width() const { return concurrent_ ? workerCount() : 1; }

void QueueCore::enqueue(std::function<void()> block) {
  // Blocks wait in the queue; drains (one for a serial queue, up to one per worker for
  // a concurrent one) take them in order, so a burst of blocks costs one wake-up per
  // drain rather than one per block.
  bool startDrain = false;
  {
    std::lock_guard lock(mutex_);
    pending_.push_back(std::move(block));
    queued_.store(pending_.size(), std::memory_order_relaxed);
    if (drainers_ < width()) {
      ++drainers_;
      startDrain = true;
    }
  }
  if (startDrain) post([self = shared_from_this()] { self->drain(); }, isMain_);
}

void QueueCore::drain() {
  for (;;) {
    if (concurrent_ && !gManual.load()) {
      // A burst of small blocks usually goes on: look again shortly (without the lock,
      // which the submitter needs) rather than leaving and being woken for the next one.
      for (int round = 0; round < 64 && queued_.load(std::memory_order_relaxed) == 0; ++round) {
        std::this_thread::yield();
      }
    }
    std::function<void()> block;
    {
      std::lock_guard lock(mutex_);
      if (pending_.empty()) {
        if (drainers_ > 0) --drainers_;  // discardPending() may have counted it out already
        return;
      }
      block = std::move(pending_.front());
      pending_.pop_front();
      queued_.store(pending_.size(), std::memory_order_relaxed);
    }
    try {
      runAsCurrent(this, block);
    } catch (...) {
      // Keep the queue usable: whatever is still pending runs in a fresh drain.
      bool more = false;
      {
        std::lock_guard lock(mutex_);
        more = !pending_.empty();
        if (!more && drainers_ > 0) --drainers_;
      }
      if (more) post([self = shared_from_this()] { self->drain(); }, isMain_);
      throw;
    }
  }
}

const QueueCore* currentQueue() { return tCurrentQueue; }

void runAsCurrent(const QueueCore* queue, const std::function<void()>& block) {
  const QueueCore* previous = tCurrentQueue;
  tCurrentQueue = queue;
  struct Restore {
    const QueueCore* previous;
    ~Restore() { tCurrentQueue = previous; }
  } restore{previous};
  gBlocksRun.fetch_add(1);
  block();
}

void addTimer(std::uint64_t deadline, std::function<void()> fire) {
  auto& heap = timers();
  bool startThread = false;
  {
    std::lock_guard lock(heap.mutex);
    heap.entries.push(TimerEntry{deadline, heap.nextSequence++, std::move(fire)});
    if (!gManual.load() && !heap.threadStarted) heap.threadStarted = startThread = true;
  }
  if (startThread) std::thread(timerThreadLoop).detach();
  heap.wake.notify_all();
}

void concurrentPerform(std::size_t count, const std::function<void(std::size_t)>& body) {
  if (count == 0) return;
  if (gManual.load()) {
    for (std::size_t i = 0; i < count; ++i) body(i);
    return;
  }
  struct State {
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::atomic<bool> stop{false};
    std::size_t count = 0;
    std::size_t chunk = 1;
    const std::function<void(std::size_t)>* body = nullptr;
    std::mutex mutex;
    std::condition_variable finished;
    std::exception_ptr error;
  };
  auto state = std::make_shared<State>();
  state->count = count;
  state->body = &body;
  // Indexes are claimed in chunks, so that cheap bodies do not spend their time on the
  // shared counters; sixteen chunks per thread keep uneven bodies balanced.
  const std::size_t threads = std::min(count, pool().size + 1);
  state->chunk = std::max<std::size_t>(1, count / (threads * 16));
  auto work = [state] {
    for (;;) {
      const std::size_t begin = state->next.fetch_add(state->chunk);
      if (begin >= state->count) return;
      const std::size_t end = std::min(state->count, begin + state->chunk);
      for (std::size_t index = begin; index < end && !state->stop.load(std::memory_order_relaxed); ++index) {
        try {
          (*state->body)(index);
        } catch (...) {
          std::lock_guard lock(state->mutex);
          if (!state->error) state->error = std::current_exception();
          state->stop.store(true);
        }
      }
      if (state->done.fetch_add(end - begin) + (end - begin) == state->count) {
        std::lock_guard lock(state->mutex);
        state->finished.notify_all();
      }
    }
  };
  const std::size_t helpers = threads - 1;
  for (std::size_t i = 0; i < helpers; ++i) post(work, false);
  work();
  std::unique_lock lock(state->mutex);
  state->finished.wait(lock, [&] { return state->done.load() == state->count; });
  if (state->error) std::rethrow_exception(state->error);
}

std::size_t runMainQueue(std::uint64_t deadline) {
  KP_PRECONDITION(Thread::isMainThread() || gManual.load(), "the main queue runs on the main thread");
  if (gManual.load()) {
    const std::uint64_t now = clock::uptimeNanoseconds();
    if (deadline > now && deadline != UINT64_MAX) return advance(deadline - now);
    return runPending();
  }
  const std::size_t before = gBlocksRun.load();
  auto& inbox = mainInbox();
  for (;;) {
    Task task;
    {
      std::unique_lock lock(inbox.mutex);
      while (inbox.tasks.empty()) {
        const std::uint64_t now = clock::uptimeNanoseconds();
        if (now >= deadline) return gBlocksRun.load() - before;
        inbox.wake.wait_for(lock, std::chrono::nanoseconds(std::min<std::uint64_t>(deadline - now, 3'600'000'000'000ULL)));
      }
      task = std::move(inbox.tasks.front());
      inbox.tasks.pop_front();
    }
    task();
  }
}

void enterManualMode(double absoluteTime) {
  KP_PRECONDITION(!gManual.load(), "manual dispatch is already in use");
  auto& manual = manualTasks();
  std::lock_guard lock(manual.mutex);
  manual.clock = std::make_unique<testing::ManualClock>(absoluteTime);
  std::lock_guard timerLock(timers().mutex);
  gManual.store(true);
}

void leaveManualMode() {
  auto& manual = manualTasks();
  std::deque<Task> dropped;
  {
    std::lock_guard lock(manual.mutex);
    dropped.swap(manual.tasks);
    manual.clock.reset();
  }
  // Work a test left behind belongs to that test: every queue forgets it, so that no
  // queue waits for a drain that will never run.
  std::vector<std::shared_ptr<QueueCore>> queues;
  {
    auto& registry = queueRegistry();
    std::lock_guard lock(registry.mutex);
    for (const auto& weak : registry.queues) {
      if (auto queue = weak.lock()) queues.push_back(std::move(queue));
    }
  }
  for (const auto& queue : queues) queue->discardPending();
  // Timers not yet due are dropped after the lock: a dropped block's captures may arm
  // new timers as they go.
  decltype(TimerHeap::entries) timersLeft;
  {
    auto& heap = timers();
    std::lock_guard lock(heap.mutex);
    timersLeft.swap(heap.entries);
    gManual.store(false);
  }
}

bool isManualMode() { return gManual.load(); }

std::size_t runPending() {
  const std::size_t before = gBlocksRun.load();
  auto& manual = manualTasks();
  for (;;) {
    fireDueTimers(clock::uptimeNanoseconds());
    Task task;
    {
      std::lock_guard lock(manual.mutex);
      if (manual.tasks.empty()) break;
      task = std::move(manual.tasks.front());
      manual.tasks.pop_front();
    }
    task();
  }
  return gBlocksRun.load() - before;
}

std::size_t advance(std::uint64_t nanoseconds) {
  KP_PRECONDITION(gManual.load(), "advance() needs manual dispatch");
  auto& manual = manualTasks();
  const std::uint64_t target = clock::uptimeNanoseconds() + nanoseconds;
  std::size_t ran = runPending();
  for (;;) {
    std::uint64_t next = 0;
    {
      auto& heap = timers();
      std::lock_guard lock(heap.mutex);
      if (heap.entries.empty() || heap.entries.top().deadline > target) break;
      next = heap.entries.top().deadline;
    }
    const std::uint64_t now = clock::uptimeNanoseconds();
    if (next > now) manual.clock->advanceNanoseconds(next - now);
    ran += runPending();
  }
  const std::uint64_t now = clock::uptimeNanoseconds();
  if (target > now) manual.clock->advanceNanoseconds(target - now);
  return ran + runPending();
}

std::size_t pendingBlockCount() {
  auto& manual = manualTasks();
  std::lock_guard lock(manual.mutex);
  return manual.tasks.size();
}

std::size_t pendingTimerCount() {
  auto& heap = timers();
  std::lock_guard lock(heap.mutex);
  return heap.entries.size();
}

}  // namespace ios::dispatch_internal
