// The process's C numeric locale switched to one whose decimal point is a comma
// (German), for the life of the object, to show that a reader of numbers does not
// follow it. The locale is compiled with localedef into a temporary folder (the machine
// need not have it installed); available() is false where that cannot be done.
#pragma once

#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>

#include "tests/support/TemporaryDirectory.h"

namespace kp_test {

class CommaDecimalLocale {
 public:
  CommaDecimalLocale() {
    const std::string command = "localedef -i de_DE -f UTF-8 " + folder_.path() + "/de_DE.UTF-8 >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return;
    if (const char* path = std::getenv("LOCPATH")) previousLocalePath_ = path;
    ::setenv("LOCPATH", folder_.path().c_str(), 1);
    pathChanged_ = true;
    previousNumeric_ = std::setlocale(LC_NUMERIC, nullptr);
    available_ = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr &&
                 std::localeconv()->decimal_point == std::string(",");
  }
  ~CommaDecimalLocale() {
    if (!previousNumeric_.empty()) std::setlocale(LC_NUMERIC, previousNumeric_.c_str());
    if (!pathChanged_) return;
    if (previousLocalePath_) {
      ::setenv("LOCPATH", previousLocalePath_->c_str(), 1);
    } else {
      ::unsetenv("LOCPATH");
    }
  }
  CommaDecimalLocale(const CommaDecimalLocale&) = delete;
  CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

  [[nodiscard]] bool available() const { return available_; }

 private:
  TemporaryDirectory folder_;
  std::optional<std::string> previousLocalePath_;
  std::string previousNumeric_;
  bool pathChanged_ = false;
  bool available_ = false;
};

}  // namespace kp_test
