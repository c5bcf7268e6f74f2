// File: platform/foundation/ProcessInfo.h
//
// The running process's name and identifier.
//
//   ios::ProcessInfo::processInfo().processName();        // "tour"
//   ios::ProcessInfo::processInfo().processIdentifier();  // 4711
//
// Fidelity: keeps name and identifier; the name is the executable's file name, in full
// (not the kernel's 15-character command name). Arguments, environment and the rest of
// the platform's members are absent. A test may substitute both values
// (ios::testing::ScopedProcessIdentity).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ios {

class ProcessInfo {
 public:
  // The shared object describing this process.
  static ProcessInfo& processInfo();

  // The executable's file name.
  [[nodiscard]] std::string processName() const;
  // The process identifier.
  [[nodiscard]] std::int32_t processIdentifier() const;

 private:
  ProcessInfo() = default;
};

namespace testing {

// ScopedProcessIdentity
//
// While alive, ProcessInfo answers `name` and `pid` instead of the real values.
class ScopedProcessIdentity {
 public:
  ScopedProcessIdentity(std::string name, std::int32_t pid);
  ~ScopedProcessIdentity();
  ScopedProcessIdentity(const ScopedProcessIdentity&) = delete;
  ScopedProcessIdentity& operator=(const ScopedProcessIdentity&) = delete;

 private:
  std::optional<std::pair<std::string, std::int32_t>> previous_;
};

// Forgets any substituted identity.
void resetProcessIdentity();

}  // namespace testing
}  // namespace ios
