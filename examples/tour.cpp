// A short tour of KPQuaslet, used the way an application would use it.
// Each section prints what it did; the pictures it draws are also saved as PNG files
// (drawn and encoded by the library itself), in a folder named at the end.
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "KPQuaslet/KPQuaslet.h"
#include "platform/foundation/Describe.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/foundation/ScopeExit.h"
#include "platform/foundation/StandardOutput.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIToolbar.h"
#include "platform/uikit/UITouchSimulator.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace {

void section(const char* title) { ios::print(std::string("\n== ") + title); }

std::string pixelSize(const ios::UIImage& image) {
  if (!image.cgImage()) return "empty";
  return std::to_string(image.cgImage()->width()) + " x " + std::to_string(image.cgImage()->height()) + " pixels";
}

// The folder the tour's pictures go to, as PNG files.
class Pictures {
 public:
  explicit Pictures(std::filesystem::path folder) : folder_(std::move(folder)) {
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
  }

  // Saves `picture` as <name>.png, encoded by UIImagePNGRepresentation.
  void save(const std::string& name, const ios::UIImage& picture) {
    const std::filesystem::path path = folder_ / (name + ".png");
    const std::optional<std::vector<std::uint8_t>> png = ios::UIImagePNGRepresentation(picture);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (png) file.write(reinterpret_cast<const char*>(png->data()), static_cast<std::streamsize>(png->size()));
    file.close();
    if (!png || !file) return ios::print("could not save " + path.string());
    ++saved_;
    ios::print("picture " + path.filename().string() + ": " + pixelSize(picture));
  }

  [[nodiscard]] int saved() const { return saved_; }
  [[nodiscard]] const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
  int saved_ = 0;
};

// A white picture of `size` points at one pixel a point, on which `draw` paints in UIKit
// coordinates (origin at the top-left corner, y down).
template <typename Draw>
ios::UIImage canvas(ios::CGSize size, Draw&& draw) {
  ios::UIGraphicsBeginImageContextWithOptions(size, true, 1);
  ios::ScopeExit endContext([]() noexcept { ios::UIGraphicsEndImageContext(); });
  ios::UIColor::white().setFill();
  ios::UIRectFill(ios::CGRect(0, 0, size.width, size.height));
  draw();
  return ios::UIGraphicsGetImageFromCurrentImageContext().value_or(ios::UIImage());
}

void fill(const ios::UIColor& colour, ios::CGRect rect) {
  colour.setFill();
  ios::UIRectFill(rect);
}

// Dark grey squares, against which transparent pixels show as such.
void checkerboard(ios::CGRect rect, ios::CGFloat cell) {
  fill(ios::UIColor::colorWithWhite(0.3, 1), rect);
  for (ios::CGFloat y = 0; y < rect.size.height; y += cell) {
    for (ios::CGFloat x = 0; x < rect.size.width; x += cell) {
      if (static_cast<int>(x / cell + y / cell) % 2 == 0) continue;
      fill(ios::UIColor::colorWithWhite(0.45, 1),
           ios::CGRect(rect.origin.x + x, rect.origin.y + y, std::min(cell, rect.size.width - x),
                       std::min(cell, rect.size.height - y)));
    }
  }
}

// `picture` shown at `shown` points, with one column of colour swatches beside it for
// each of `palettes`.
ios::UIImage withSwatches(const ios::UIImage& picture, ios::CGSize shown,
                          const std::vector<std::vector<ios::UIColor>>& palettes) {
  constexpr ios::CGFloat margin = 12, gap = 6;
  std::size_t rows = 1;
  for (const auto& palette : palettes) rows = std::max(rows, palette.size());
  const ios::CGFloat swatch = std::min<ios::CGFloat>(56, (shown.height - gap * static_cast<double>(rows - 1)) /
                                                             static_cast<double>(rows));
  const ios::CGFloat columns = static_cast<double>(palettes.size());
  const ios::CGSize size(margin + shown.width + margin + columns * (swatch + gap) - gap + margin,
                         margin + shown.height + margin);
  return canvas(size, [&] {
    picture.draw(ios::CGRect(margin, margin, shown.width, shown.height));
    for (std::size_t c = 0; c < palettes.size(); ++c) {
      for (std::size_t r = 0; r < palettes[c].size(); ++r) {
        const ios::CGRect cell(margin + shown.width + margin + static_cast<double>(c) * (swatch + gap),
                               margin + static_cast<double>(r) * (swatch + gap), swatch, swatch);
        fill(ios::UIColor::colorWithWhite(0.6, 1), cell);  // a thin frame, so that white swatches show
        fill(palettes[c][r], ios::CGRect(cell.origin.x + 1, cell.origin.y + 1, swatch - 2, swatch - 2));
      }
    }
  });
}

std::vector<ios::UIColor> swatches(const kp::KPImageColors& palette) {
  std::vector<ios::UIColor> colours;
  for (const auto& colour : {palette.background, palette.primary, palette.secondary, palette.detail}) {
    if (colour) colours.push_back(*colour);
  }
  return colours;
}

std::vector<ios::UIColor> swatches(const kp::EdgeColors& palette) {
  return {palette.background, palette.primary, palette.secondary, palette.detail};
}

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

void tourColours(Pictures& pictures, const std::optional<ios::UIImage>& portrait) {
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
  // Each palette as a column of swatches (background, primary, secondary, detail) beside
  // its picture: getColors' on the left, the edge-colour extractor's on the right.
  pictures.save("palette-drawn-picture", withSwatches(picture, {240, 160}, {swatches(palette), swatches(edge)}));
  if (!portrait) return;
  const kp::KPImageColors portraitPalette = kp::getColors(*portrait, kp::KPImageColorsQuality::high);
  const kp::EdgeColors portraitEdges = kp::colors(*portrait, std::nullopt);
  ios::print("the portrait's getColors(.high): background " + kp::hex(*portraitPalette.background) + ", primary " +
             kp::hex(*portraitPalette.primary) + ", secondary " + kp::hex(*portraitPalette.secondary) + ", detail " +
             kp::hex(*portraitPalette.detail) + "; its edge colours: background " + kp::hex(portraitEdges.background) +
             ", primary " + kp::hex(portraitEdges.primary));
  pictures.save("palette-portrait",
                withSwatches(*portrait, {256, 256}, {swatches(portraitPalette), swatches(portraitEdges)}));
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

void tourDates() {
  section("Dates");
  // A meeting request arrives as ISO 8601 text; the app shows it in the user's zone.
  const ios::Date meeting = kp::dateWithISO08601String("2020-06-17T09:07:40Z");
  ios::print("meeting " + kp::iso8601String(meeting) + " is " + kp::convertToString(meeting) + " in " +
             kp::timeZone(meeting).identifier());
  ios::print("rounded to the quarter hour: " + kp::convertToString(kp::nearestQuarterHour(meeting)) +
             ", quarter " + std::to_string(kp::quarter(meeting)));
  ios::print("its week (Monday first): " + kp::convertToString(kp::startOfWeek(meeting, 2)) + " to " +
             kp::convertToString(kp::endOfWeek(meeting, 2)));
  ios::print("its month ends " + kp::convertToString(*kp::end(meeting, ios::Calendar::Component::month)));
  const ios::Date sent = meeting - (86400 + 5 * 3600);
  ios::print("seen from the meeting, the request was sent " + kp::timeAgoSince(sent, meeting, false) + " (" +
             kp::timeAgoSince(sent, meeting, true) + ")");
  ios::print("weekday of 2020-03-01: " + std::to_string(kp::getWeekDay(2020, 3, 1)) + " (1 is Sunday)");
}

void tourLinks() {
  section("Links and styled text");
  // A search link gains the user's filters, and a share link loses its path.
  ios::URL search = *ios::URL::fromString("https://shop.example/search?q=tea");
  kp::appendQueryParameters(search, {{"sort", "price"}, {"brand", "Tom & Jerry"}});
  ios::print("search link: " + search.absoluteString() + ", brand " + kp::queryValue(search, "brand").value_or("-"));
  ios::print("site root: " + kp::deletingAllPathComponents(*ios::URL::fromString("https://shop.example/a/b")).absoluteString());
  const ios::NSAttributedString title = kp::underline(kp::bold(ios::NSAttributedString("Grüße")));
  ios::print("styled title of " + std::to_string(title.length()) + " UTF-16 units, bold and underlined");
  ios::print("days in February 2024: " +
             std::to_string(kp::numberOfDaysInMonth(ios::Calendar::current(),
                                                    ios::Date::fromTimeIntervalSince1970(1707998400))));
}

void tourImages(Pictures& pictures, const std::optional<ios::UIImage>& portrait) {
  section("Images");
  // A 40 x 30 point banner drawn as a gradient, then a photo-sized thumbnail of it.
  const auto banner = *kp::makeImage({40, 30}, kp::KPImageGradientDirection::toRight(),
                                     {ios::UIColor::red(), ios::UIColor::blue()});
  ios::print("gradient banner: " + ios::describe(banner.size().width) + " x " + ios::describe(banner.size().height) +
             " at scale " + ios::describe(banner.scale()) + ", left edge " + kp::hex(kp::color(banner, {0, 10})) +
             ", right edge " + kp::hex(kp::color(banner, {banner.size().width - 1, 10})));
  const ios::UIImage thumb = kp::resizeTo(banner, {20, 20});
  ios::print("resized to fit 20 x 20: " + ios::describe(thumb.cgImage()->width()) + " x " +
             ios::describe(thumb.cgImage()->height()) + " pixels, average " + kp::hex(*kp::averageColor(thumb)));
  const std::vector<std::uint8_t> upload = kp::dataWithCompressTo(banner, 1000);
  ios::print("JPEG under 1000 bytes: " + ios::describe(upload.size()) + " bytes (best quality: " +
             ios::describe(kp::bytesSize(banner)) + ")");
  const ios::UIImage avatar = kp::kp_drawRectWithRoundedCorner(kp::makeImage(ios::UIColor::green(), {10, 10}), 8, {16, 16});
  ios::print("rounded avatar: corner alpha " + ios::describe(kp::alpha(kp::color(kp::decodedWith(avatar, 1), {0, 0}))) +
             ", middle " + kp::hex(kp::color(kp::decodedWith(avatar, 1), {16, 16})));
  // A card with a bordered rounded background behind its content, and a header fade.
  auto card = ios::UIView::make(ios::CGRect(0, 0, 120, 48));
  card->addSubview(ios::UILabel::make(ios::CGRect(8, 8, 104, 32)));
  kp::kp_addCorner(*card, 10, 2, ios::UIColor::white(), ios::UIColor::gray());
  const auto& cardImage = *std::dynamic_pointer_cast<ios::UIImageView>(card->subviews()[0])->image();
  ios::print("card corners: " + ios::describe(card->subviews().size()) + " subviews, background image " +
             ios::describe(cardImage.size().width) + " x " + ios::describe(cardImage.size().height) + " points");
  auto fade = kp::gradient({ios::UIColor::orange(), ios::UIColor::purple()},
                           [](std::shared_ptr<ios::CAGradientLayer>& layer) {
                             layer->setFrame(ios::CGRect(0, 0, 120, 8));
                             return layer;
                           });
  ios::print("header fade: " + ios::describe(fade->colors().size()) + " colours over " +
             ios::describe(fade->frame().size.width) + " points");

  // Gradients in four directions, one under the other, on a checkerboard: an angled
  // gradient paints nothing beyond its two ends.
  const std::vector<std::pair<kp::KPImageGradientDirection, std::vector<ios::UIColor>>> gradients{
      {kp::KPImageGradientDirection::toRight(), {ios::UIColor::red(), ios::UIColor::blue()}},
      {kp::KPImageGradientDirection::toBottom(), {ios::UIColor::orange(), ios::UIColor::purple()}},
      {kp::KPImageGradientDirection::toBottomRight(),
       {ios::UIColor::yellow(), ios::UIColor::magenta(), ios::UIColor::cyan()}},
      {kp::KPImageGradientDirection::degree(45), {ios::UIColor::green(), ios::UIColor::blue()}},
  };
  std::vector<ios::UIImage> strips;
  for (const auto& [direction, colours] : gradients) strips.push_back(*kp::makeImage({240, 60}, direction, colours));
  const ios::CGSize gradientsSize(264, 12 + 72 * static_cast<double>(strips.size()));
  pictures.save("gradients", canvas(gradientsSize, [&] {
                  checkerboard(ios::CGRect({0, 0}, gradientsSize), 8);
                  for (std::size_t i = 0; i < strips.size(); ++i) {
                    strips[i].draw(ios::CGRect(12, 12 + 72 * static_cast<double>(i), 240, 60));
                  }
                }));

  // Avatars from the portrait: a rounded square and a circle, on a checkerboard so that
  // their transparent corners show.
  if (!portrait) return;
  const ios::UIImage face = kp::largestCenteredSquareImage(*portrait);
  const ios::UIImage roundedSquare = kp::kp_drawRectWithRoundedCorner(face, 24, {128, 128});
  const ios::UIImage circle = kp::kp_drawRectWithRoundedCorner(face, 64, {128, 128});
  const ios::UIImage circlePixels = kp::decodedWith(circle, 1);
  ios::print("portrait avatars: " + pixelSize(roundedSquare) + " each; the circle's corner alpha " +
             ios::describe(kp::alpha(kp::color(circlePixels, {0, 0}))) + ", middle alpha " +
             ios::describe(kp::alpha(kp::color(circlePixels, {128, 128}))));
  pictures.save("rounded-avatars", canvas({296, 152}, [&] {
                  checkerboard(ios::CGRect(0, 0, 296, 152), 8);
                  roundedSquare.draw(ios::CGRect(12, 12, 128, 128));
                  circle.draw(ios::CGRect(156, 12, 128, 128));
                }));
}

// An application's typed settings keys.
struct Keys : kp::DefaultsKeys {
  static inline const kp::DefaultsKey<std::int64_t> launches{"launches"};
  static inline const kp::DefaultsKey<std::vector<std::string>> recent{"recentSearches"};
};

void tourStorage() {
  section("Settings, keychain and crash log");
  // The tour keeps its files in a home folder of its own, so that it leaves nothing
  // behind in the user's.
  std::string home = (std::filesystem::temp_directory_path() / "kpquaslet-tour-XXXXXX").string();
  if (::mkdtemp(home.data()) == nullptr) return ios::print("no temporary folder for the storage tour");
  {
    ios::testing::ScopedHomeDirectory scopedHome(home);
    auto& defaults = kp::Defaults();
    kp::proxy(defaults, "launches")++;
    kp::set(defaults, Keys::recent, std::vector<std::string>{"tea", "maps"});
    kp::setIfMissing(kp::proxy(defaults, "theme"), [] { return "dark"; });
    (void)defaults.synchronize();
    ios::print("launches: " + ios::describe(kp::get(defaults, Keys::launches)) + ", recent searches: " +
               ios::describe(kp::get(defaults, Keys::recent)) + ", theme: " + kp::proxy(defaults, "theme").stringValue() +
               ", kept in " + defaults.filePath().substr(home.size()));

    kp::KPKeychain keychain("tour_");
    (void)keychain.set("s3cret", "token", kp::KPKeychainAccessOptions::accessibleAfterFirstUnlock);
    const std::string token = keychain.get("token").value_or("(none)");
    const bool deleted = keychain.delete_("token");
    ios::print("keychain token: " + token + ", deleted: " + ios::describe(deleted));

    // What the crash handler saves for an exception nobody caught.
    kp::exceptionHandler(ios::NSException("TourException", "shown, not thrown", ios::PropertyList::Dictionary{{"step", 6}}));
    const auto log = kp::KPException::getCrashLog();
    const bool removed = kp::KPException::removeCrashLog();
    ios::print("saved crash log has " + ios::describe(log ? log->size() : 0) + " bytes; removed: " +
               ios::describe(removed));
    ios::testing::resetUserDefaults();
  }
  std::error_code ignored;
  std::filesystem::remove_all(home, ignored);
}

void tourTimers() {
  section("Timers, delays and notifications");
  // Everything below runs on the main thread, inside the main run loop.
  int notified = 0;
  auto observer = kp::addObserverWithName("TourSaved", nullptr, ios::OperationQueue::main(),
                                          [&](const ios::Notification&) { ++notified; });
  bool delayedRan = false;
  bool cancelledRan = false;
  auto task = kp::delay(0.02, [&] { delayedRan = true; });
  kp::cancel(kp::delay(0.02, [&] { cancelledRan = true; }));
  int ticks = 0;
  kp::every(0.01, [&](ios::Timer& timer) {
    if (++ticks == 3) timer.invalidate();
  });
  int saves = 0;
  for (int i = 0; i < 3; ++i) {
    kp::KPTimer::throttle(ios::DispatchTimeInterval::milliseconds(30), "tour.save", ios::DispatchQueue::mainQueue(),
                          [&] { ++saves; });
  }
  ios::NotificationCenter::defaultCenter()->post(ios::Notification::Name("TourSaved"));
  ios::RunLoop::main().run(ios::Date::now() + 0.15);
  ios::print("observer called " + ios::describe(notified) + " time(s); delayed work ran: " + ios::describe(delayedRan) +
             "; cancelled work ran: " + ios::describe(cancelledRan));
  ios::print("run-loop timer ticks: " + ios::describe(ticks) + "; throttled saves: " + ios::describe(saves));
  ios::print("2.5 minutes = " + ios::describe(kp::minutes(2.5)) + " seconds; 250 ms = " + ios::describe(kp::ms(250)) +
             " seconds");
  kp::removeObservers({observer});
}

void tourText() {
  section("Text");
  const std::string message = "Hi 👋🏽, write to support@example.org or visit https://example.org/help.";
  ios::print("length " + std::to_string(kp::length(message)) + " characters; truncated: " +
             kp::kp_truncate(message, 10, "…"));
  std::string links;
  for (const ios::URL& url : kp::kp_embeddedURLs(message)) links += " " + url.absoluteString();
  ios::print("links:" + links + "; first link is an e-mail: " + kp::string(kp::isEmail(message)));
  ios::print("pinyin of 北京欢迎你: " + kp::change2English("北京欢迎你") + " (initial " +
             kp::firstCharactor("北京欢迎你").value_or("?") + ")");
  ios::print("camelCased(\"user display name\") = " + kp::camelCased("user display name") +
             ", inserting(\"13812345678\", \" \", 4) = " + kp::inserting("13812345678", " ", 4));
  ios::print("isMobileNumberClassification(13812345678) = " + kp::string(kp::isMobileNumberClassification("13812345678")) +
             ", base64(\"KPQuaslet\") = " + kp::base64("KPQuaslet") + ", toInt(\"3.7\") = " +
             ios::describe(kp::toInt("3.7")));
}

void tourViews(Pictures& pictures, const std::optional<ios::UIImage>& portrait) {
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

  // A profile card: a gradient header, a round bordered avatar, a name and a subtitle
  // (Latin and Chinese) and a titled button; its screenshot is drawn from the layer tree.
  auto card = ios::UIView::make(ios::CGRect(0, 0, 320, 180));
  card->setBackgroundColor(ios::UIColor::white());
  auto header = ios::UIView::make(ios::CGRect(0, 0, 320, 64));
  header->layer()->addSublayer(kp::gradient({ios::UIColor::orange(), ios::UIColor::purple()},
                                            [](std::shared_ptr<ios::CAGradientLayer>& layer) {
                                              layer->setFrame(ios::CGRect(0, 0, 320, 64));
                                              layer->setStartPoint({0, 0.5});
                                              layer->setEndPoint({1, 0.5});
                                              return layer;
                                            }));
  auto avatar = ios::UIImageView::make(ios::CGRect(16, 28, 72, 72));
  avatar->setImage(portrait ? kp::kp_drawRectWithRoundedCorner(kp::largestCenteredSquareImage(*portrait), 36, {72, 72})
                            : kp::makeImage(ios::UIColor::gray(), {72, 72}));
  kp::setCornerRadius(*avatar, 36);
  kp::setBorderWidth(*avatar, 3);
  kp::setBorderColor(*avatar, ios::UIColor::white());
  auto name = kp::makeLabel(100, 70, 204, 22);
  name->setFont(ios::UIFont::boldSystemFont(18));
  name->setText("Eileen Collins");
  auto subtitle = kp::makeLabel(100, 94, 204, 18, 13);
  subtitle->setTextColor(ios::UIColor::darkGray());
  subtitle->setText("Astronaut · 宇航员");
  kp::fitWidth(*subtitle);
  auto follow = kp::makeButton(16, 128, 288, 36, nullptr, ios::sel_registerName("follow:"));
  follow->setBackgroundColor(*kp::makeColorHexString("#1e88e5"));
  follow->setTitle("Follow", ios::UIControlStateOption::normal);
  follow->setTitleColor(ios::UIColor::white(), ios::UIControlStateOption::normal);
  follow->titleLabel()->setFont(ios::UIFont::boldSystemFont(16));
  kp::setCornerRadius(*follow, 10);
  kp::addSubviews(*card, header, avatar, name, subtitle, follow);
  card->layoutIfNeeded();
  ios::print("profile card: \"" + name->text().value_or("") + "\" measures " +
             ios::NSStringFromCGSize(name->sizeThatFits(name->bounds().size)) + ", the subtitle fits in " +
             ios::describe(subtitle->frame().size.width) + " points");
  const ios::UIImage cardShot = kp::screenshot(*card);
  ios::print("profile card screenshot: " + pixelSize(cardShot) + " for " + ios::describe(card->subviews().size()) +
             " subviews");
  pictures.save("view-screenshot", cardShot);
}

void tourControls(Pictures& pictures) {
  section("Controls and text");
  auto share = kp::makeButton(0, 0, 100, 60, nullptr, ios::sel_registerName("share:"));
  kp::setTitleForAllStates(*share, "Share");
  share->titleLabel()->setFont(ios::UIFont::systemFont(10));
  kp::setImageForAllStates(*share, kp::makeImage(ios::UIColor::blue(), ios::CGSize(20, 20)));
  kp::makeImageToTitle(*share, 5, std::nullopt, true, kp::UIButtonImageHorizontalAlignment::left);
  const ios::UIEdgeInsets image = share->imageEdgeInsets();
  const ios::UIEdgeInsets title = share->titleEdgeInsets();
  ios::print("image above title: image insets top " + ios::describe(image.top) + " left " + ios::describe(image.left) +
             ", title insets top " + ios::describe(title.top) + " left " + ios::describe(title.left));

  auto code = kp::makeTextField(0, 0, 200, 30);
  ios::send<void>(code, ios::sel_registerName("setMaxLength:"), std::int64_t{4});
  code->insertText("中华人民共和国");
  kp::setCanPerformAction(*code, false);
  ios::print("code field keeps \"" + *code->text() + "\"; paste offered: " +
             ios::describe(ios::canPerformAction(*code, ios::pasteSelector(), nullptr)));

  auto notes = kp::makeTextView(0, 0, 300, 120);
  notes->isEditable = true;
  kp::addDoneButton(notes, ios::UIBarStyle::default_);
  notes->becomeFirstResponder();
  auto toolbar = std::dynamic_pointer_cast<ios::UIToolbar>(notes->inputAccessoryView);
  const auto done = toolbar->items()->back();
  ios::UIApplication::shared()->sendAction(done->action(), done->target(), done);
  ios::print("notes toolbar " + ios::NSStringFromCGRect(toolbar->frame()) + " with \"" + done->title().value_or("") +
             "\"; still editing after tapping it: " + ios::describe(notes->isFirstResponder()));

  // The controls as they draw: the button with its image above its title, a field
  // showing its placeholder, the code field and the notes.
  auto panel = ios::UIView::make(ios::CGRect(0, 0, 320, 250));
  panel->setBackgroundColor(ios::UIColor::white());
  share->setFrame(ios::CGRect(10, 10, 100, 60));
  kp::setTitleColorForAllStates(*share, ios::UIColor::black());
  auto search = kp::makeTextField(120, 10, 190, 28, 15);
  search->setPlaceholder("Search");
  kp::setBottomBorder(*search);
  code->setFrame(ios::CGRect(120, 44, 190, 28));
  notes->setFrame(ios::CGRect(10, 80, 300, 160));
  notes->setText("Text views wrap their text at their width. 文字按宽度换行。 "
                 "Fields draw their placeholder until they hold text.");
  notes->textColor = ios::UIColor::darkGray();
  kp::addSubviews(*panel, share, search, code, notes);
  panel->layoutIfNeeded();
  pictures.save("controls", kp::screenshot(*panel));
}

void tourFaces(Pictures& pictures, const std::optional<ios::UIImage>& portrait) {
  section("Face-aware image view");
  if (!portrait) {
    ios::print("no portrait at " KP_TOUR_PORTRAIT " (scripts/setup.sh fetches it)");
    return;
  }
  auto banner = ios::UIImageView::make(ios::CGRect(0, 0, 300, 100));
  kp::set(*banner, portrait, true);
  // Detection runs on a worker; the crop is applied on the main queue.
  const ios::Date deadline = ios::Date::now() + 10;
  while (banner->image() == std::nullopt && ios::RunLoop::main().runOnce(ios::kCFRunLoopDefaultMode, deadline)) {
  }
  ios::print("banner focused on faces: " + ios::describe(kp::focusOnFaces(*banner)) + ", crop " +
             (kp::focusOnFaces(*banner) ? ios::NSStringFromCGRect(banner->layer()->sublayers()->back()->frame()) : "none"));
  // The whole portrait, and beside it the banner as it shows the face.
  const ios::UIImage bannerShot = kp::screenshot(*banner);
  pictures.save("face-crop", canvas({12 + 200 + 12 + 300 + 12, 12 + 200 + 12}, [&] {
                  portrait->draw(ios::CGRect(12, 12, 200, 200));
                  bannerShot.draw(ios::CGRect(224, 62, 300, 100));
                }));
}

// A small data source for the controllers section: three sections of 2, 0 and 4 rows.
struct InboxRows : ios::UITableViewDataSource {
  std::int64_t numberOfSections(ios::UITableView&) override { return 3; }
  std::int64_t numberOfRowsInSection(ios::UITableView&, std::int64_t section) override {
    return section == 0 ? 2 : section == 1 ? 0 : 4;
  }
};

void tourControllers() {
  section("Controllers, tables and alerts");
  auto window = ios::UIWindow::make(ios::UIScreen::main().bounds());
  auto inbox = ios::UIViewController::make();
  auto nav = ios::UINavigationController::make(inbox);
  window->setRootViewController(nav);
  window->makeKeyAndVisible();
  kp::pushVC(*inbox, ios::UIViewController::make());
  ios::print("stack depth " + std::to_string(nav->viewControllers().size()) + ", free area of the top controller " +
             ios::NSStringFromCGRect(kp::applicationFrame(*nav->topViewController())));

  auto table = ios::UITableView::make(ios::CGRect(0, 0, 375, 300));
  auto rows = std::make_shared<InboxRows>();
  table->setDataSource(rows);
  const std::optional<ios::IndexPath> last = kp::indexPathForLastRow(*table);
  ios::print("rows " + std::to_string(kp::numberOfRows(*table)) + ", last row " + std::to_string(last->row) +
             " of section " + std::to_string(last->section));

  auto alert = kp::makeAlert("Saved", std::string("Your draft is safe"), "OK", std::nullopt);
  kp::show(*alert, false, false, nullptr);
  ios::print("alert shown: " + std::string(nav->presentedViewController() == alert ? "yes" : "no"));
}

}  // namespace

int main(int argc, char** argv) {
  ios::print(std::string("KPQuaslet tour (") + kp::KPQuasletVersionString + ")");
  // The astronaut portrait that `make` fetches for the tests.
  const std::optional<ios::UIImage> portrait = ios::UIImage::fromFile(KP_TOUR_PORTRAIT);
  Pictures pictures(argc > 1 ? argv[1] : KP_TOUR_PICTURES);
  tourLogger();
  tourCoordinates();
  tourRuntimeHooks();
  tourColours(pictures, portrait);
  tourCollections();
  tourValues();
  tourDates();
  tourLinks();
  tourImages(pictures, portrait);
  tourStorage();
  tourTimers();
  tourText();
  tourViews(pictures, portrait);
  tourControls(pictures);
  tourFaces(pictures, portrait);
  tourControllers();
  ios::print("\n" + std::to_string(pictures.saved()) + " pictures saved in " + pictures.folder().string());
  return 0;
}
