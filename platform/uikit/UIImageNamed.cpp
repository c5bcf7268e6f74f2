#include "platform/uikit/UIImageNamed.h"

#include <map>
#include <mutex>

namespace ios {
namespace {

struct NamedImages {
  std::mutex mutex;
  std::map<std::string, UIImage> images;
};

NamedImages& named() {
  static auto* images = new NamedImages;
  return *images;
}

}  // namespace

std::optional<UIImage> imageNamed(const std::string& name) {
  std::lock_guard lock(named().mutex);
  auto it = named().images.find(name);
  if (it == named().images.end()) return std::nullopt;
  return it->second;
}

namespace testing {

void registerNamedImage(const std::string& name, UIImage image) {
  std::lock_guard lock(named().mutex);
  named().images[name] = std::move(image);
}

void resetNamedImages() {
  std::lock_guard lock(named().mutex);
  named().images.clear();
}

}  // namespace testing
}  // namespace ios
