#include "platform/foundation/StandardOutput.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace ios {
namespace {

std::mutex& writerMutex() {
  static std::mutex m;
  return m;
}

// The current writer; empty means the real standard output.
std::function<void(std::string_view)>& writer() {
  static std::function<void(std::string_view)> w;
  return w;
}

}  // namespace

void print(std::string_view text, std::string_view terminator) {
  std::string line;
  line.reserve(text.size() + terminator.size());
  line.append(text);
  line.append(terminator);
  std::lock_guard lock(writerMutex());
  if (writer()) {
    writer()(line);
    return;
  }
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

namespace testing {

struct CapturedOutput::State {
  mutable std::mutex mutex;
  std::string text;
};

CapturedOutput::CapturedOutput() : state_(new State) {
  std::lock_guard lock(writerMutex());
  previous_ = std::exchange(writer(), [state = state_](std::string_view text) {
    std::lock_guard inner(state->mutex);
    state->text.append(text);
  });
}

CapturedOutput::~CapturedOutput() {
  {
    std::lock_guard lock(writerMutex());
    writer() = std::move(previous_);
  }
  delete state_;
}

std::string CapturedOutput::text() const {
  std::lock_guard lock(state_->mutex);
  return state_->text;
}

void CapturedOutput::clear() {
  std::lock_guard lock(state_->mutex);
  state_->text.clear();
}

}  // namespace testing
}  // namespace ios
