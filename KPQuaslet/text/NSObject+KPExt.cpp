#include "KPQuaslet/text/NSObject+KPExt.h"

#include "platform/runtime/Runtime.h"

namespace kp {

std::string stringFrom(ios::Class cls) {
  const std::string name = ios::NSStringFromClass(cls);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(dot + 1);
}

std::string className(const ios::NSObject& object) { return stringFrom(object.getClass()); }

}  // namespace kp
