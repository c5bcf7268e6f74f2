// A short tour of KPQuaslet, used the way an application would use it.
// Each section prints what it did.
#include <iostream>

#include "KPQuaslet/KPQuaslet.h"
#include "platform/foundation/Describe.h"
#include "platform/foundation/StandardOutput.h"

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

void tourValues() {
  section("Numbers, characters and geometry");
  ios::print("kFormatted(-45678) = " + kp::kFormatted(-45678) + ", kFormatted(25300000) = " +
             kp::kFormatted(25300000));
  ios::print("romanNumeral(1994) = " + kp::romanNumeral(1994).value_or("nil") +
             ", isPrime(97) = " + kp::string(kp::isPrime(97)));
  ios::print("a die roll: " + std::to_string(kp::randomIntBetween(1, 6)));

  const ios::Character sharpS(U'\u00DF');
  ios::print("uppercased(\"\u00DF\") = " + kp::uppercased(sharpS).utf8() + " (of " + sharpS.uppercased() +
             "), isLowercased = " + kp::string(kp::isLowercased(sharpS)) + ", \"-\" * 3 = " +
             ios::Character(U'-') * 3);

  std::optional<std::string> nickname;
  ios::print("nickname: " + kp::describeOr(nickname, [] { return "(none)"; }));

  using namespace kp::literals;
  ios::CGRect frame = kp::with("0,0,100,50"_rect, [](ios::CGRect& r) { kp::setCenter(r, ios::CGPoint(160, 240)); });
  const ios::CGPoint corner = frame.origin + ios::CGSize(10, 10) * 2;
  ios::print("frame " + ios::NSStringFromCGRect(frame) + ", corner " + ios::describe(corner) + ", fit " +
             ios::describe(kp::aspectFit(ios::CGSize(200, 100), ios::CGSize(100, 100))));
}

}  // namespace

int main() {
  ios::print(std::string("KPQuaslet tour (") + kp::KPQuasletVersionString + ")");
  tourLogger();
  tourValues();
  return 0;
}
