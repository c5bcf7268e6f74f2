// Child processes for tests of what survives a process: a pipe, a forked child that
// never returns into the test framework, and a child that reports each acknowledged
// store through a pipe and is killed after a given number of reports.
//
//   const auto acknowledged = kp_test::runAndKill(40, [](int report) {
//     for (std::uint32_t i = 0;; ++i)
//       if (store(i)) kp_test::acknowledge(report, i);
//   });
//
// Fork only from a test executable of its own (a *_solo_test.cpp), while it has a
// single thread.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <vector>

namespace kp_test {

// A pipe whose ends are closed with the object.
struct Pipe {
  Pipe() {
    if (::pipe(ends) != 0) throw std::runtime_error(std::strerror(errno));
  }
  ~Pipe() {
    closeReading();
    closeWriting();
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  void closeReading() { closeEnd(0); }
  void closeWriting() { closeEnd(1); }
  void closeEnd(int i) {
    if (ends[i] >= 0) ::close(ends[i]);
    ends[i] = -1;
  }
  int ends[2] = {-1, -1};
};

// Runs `body` in a child process that exits with the body's answer, never returning
// into the test framework (nor running its exit handlers).
inline pid_t startChild(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  return pid;
}

// The child's exit status, or -1 when it did not exit normally.
inline int exitStatusOf(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Sends `value` to the parent of runAndKill(); exits the child when the parent is gone.
inline void acknowledge(int report, std::uint32_t value) {
  if (::write(report, &value, sizeof value) != sizeof value) ::_exit(3);
}

// What runAndKill() saw: the acknowledged values in order, and whether the child was
// killed (rather than stopping by itself).
struct KilledRun {
  std::vector<std::uint32_t> acknowledged;
  bool killed = false;
};

// Runs `body(report)` in a child and kills it with SIGKILL as soon as it has sent
// `killAfter` acknowledgements through `report`; answers every acknowledgement read.
inline KilledRun runAndKill(std::uint32_t killAfter, const std::function<void(int report)>& body) {
  Pipe reports;
  const pid_t child = startChild([&] {
    reports.closeReading();
    body(reports.ends[1]);
    return 0;
  });
  if (child < 0) throw std::runtime_error(std::strerror(errno));
  reports.closeWriting();
  KilledRun run;
  std::uint32_t value = 0;
  std::size_t filled = 0;
  for (;;) {
    const ssize_t n = ::read(reports.ends[0], reinterpret_cast<char*>(&value) + filled, sizeof value - filled);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    filled += static_cast<std::size_t>(n);
    if (filled < sizeof value) continue;
    filled = 0;
    run.acknowledged.push_back(value);
    if (run.acknowledged.size() == killAfter) ::kill(child, SIGKILL);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  run.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  return run;
}

// How many kill rounds a crash-safety test runs: fewer under the sanitizers, whose
// processes start slowly, but never fewer than `minimum`.
inline int killRounds(int normal, int minimum) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  const bool sanitized = true;
#else
  const bool sanitized = false;
#endif
  return sanitized || normal < minimum ? minimum : normal;
}

}  // namespace kp_test
