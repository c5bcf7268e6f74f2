#include "platform/foundation/Precondition.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace ios {

[[noreturn]] void fatalError(std::string_view message) {
  std::string text = "Fatal error: ";
  text.append(message);
  text.push_back('\n');
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
  std::abort();
}

[[noreturn]] void preconditionFailure(std::string_view message, const char* file, int line) {
  std::string text = "Precondition failed: ";
  text.append(message);
  text += " (";
  text += file;
  text += ':';
  text += std::to_string(line);
  text += ")\n";
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
  std::abort();
}

}  // namespace ios
