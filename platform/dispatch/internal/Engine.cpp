#include "platform/dispatch/internal/Engine.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/dispatch/internal/WorkerPool.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Precondition.h"
#include "platform/foundation/ScopeExit.h"
#include "platform/foundation/Thread.h"

namespace ios::dispatch_internal {
namespace {

using Task = std::function<void()>;

// How many blocks a drain of a pool queue runs before it hands over to a fresh drain.
constexpr std::size_t kDrainQuantum = 1024;
// How long (in pauses) a drain of a pool queue that ran dry waits for the next block of
// a burst before it ends.
constexpr int kDrainLingerPauses = 256;
// The most block slots a queue keeps allocated between bursts (twice: the pending list
// and the spare batch); a bigger burst's storage is freed once it has run.
constexpr std::size_t kKeptSlots = 4096;
// How long a caller waiting for a sync block or the last chunks of a concurrent perform
// looks for the answer before it sleeps.
constexpr auto kWaitSpinTime = std::chrono::microseconds(50);
// Chunks per taking part thread in a concurrent perform: enough to even out uneven
// bodies, few enough that cheap bodies do not spend their time on the shared counters.
constexpr std::size_t kChunksPerThread = 16;

// Initial-exec: the library is loaded with the program, and these are read on every
// block, where a call to look a thread variable up would cost as much as the block.
[[gnu::tls_model("initial-exec")]] thread_local const QueueCore* tCurrentQueue = nullptr;
[[gnu::tls_model("initial-exec")]] thread_local std::size_t tBlocksRun = 0;  // blocks run on this thread, for the drain loops' counts
std::atomic<bool> gManual{false};

// ---------------------------------------------------------------------------------
// Timers: a min-heap of deadlines, shared by both executors.

// Entries in deadline order (ties in the order they were added); an entry can be taken
// out before it is due, so that a cancelled timer keeps nothing alive until its old
// deadline.
struct TimerHeap {
  std::mutex mutex;
  std::condition_variable wake;
  std::map<TimerId, Task> entries;
  std::uint64_t nextSequence = 0;
  bool threadStarted = false;

  // Caller holds the lock.
  [[nodiscard]] bool hasDue(std::uint64_t now) const { return !entries.empty() && entries.begin()->first.deadline <= now; }
  // Caller holds the lock; the earliest entry's task, taken out.
  Task popFirst() {
    auto first = entries.begin();
    Task fire = std::move(first->second);
    entries.erase(first);
    return fire;
  }
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
      if (!heap.hasDue(now)) return fired;
      fire = heap.popFirst();
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
    const std::uint64_t deadline = heap.entries.begin()->first.deadline;
    if (deadline > now) {
      heap.wake.wait_for(lock, std::chrono::nanoseconds(std::min<std::uint64_t>(deadline - now, 3'600'000'000'000ULL)));
      continue;
    }
    Task fire = heap.popFirst();
    lock.unlock();
    fire();
    fire = nullptr;  // its captures may arm timers as they go: released before relocking
    lock.lock();
  }
}

// ---------------------------------------------------------------------------------
// The main thread's inbox (threaded) and the test thread's line of drains (manual).

struct MainInbox {
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<Task> tasks;
  bool interrupted = false;  // interruptMainQueue() was called and no wait has seen it yet
};

MainInbox& mainInbox() {
  static auto* inbox = new MainInbox;
  return *inbox;
}

void postToMainThread(Task task) {
  auto& inbox = mainInbox();
  {
    std::lock_guard lock(inbox.mutex);
    inbox.tasks.push_back(std::move(task));
  }
  inbox.wake.notify_all();
}

struct ManualTasks {
  std::mutex mutex;
  std::deque<Task> tasks;
  std::unique_ptr<testing::ManualClock> clock;
};

ManualTasks& manualTasks() {
  static auto* tasks = new ManualTasks;
  return *tasks;
}

void postToManualLine(Task task) {
  auto& manual = manualTasks();
  std::lock_guard lock(manual.mutex);
  manual.tasks.push_back(std::move(task));
}

// ---------------------------------------------------------------------------------
// Concurrent perform: chunks claimed from a shared counter by the caller and helpers.

class PerformJob {
 public:
  PerformJob(std::size_t count, std::size_t chunks, ChunkBody body, void* context, int references)
      : count_(count), chunks_(chunks), body_(body), context_(context), references_(references) {}

  // Runs chunks until none is left to claim.
  void work() {
    for (;;) {
      const std::size_t chunk = next_.fetch_add(1, std::memory_order_relaxed);
      if (chunk >= chunks_) return;
      if (!stop_.load(std::memory_order_relaxed)) {
        // Chunk c covers c x count / chunks up to the next chunk's start, in whole
        // numbers that cannot overflow.
        const std::size_t base = count_ / chunks_;
        const std::size_t extra = count_ % chunks_;
        const std::size_t begin = chunk * base + std::min(chunk, extra);
        const std::size_t end = begin + base + (chunk < extra ? 1 : 0);
        try {
          body_(context_, begin, end, stop_);
        } catch (...) {
          std::lock_guard lock(mutex_);
          if (!error_) error_ = std::current_exception();
          stop_.store(true, std::memory_order_relaxed);
        }
      }
      if (finished_.fetch_add(1, std::memory_order_acq_rel) + 1 == chunks_) {
        std::lock_guard lock(mutex_);
        allFinished_.notify_all();
      }
    }
  }

  // Waits until every chunk has finished; returns the first exception, if any.
  std::exception_ptr waitForChunks() {
    const auto finished = [&] { return finished_.load(std::memory_order_acquire) == chunks_; };
    std::unique_lock lock(mutex_, std::defer_lock);
    if (!spinUntil(kWaitSpinTime, finished)) {
      lock.lock();
      allFinished_.wait(lock, finished);
    } else {
      lock.lock();  // error_ is read under the lock it was written with
    }
    return error_;
  }

  void release() {
    if (references_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }

 private:
  const std::size_t count_;
  const std::size_t chunks_;
  const ChunkBody body_;
  void* const context_;
  std::atomic<int> references_;  // the caller and each helper posted
  alignas(64) std::atomic<std::size_t> next_{0};
  alignas(64) std::atomic<std::size_t> finished_{0};
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::condition_variable allFinished_;
  std::exception_ptr error_;
};

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

std::shared_ptr<QueueCore> QueueCore::make(std::string label, bool concurrent, bool isMain, std::size_t level,
                                           bool processWide) {
  auto core = std::make_shared<QueueCore>(std::move(label), concurrent, isMain, level, processWide);
  auto& registry = queueRegistry();
  std::lock_guard lock(registry.mutex);
  std::erase_if(registry.queues, [](const std::weak_ptr<QueueCore>& q) { return q.expired(); });
  registry.queues.push_back(core);
  return core;
}

void QueueCore::discardPending() {
  std::vector<Block> dropped;  // released after the lock: their captures may submit work
  std::lock_guard lock(lock_);
  dropped.swap(pending_);
  head_ = 0;
  queued_.store(0, std::memory_order_relaxed);
  drainers_ = 0;
}

std::size_t QueueCore::width() const { return concurrent_ ? poolWidth() : 1; }

std::shared_ptr<QueueCore> QueueCore::handle() {
  // A process-wide queue is never released: a handle that shares no ownership points at
  // it without touching a count that every worker would contend for.
  return processWide_ ? std::shared_ptr<QueueCore>(std::shared_ptr<void>(), this) : shared_from_this();
}

void QueueCore::postDrain() {
  if (gManual.load()) {
    postToManualLine([self = shared_from_this()] { self->drain(); });
  } else if (isMain_) {
    postToMainThread([this] { drain(); });  // the main queue lives for the whole process
  } else {
    submitToPool(level_, Job{Block(), handle()});
  }
}

void QueueCore::enqueue(Block block) {
  if (concurrent_ && !gManual.load(std::memory_order_relaxed)) {
    submitToPool(level_, Job{std::move(block), handle()});
    return;
  }
  bool startDrain = false;
  {
    std::lock_guard lock(lock_);
    pending_.push_back(std::move(block));
    queued_.store(pending_.size() - head_, std::memory_order_relaxed);
    if (drainers_ < width()) {
      ++drainers_;
      startDrain = true;
    }
  }
  if (startDrain) postDrain();
}

bool QueueCore::tryEnterInline() {
  std::lock_guard lock(lock_);
  if (drainers_ != 0 || head_ != pending_.size()) return false;
  drainers_ = 1;
  return true;
}

void QueueCore::leaveInline() {
  bool more = false;
  {
    std::lock_guard lock(lock_);
    more = head_ != pending_.size();
    if (!more && drainers_ > 0) --drainers_;  // discardPending() may have counted it out already
  }
  if (more) postDrain();  // the slot passes to the drain of what came in meanwhile
}

void QueueCore::takeLocked(std::vector<Block>& batch, bool one) {
  if (one) {
    batch.push_back(std::move(pending_[head_++]));
  } else if (head_ == 0) {
    batch.swap(pending_);  // `batch` is empty: its storage goes to the next pushes
  } else {
    batch.insert(batch.end(), std::make_move_iterator(pending_.begin() + static_cast<std::ptrdiff_t>(head_)),
                 std::make_move_iterator(pending_.end()));
    head_ = pending_.size();
  }
  if (head_ == pending_.size()) {
    pending_.clear();
    head_ = 0;
  }
  queued_.store(pending_.size() - head_, std::memory_order_relaxed);
}

void QueueCore::drain() {
  const bool manual = gManual.load();
  const bool onPool = !manual && !isMain_;
  std::vector<Block> batch;
  std::vector<Block> oversized;  // freed after the lock
  {
    std::lock_guard lock(lock_);
    batch.swap(spare_);
  }
  std::size_t ran = 0;
  for (;;) {
    if (onPool) {
      // A burst of blocks usually goes on: wait for the next one a moment (without the
      // lock, which the submitter needs) rather than leaving and being posted again.
      for (int i = 0; i < kDrainLingerPauses && queued_.load(std::memory_order_relaxed) == 0; ++i) cpuRelax();
    }
    bool handOver = false;
    {
      std::lock_guard lock(lock_);
      const bool empty = head_ == pending_.size();
      if (empty || (onPool && ran >= kDrainQuantum)) {
        handOver = !empty;  // keeps its place among the drainers for the fresh drain
        if (!handOver && drainers_ > 0) --drainers_;  // discardPending() may have counted it out already
        if (spare_.capacity() < batch.capacity() && batch.capacity() <= kKeptSlots) spare_.swap(batch);
        if (empty && pending_.capacity() > kKeptSlots) oversized.swap(pending_);
        if (!handOver) return;
      } else {
        takeLocked(batch, manual);
      }
    }
    if (handOver) {
      postDrain();
      return;
    }
    std::size_t next = 0;
    try {
      for (; next < batch.size(); ++next) {
        runAsCurrent(this, batch[next]);
        batch[next].reset();  // its captures go before the next block runs
      }
    } catch (...) {
      // Keep the queue usable: the blocks after the one that threw go back to the
      // front, and whatever is pending runs in a fresh drain.
      bool more = false;
      {
        std::lock_guard lock(lock_);
        pending_.insert(pending_.begin() + static_cast<std::ptrdiff_t>(head_),
                        std::make_move_iterator(batch.begin() + static_cast<std::ptrdiff_t>(next) + 1),
                        std::make_move_iterator(batch.end()));
        queued_.store(pending_.size() - head_, std::memory_order_relaxed);
        more = head_ != pending_.size();
        if (!more && drainers_ > 0) --drainers_;
      }
      if (more) postDrain();
      throw;
    }
    ran += batch.size();
    batch.clear();
  }
}

const QueueCore* currentQueue() { return tCurrentQueue; }

CurrentQueueScope::CurrentQueueScope(const QueueCore* queue) : previous_(tCurrentQueue) {
  tCurrentQueue = queue;
  ++tBlocksRun;
}

CurrentQueueScope::~CurrentQueueScope() { tCurrentQueue = previous_; }

void runJob(Job job) {
  if (job.queue == nullptr) {
    job.block();
  } else if (!job.block) {
    job.queue->drain();
  } else {
    runAsCurrent(job.queue.get(), job.block);
  }
}

void syncOn(QueueCore& queue, const std::function<void()>& block) {
  if (queue.isConcurrent()) {
    runAsCurrent(&queue, block);
    return;
  }
  if (!queue.isMain() && queue.tryEnterInline()) {
    const ScopeExit leave([&queue] { queue.leaveInline(); });
    runAsCurrent(&queue, block);
    return;
  }
  struct Handoff {
    std::atomic<bool> finished{false};
    std::mutex mutex;
    std::condition_variable done;
    std::exception_ptr error;
  } handoff;
  queue.enqueue([&handoff, &block] {
    try {
      block();
    } catch (...) {
      handoff.error = std::current_exception();
    }
    std::lock_guard lock(handoff.mutex);
    handoff.finished.store(true, std::memory_order_release);
    handoff.done.notify_one();
  });
  const auto finished = [&] { return handoff.finished.load(std::memory_order_acquire); };
  std::optional<PoolWaitScope> lendPlace;
  if (!spinUntil(kWaitSpinTime, finished)) lendPlace.emplace();
  {
    // Taken even when the spin saw the answer: the block's thread leaves the handoff
    // only when it unlocks.
    std::unique_lock lock(handoff.mutex);
    handoff.done.wait(lock, finished);
  }
  lendPlace.reset();
  if (handoff.error) std::rethrow_exception(handoff.error);
}

TimerId addTimer(std::uint64_t deadline, std::function<void()> fire) {
  auto& heap = timers();
  bool startThread = false;
  TimerId id{deadline, 0};
  {
    std::lock_guard lock(heap.mutex);
    id.sequence = heap.nextSequence++;
    heap.entries.emplace(id, std::move(fire));
    if (!gManual.load() && !heap.threadStarted) heap.threadStarted = startThread = true;
  }
  if (startThread) std::thread(timerThreadLoop).detach();
  heap.wake.notify_all();
  return id;
}

void cancelTimer(TimerId id) {
  auto& heap = timers();
  Task released;  // its captures go after the lock: they may arm or cancel timers
  std::lock_guard lock(heap.mutex);
  const auto entry = heap.entries.find(id);
  if (entry == heap.entries.end()) return;  // fired already, or dropped with manual mode
  released = std::move(entry->second);
  heap.entries.erase(entry);
}

void concurrentPerform(std::size_t count, ChunkBody body, void* context) {
  if (count == 0) return;
  const std::size_t threads = poolWidth() + 1;  // the workers and the caller
  const std::size_t chunks = std::min(count, threads * kChunksPerThread);
  if (gManual.load() || chunks == 1) {
    const std::atomic<bool> stop{false};
    body(context, 0, count, stop);
    return;
  }
  const std::size_t helpers = std::min(threads - 1, chunks - 1);
  auto* job = new PerformJob(count, chunks, body, context, static_cast<int>(helpers) + 1);
  const std::size_t level = tCurrentQueue != nullptr ? tCurrentQueue->level() : kDefaultLevel;
  for (std::size_t i = 0; i < helpers; ++i) {
    submitToPool(level, Job{[job] {
                              job->work();
                              job->release();
                            },
                            nullptr});
  }
  job->work();
  const std::exception_ptr error = job->waitForChunks();
  job->release();
  if (error) std::rethrow_exception(error);
}

std::size_t runMainQueue(std::uint64_t deadline, bool returnAfterWork) {
  KP_PRECONDITION(Thread::isMainThread() || gManual.load(), "the main queue runs on the main thread");
  if (gManual.load()) {
    const std::uint64_t now = clock::uptimeNanoseconds();
    if (deadline > now && deadline != UINT64_MAX) return advance(deadline - now);
    return runPending();
  }
  const std::size_t before = tBlocksRun;
  auto& inbox = mainInbox();
  for (;;) {
    Task task;
    {
      std::unique_lock lock(inbox.mutex);
      for (;;) {
        if (inbox.interrupted) {
          inbox.interrupted = false;
          return tBlocksRun - before;
        }
        if (!inbox.tasks.empty()) break;
        const std::uint64_t now = clock::uptimeNanoseconds();
        if (now >= deadline || (returnAfterWork && tBlocksRun != before)) return tBlocksRun - before;
        inbox.wake.wait_for(lock, std::chrono::nanoseconds(std::min<std::uint64_t>(deadline - now, 3'600'000'000'000ULL)));
      }
      task = std::move(inbox.tasks.front());
      inbox.tasks.pop_front();
    }
    task();
  }
}

void interruptMainQueue() {
  auto& inbox = mainInbox();
  {
    std::lock_guard lock(inbox.mutex);
    inbox.interrupted = true;
  }
  inbox.wake.notify_all();
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
  const std::size_t before = tBlocksRun;
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
  return tBlocksRun - before;
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
      if (!heap.hasDue(target)) break;
      next = heap.entries.begin()->first.deadline;
    }
    const std::uint64_t now = clock::uptimeNanoseconds();
    if (next > now) manual.clock->advanceNanoseconds(next - now);
    ran += runPending();
  }
  const std::uint64_t now = clock::uptimeNanoseconds();
  if (target > now) manual.clock->advanceNanoseconds(target - now);
  return ran + runPending();
}

std::uint64_t nextTimerDeadline() {
  auto& heap = timers();
  std::lock_guard lock(heap.mutex);
  return heap.entries.empty() ? UINT64_MAX : heap.entries.begin()->first.deadline;
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
