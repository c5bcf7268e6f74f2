// A short tour of KPQuaslet, used the way an application would use it.
// Each section prints what it did.
#include <cstdint>
#include <iostream>
#include <vector>

#include "KPQuaslet/KPQuaslet.h"
#include "platform/foundation/Describe.h"
#include "platform/foundation/StandardOutput.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITouchSimulator.h"
#include "platform/uikit/UIViewSubclasses.h"

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

void tourColours() {
  section("Colours and palettes");
  const ios::UIColor orange = *kp::makeColorHexString("#ff8000");
  ios::print("orange is " + kp::hex(orange) + ", luminosity " + ios::describe(kp::luminosity(orange)) +
             ", contrasting with black: " + ios::describe(kp::isContrasting(orange, ios::UIColor::black())));
  ios::print("strict parser given \"#12\": " + kp::makeColor("#12").description());

  // A 60 x 40 picture: navy background, a yellow band and a little cyan.
  std::vector<std::uint8_t> pixels(60 * 40 * 4);
  for (std::size_t y = 0; y < 40; ++y) {
    for (std::size_t x = 0; x < 60; ++x) {
      std::uint8_t* p = &pixels[(y * 60 + x) * 4];  // B, G, R, A
      const bool band = y >= 15 && y < 25, dot = x >= 50 && y < 6;
      p[0] = band ? 0 : (dot ? 255 : 128);
      p[1] = band || dot ? 255 : 0;
      p[2] = band ? 255 : 0;
      p[3] = 255;
    }
  }
  const ios::UIImage picture(ios::CGImage::make(60, 40, 8, 32, 240, ios::CGColorSpaceCreateDeviceRGB(),
                                                ios::kCGImageAlphaPremultipliedFirst | ios::kCGBitmapByteOrder32Little,
                                                std::move(pixels)));
  const kp::KPImageColors palette = kp::getColors(picture, kp::KPImageColorsQuality::low);
  ios::print("getColors(.low): background " + kp::hex(*palette.background) + ", primary " + kp::hex(*palette.primary) +
             ", secondary " + kp::hex(*palette.secondary) + ", detail " + kp::hex(*palette.detail));
  const kp::EdgeColors edge = kp::colors(picture, std::nullopt);
  ios::print("colors(scaleDownSize: nil): background " + kp::hex(edge.background) + ", primary " +
             kp::hex(edge.primary));
}

void tourCollections() {
  section("Collections");
  // Settings from two sources: the user's choices win over the defaults.
  const std::unordered_map<std::string, int> defaults{{"volume", 5}, {"speed", 1}};
  const std::unordered_map<std::string, int> chosen{{"volume", 8}};
  const auto settings = kp::mergeWith(defaults, chosen);
  ios::print("settings as JSON: " + kp::jsonString(settings, false).value_or("(none)"));

  // A play list in the order the user arranged it.
  kp::OrderedDictionary<std::string, int> playlist;
  playlist.set("intro", 95);
  playlist.set("verse", 180);
  playlist.set("outro", 60);
  playlist.insert(200, "chorus", 2);
  ios::print("play list: " + ios::describe(playlist));

  struct Track {
    std::string title;
    int seconds;
  };
  const std::vector<Track> tracks{{"b-side", 200}, {"single", 180}, {"remix", 240}, {"edit", 180}};
  std::vector<std::string> longestFirst;
  for (const Track& t : kp::sorted(tracks, &Track::seconds, /*ascending=*/false)) longestFirst.push_back(t.title);
  ios::print("longest first: " + ios::describe(longestFirst));

  const std::vector<int> scores{3, 1, 3, 2, 1, 5};
  ios::print("unique scores: " + ios::describe(kp::unique(scores)) +
             ", in pages of 4: " + ios::describe(kp::group(scores, 4)) +
             ", average: " + ios::describe(kp::average(scores)));
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

void tourViews() {
  section("Views, layout and gestures");
  auto window = ios::UIWindow::make(ios::UIScreen::main().bounds());
  auto icon = ios::UIView::make();
  auto title = ios::UILabel::make();
  window->addSubview(icon);
  window->addSubview(title);
  kp::addConstraints(*window, "H:|-[v0(44)]-[v1]-|", {icon, title});
  kp::addConstraints(*window, "V:|-40-[v0(44)]", {icon});
  kp::addConstraints(*window, "V:|-40-[v0(44)]", {title});
  window->layoutIfNeeded();
  ios::print("icon " + ios::NSStringFromCGRect(icon->frame()) + ", title " + ios::NSStringFromCGRect(title->frame()));

  icon->setBackgroundColor(ios::UIColor::orange());
  kp::setCornerRadius(*icon, 8);
  kp::setShadow(*icon, kp::Shadow::Dark());
  int taps = 0;
  kp::addTapGesture(*title, 2, [&taps](ios::UITapGestureRecognizer&) { ++taps; });
  ios::testing::TouchSimulator::tap(*title, 2);
  const ios::UIImage shot = kp::screenshot(*icon);
  ios::print("double taps on the title: " + std::to_string(taps) + ", icon screenshot " +
             ios::describe(shot.size().width) + " x " + ios::describe(shot.size().height) + " pt at scale " +
             ios::describe(shot.scale()) + ", shadow " + kp::shadow(*icon).debugDescription());
}

}  // namespace

int main() {
  ios::print(std::string("KPQuaslet tour (") + kp::KPQuasletVersionString + ")");
  tourLogger();
  tourCoordinates();
  tourRuntimeHooks();
  tourColours();
  tourCollections();
  tourValues();
  tourViews();
  return 0;
}
