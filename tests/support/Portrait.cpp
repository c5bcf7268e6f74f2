#include "tests/support/Portrait.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace kp_test {

ios::UIImage portrait() {
  const std::string path = std::string(KP_TEST_DATA_DIR) + "/astronaut.png";
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  auto image = ios::UIImage::fromData(bytes);
  if (!image) throw std::runtime_error(path + " is missing or unreadable: run scripts/setup.sh (make test does)");
  return *image;
}

}  // namespace kp_test
