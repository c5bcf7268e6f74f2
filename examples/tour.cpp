// A short tour of KPQuaslet, used the way an application would use it.
// Each section prints what it did.
#include <iostream>

#include "KPQuaslet/KPQuaslet.h"
#include "platform/foundation/Describe.h"
#include "platform/foundation/StandardOutput.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/UIApplication.h"

namespace {

void section(const char* title) { ios::print(std::string("\n== ") + title); }

void tourLogger() {
  section("Logger");
  using kp::KP;
  for (auto level : {KP::logLevel::info, KP::logLevel::debug, KP::logLevel::warn, KP::logLevel::error,
                     KP::logLevel::fatal, KP::logLevel::none}) {
    KP::print("a message at level " + ios::describe(level), level, __FILE__, __LINE__, __func__);
  }
  KP::setMinimumLogLevel(KP::logLevel::error);
  KP::print("this warning is below the minimum level and is dropped", KP::logLevel::warn, __FILE__, __LINE__,
            __func__);
  KP::print(std::vector<double>{1.0, 0.1, 1e-5}, KP::logLevel::error, __FILE__, __LINE__, __func__);
  KP::setMinimumLogLevel(KP::logLevel::info);
  KP{}.TODO("the tour is still growing");
}

void tourCoordinates() {
  section("Coordinate transforms");
  using kp::LocationTransform;
  const auto gcj = LocationTransform::wgs2gcj(39.908, 116.397);
  const auto bd = LocationTransform::gcj2bd(gcj.gcjLat, gcj.gcjLng);
  const auto back = LocationTransform::gcj2wgs_exact(gcj.gcjLat, gcj.gcjLng);
  ios::print("Tiananmen WGS-84 (39.908, 116.397) -> GCJ-02 (" + ios::describe(gcj.gcjLat) + ", " +
             ios::describe(gcj.gcjLng) + ") -> BD-09 (" + ios::describe(bd.bdLat) + ", " + ios::describe(bd.bdLng) +
             ")");
  ios::print("and back to WGS-84: (" + ios::describe(back.wgsLat) + ", " + ios::describe(back.wgsLng) + ")");
  ios::print("Beijing to Shanghai: " +
             ios::describe(LocationTransform::Distance(39.908, 116.397, 31.2304, 121.4737) / 1000) + " km, bearing " +
             ios::describe(kp::bearing(ios::CLLocation(39.908, 116.397), ios::CLLocation(31.2304, 121.4737))) +
             " degrees");
}

void tourRuntimeHooks() {
  section("Runtime hooks");
  using ios::sel_registerName;
  // A class made at run time, with a method and a replacement for it.
  ios::Class greeter = ios::objc_allocateClassPair(ios::NSObject::classObject(), "TourGreeter");
  ios::class_addMethod(greeter, sel_registerName("greet"),
                       ios::imp([](ios::NSObject&, ios::SEL) { return std::string("hello"); }));
  ios::class_addMethod(greeter, sel_registerName("kp_greet"),
                       ios::imp([](ios::NSObject&, ios::SEL) { return std::string("hello, swizzled"); }));
  ios::objc_registerClassPair(greeter);
  ios::id object = ios::class_createInstance(greeter);

  // Classes adopting SelfAware run their start-up hook before the application's first
  // next-responder answer.
  kp::SelfAware::adopt(greeter, ios::imp([](ios::objc_class& cls, ios::SEL) {
    ios::print("start-up hook of " + ios::NSStringFromClass(&cls));
  }));
  ios::UIApplication::shared()->nextResponder();

  kp::Swizzler::swizzleSelector(sel_registerName("greet"), sel_registerName("kp_greet"), greeter, "tour",
                                [](ios::id, ios::SEL, ios::id, ios::id) {});
  ios::print("greet: " + ios::send<std::string>(object, sel_registerName("greet")));
  ios::print(kp::Swizzler::getSwizzle(ios::class_getInstanceMethod(greeter, sel_registerName("greet")))->description());
  kp::Swizzler::unswizzleSelector(sel_registerName("greet"), greeter, "tour");
  ios::print("greet: " + ios::send<std::string>(object, sel_registerName("greet")));
}

}  // namespace

int main() {
  ios::print(std::string("KPQuaslet tour (") + kp::KPQuasletVersionString + ")");
  tourLogger();
  tourCoordinates();
  tourRuntimeHooks();
  return 0;
}
