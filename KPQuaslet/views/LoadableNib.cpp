#include "KPQuaslet/views/LoadableNib.h"

#include <cstdio>

#include "platform/foundation/Precondition.h"
#include "platform/runtime/Runtime.h"

namespace kp {
namespace kp_internal {

void missingNib(const ios::UINib& nib) {
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<const void*>(&nib));
  ios::fatalError("Nib <" + std::string(ios::class_getName(nib.getClass())) + ": " + address + "> is not exist ?!");
}

void cannotLoadNib(const std::string& name) { ios::fatalError("Cannot loadNibNamed " + name); }

void wrongController(const std::string& identifier) {
  ios::fatalError("The storyboard holds no controller of the expected class under identifier " + identifier);
}

}  // namespace kp_internal

std::shared_ptr<ios::UIStoryboard> mainStoryboard() {
  ios::PropertyList name = ios::Bundle::main().object("UIMainStoryboardFile");
  const std::string* text = name.stringValue();
  if (text == nullptr) return nullptr;
  return ios::UIStoryboard::make(std::string_view(*text), static_cast<const ios::Bundle*>(nullptr));
}

}  // namespace kp
