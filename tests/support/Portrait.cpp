#include "tests/support/Portrait.h"

#include <stdexcept>
#include <string>

namespace kp_test {

ios::UIImage portrait() {
  const std::string path = std::string(KP_TEST_DATA_DIR) + "/astronaut.png";
  auto image = ios::UIImage::fromFile(path);
  if (!image) throw std::runtime_error(path + " is missing or unreadable: run scripts/setup.sh (make test does)");
  return *image;
}

}  // namespace kp_test
