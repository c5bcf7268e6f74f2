#include "platform/runtime/Synchronization.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace ios {
namespace {

struct Monitor {
  std::mutex lock;
  std::condition_variable released;
  std::thread::id owner;  // guarded by `lock`
  int depth = 0;          // guarded by `lock`
  int users = 0;          // threads holding or waiting; guarded by the table's lock
};

struct MonitorTable {
  std::mutex lock;
  std::unordered_map<const void*, std::unique_ptr<Monitor>> monitors;
};

MonitorTable& monitorTable() {
  static auto* instance = new MonitorTable;  // monitors may be used during exit
  return *instance;
}

}  // namespace

int objc_sync_enter(const NSObject* object) {
  if (object == nullptr) return OBJC_SYNC_SUCCESS;
  auto& table = monitorTable();
  Monitor* monitor = nullptr;
  {
    std::lock_guard lock(table.lock);
    auto& slot = table.monitors[object];
    if (slot == nullptr) slot = std::make_unique<Monitor>();
    monitor = slot.get();
    ++monitor->users;  // keeps the record while this thread waits or holds it
  }
  const auto self = std::this_thread::get_id();
  std::unique_lock lock(monitor->lock);
  if (monitor->depth > 0 && monitor->owner == self) {
    ++monitor->depth;
    return OBJC_SYNC_SUCCESS;
  }
  monitor->released.wait(lock, [&] { return monitor->depth == 0; });
  monitor->owner = self;
  monitor->depth = 1;
  return OBJC_SYNC_SUCCESS;
}

int objc_sync_exit(const NSObject* object) {
  if (object == nullptr) return OBJC_SYNC_SUCCESS;
  auto& table = monitorTable();
  std::lock_guard tableLock(table.lock);
  auto it = table.monitors.find(object);
  if (it == table.monitors.end()) return OBJC_SYNC_NOT_OWNING_THREAD_ERROR;
  Monitor& monitor = *it->second;
  {
    std::lock_guard lock(monitor.lock);
    if (monitor.depth == 0 || monitor.owner != std::this_thread::get_id()) return OBJC_SYNC_NOT_OWNING_THREAD_ERROR;
    if (--monitor.depth == 0) {
      monitor.owner = std::thread::id();
      monitor.released.notify_one();
    }
  }
  if (--monitor.users == 0) table.monitors.erase(it);
  return OBJC_SYNC_SUCCESS;
}

}  // namespace ios
