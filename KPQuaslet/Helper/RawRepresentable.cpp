#include "KPQuaslet/Helper/RawRepresentable.h"

#include <string>

#include "platform/foundation/Precondition.h"

namespace kp {

void notACase(std::string_view enumName, std::int64_t underlying) {
  ios::fatalError(std::string(enumName) + ": " + std::to_string(underlying) + " is the value of no case");
}

}  // namespace kp
