// Calls a few KPQuaslet operations the way an application would, and checks what they
// answer: the program exits with 1 and names each wrong answer, or prints "consumer: ok".
// Built against an installed KPQuaslet (CMake package or pkg-config), or with the source
// tree added to the build.
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "KPQuaslet/KPQuaslet.h"
#include "platform/Platform.h"

namespace {

int failures = 0;

void expect(const char* what, const std::string& actual, const std::string& expected) {
  if (actual == expected) return;
  std::printf("consumer: %s is \"%s\", expected \"%s\"\n", what, actual.c_str(), expected.c_str());
  ++failures;
}

std::string text(bool value) { return value ? "true" : "false"; }

}  // namespace

int main() {
  expect("the version number", std::to_string(kp::KPQuasletVersionNumber), std::to_string(5.3));

  // Values and text: the framework alone.
  expect("romanNumeral(1994)", kp::romanNumeral(1994).value_or("nil"), "MCMXCIV");
  expect("isPrime(97), isPrime(91)", text(kp::isPrime(97)) + ", " + text(kp::isPrime(91)), "true, false");
  expect("base64(\"KPQuaslet\")", kp::base64("KPQuaslet"), "S1BRdWFzbGV0");
  const std::unordered_map<std::string, int> defaults{{"volume", 5}, {"speed", 1}};
  const std::unordered_map<std::string, int> chosen{{"volume", 8}};
  expect("the merged settings as JSON", kp::jsonString(kp::mergeWith(defaults, chosen), false).value_or("(none)"),
         R"({"speed":1,"volume":8})");

  // Dates through ICU, colours and images through cairo and libpng, inside the platform layer.
  expect("an ISO 8601 date read and written back",
         kp::iso8601String(kp::dateWithISO08601String("2020-06-17T09:07:40Z")), "2020-06-17T09:07:40.000Z");
  expect("the hex form of #FF8000", kp::hex(*kp::makeColorHexString("#FF8000")), "#ff8000");
  const ios::UIImage swatch = kp::makeImage(ios::UIColor::green(), {8, 6});
  expect("the colour inside a green swatch", kp::hex(kp::color(swatch, {4, 3})), "#00ff00");
  const auto png = ios::UIImagePNGRepresentation(swatch);
  const auto decoded = png ? ios::UIImage::fromData(*png) : std::nullopt;
  expect("the swatch's size after a PNG round trip",
         decoded ? std::to_string(decoded->cgImage()->width()) + " x " + std::to_string(decoded->cgImage()->height())
                 : "(not decoded)",
         std::to_string(swatch.cgImage()->width()) + " x " + std::to_string(swatch.cgImage()->height()));

  // The stand-in's own calls, through its umbrella header.
  bool ranOnMain = false;
  ios::DispatchQueue::main().async([&] { ranOnMain = true; });
  ios::RunLoop::main().run(ios::Date::now().addingTimeInterval(0.05));
  expect("a block given to the main queue ran in the run loop", text(ranOnMain), "true");
  expect("the main screen's size", ios::describe(ios::UIScreen::main().bounds().size.width) + " x " +
                                       ios::describe(ios::UIScreen::main().bounds().size.height), "375.0 x 667.0");

  if (failures != 0) return 1;
  std::printf("consumer: ok\n");
  return 0;
}
