#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "KPQuaslet/Helper/KPFunctions.h"
#include "KPQuaslet/Helper/KPKitError.h"
#include "KPQuaslet/imaging/KPImageColors.h"
#include "KPQuaslet/services/KPAuthManager.h"
#include "KPQuaslet/services/KPKeychain.h"
#include "KPQuaslet/services/KPSystemSound.h"
#include "KPQuaslet/services/UIApplication+KPExt.h"
#include "KPQuaslet/services/UIDevice+KPExt.h"
#include "KPQuaslet/text/String+KPSlicing.h"
#include "KPQuaslet/views/UIButton+KPExt.h"
#include "KPQuaslet/views/UIView+KPAnimation.h"
#include "KPQuaslet/views/UIView+Shake.h"
#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/StandardOutput.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIViewController.h"

namespace {

using ::testing::ElementsAre;
using kp::KP;

class KPApplicationTest : public ios::testing::PlatformFixture {
 protected:
  ios::testing::ManualDispatch dispatch_{500.0};
  ios::testing::CapturedOutput out_;
};

TEST_F(KPApplicationTest, VersionAndBuildFromTheInfoDictionary) {
  const struct {
    std::optional<std::string> version, build, expected;
  } rows[] = {
      {"1.2", "45", "v1.2(45)"},
      {"1.2", "1.2", "v1.2"},
      {"1.2", std::nullopt, std::nullopt},
      {std::nullopt, "45", std::nullopt},
  };
  for (const auto& row : rows) {
    ios::PropertyList::Dictionary info;
    if (row.version) info["CFBundleShortVersionString"] = *row.version;
    if (row.build) info["CFBundleVersion"] = *row.build;
    ios::Bundle::main().setInfoDictionary(info);
    EXPECT_EQ(KP::appVersionAndBuild(), row.expected);
  }
  ios::Bundle::main().setInfoDictionary({{"CFBundleName", "Name"}, {"CFBundleShortVersionString", 3}});
  EXPECT_EQ(KP::appDisplayName(), "Name");
  EXPECT_EQ(KP::appVersion(), std::nullopt) << "a number is not text";
  ios::Bundle::main().setInfoDictionary({{"CFBundleName", "Name"}, {"CFBundleDisplayName", "Shown"}});
  EXPECT_EQ(KP::appDisplayName(), "Shown");
  ios::Bundle::main().setBundleIdentifier("com.example.app");
  EXPECT_EQ(KP::appBundleID(), "com.example.app");
  ios::testing::DeviceSettings::setMachine("iPhone11,8");
  EXPECT_EQ(KP::deviceVersion(), "iPhone11,8");
}

TEST_F(KPApplicationTest, RegionStatusBarAndStoreLinks) {
  {
    ios::testing::ScopedLocale locale("zh_Hans_CN");
    EXPECT_EQ(KP::currentRegion(), "CN");
  }
  {
    ios::testing::ScopedLocale locale("fr");
    EXPECT_EQ(KP::currentRegion(), std::nullopt);
  }
  ios::UIApplication::shared()->setStatusBarFrame(ios::CGRect(0, 0, 375, 44));
  EXPECT_EQ(KP::screenStatusBarHeight(), 44);
  ios::UIApplication::shared()->setStatusBarOrientation(ios::UIInterfaceOrientation::landscapeLeft);
  EXPECT_EQ(KP::screenOrientation(), ios::UIInterfaceOrientation::landscapeLeft);

  KP::gotoAppStore("not a url");
  KP::gotoAppStore("itms-apps://itunes.apple.com/app/id123");
  EXPECT_THAT(ios::testing::openedURLs(), ElementsAre("itms-apps://itunes.apple.com/app/id123"));
}

// From iOS 10 on the store link goes through open(_:options:completionHandler:), below
// through the older openURL(_:).
TEST_F(KPApplicationTest, StoreLinksUseTheOpenFormOfTheSystemVersion) {
  using ios::testing::OpenURLForm;
  const struct {
    const char* version;
    OpenURLForm form;
  } rows[] = {{"14.0", OpenURLForm::open}, {"10.0", OpenURLForm::open}, {"9.3.5", OpenURLForm::openURL}};
  std::vector<ios::testing::OpenedURL> expected;
  for (const auto& row : rows) {
    ios::testing::DeviceSettings::setSystemVersion(row.version);
    KP::gotoAppStore("itms-apps://itunes.apple.com/app/id123");
    expected.push_back({"itms-apps://itunes.apple.com/app/id123", row.form});
  }
  EXPECT_EQ(ios::testing::openedURLRequests(), expected);
}

TEST_F(KPApplicationTest, AlternateIconsNeedIOS10Point3) {
  ios::testing::setAlternateIconNames(true, {"Dark"});
  for (const char* version : {"10.2.1", "9.0"}) {
    ios::testing::DeviceSettings::setSystemVersion(version);
    kp::changeAppIcon("Dark");
    dispatch_.runPending();
    EXPECT_EQ(out_.text(), "") << version;
    EXPECT_EQ(ios::UIApplication::shared()->alternateIconName(), std::nullopt) << version;
  }
  ios::testing::DeviceSettings::setSystemVersion("10.3");
  kp::changeAppIcon("Dark");
  dispatch_.runPending();
  EXPECT_EQ(out_.text(), "No Error\n");
}

TEST_F(KPApplicationTest, DelaysRunOnTheirQueuesAtTheTruncatedDeadline) {
  std::vector<std::string> log;
  KP::dispatchDelay(1.0000000009, [&] { log.push_back("delay"); });
  auto queue = ios::DispatchQueue::make("work");
  KP::runThisAfterDelay(0.5, *queue, [&] { log.push_back(ios::DispatchQueue::currentLabel()); });
  KP::runThisInMainThread([&] { log.push_back("main"); });
  KP::runThisInBackground([&] { log.push_back(ios::DispatchQueue::currentLabel()); });
  EXPECT_TRUE(log.empty()) << "nothing runs inline";
  dispatch_.runPending();
  EXPECT_THAT(log, ElementsAre("main", "com.apple.root.default-qos"));
  dispatch_.advance(0.5);
  EXPECT_THAT(log, ElementsAre("main", "com.apple.root.default-qos", "work"));
  dispatch_.advance(0.499999999);
  EXPECT_EQ(log.size(), 3u);
  dispatch_.advanceNanoseconds(1);
  EXPECT_EQ(log.back(), "delay");
}

TEST_F(KPApplicationTest, RunThisEveryRepeatsOnTheCurrentRunLoop) {
  std::vector<double> fires;
  auto timer = KP::runThisEvery(2.0, 1.0, [&](ios::Timer* t) {
    fires.push_back(ios::CFAbsoluteTimeGetCurrent());
    if (fires.size() == 3) t->invalidate();
  });
  ios::RunLoop::current().run(ios::Date::now() + 10);
  EXPECT_THAT(fires, ElementsAre(501.0, 503.0, 505.0));
  EXPECT_FALSE(timer->isValid());
}

TEST_F(KPApplicationTest, BackgroundWorkIsBracketedByATask) {
  std::vector<std::string> log;
  kp::runInBackground(*ios::UIApplication::shared(), [&] { log.push_back("work"); });
  EXPECT_TRUE(ios::testing::backgroundTaskLog().empty());
  dispatch_.runPending();
  EXPECT_THAT(log, ElementsAre("work"));
  const auto tasks = ios::testing::backgroundTaskLog();
  ASSERT_EQ(tasks.size(), 2u);
  EXPECT_EQ(tasks[0].first, tasks[1].first);
  EXPECT_TRUE(tasks[0].second);
  EXPECT_FALSE(tasks[1].second);
}

TEST_F(KPApplicationTest, AlternateIconsReportTheirOutcome) {
  kp::changeAppIcon("Dark");
  dispatch_.runPending();
  EXPECT_EQ(out_.text(), "") << "no alternate-icon support: nothing happens";
  ios::testing::setAlternateIconNames(true, {"Dark"});
  kp::changeAppIcon("Dark");
  dispatch_.runPending();
  EXPECT_EQ(out_.text(), "No Error\n");
  EXPECT_EQ(ios::UIApplication::shared()->alternateIconName(), "Dark");
  out_.clear();
  kp::changeAppIcon("Missing");
  dispatch_.runPending();
  EXPECT_THAT(out_.text(), ::testing::StartsWith("The operation couldn"));
}

TEST_F(KPApplicationTest, PasteboardText) {
  EXPECT_EQ(kp::getString(), "");
  kp::copy("copied");
  EXPECT_EQ(kp::getString(), "copied");
}

}  // namespace

// A caller's enum whose raw values do not start at 0, with its cases declared, and one
// that declares none.
namespace app {
enum class Plan : std::int64_t { basic = 10, pro = 20, team = 30 };
inline std::span<const Plan> allCases(std::type_identity<Plan>) {
  static constexpr Plan cases[] = {Plan::basic, Plan::pro, Plan::team};
  return cases;
}
enum class Undeclared { a, b };
}  // namespace app

namespace {

template <class E>
std::vector<E> everyCase() {
  std::vector<E> cases;
  auto iterator = KP::iterateEnum<E>();
  while (auto next = iterator.next()) cases.push_back(*next);
  EXPECT_EQ(iterator.next(), std::nullopt) << "it stays at its end";
  return cases;
}

// Each case of an enum with raw values reads back from its raw value, and no two share one.
template <class E>
void expectRawValuesRoundTrip() {
  const auto cases = everyCase<E>();
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(kp::fromRawValue<E>(kp::rawValue(cases[i])), cases[i]) << i;
    for (std::size_t j = 0; j < i; ++j) EXPECT_NE(kp::rawValue(cases[i]), kp::rawValue(cases[j])) << i;
  }
}

template <class E>
concept Iterable = requires { KP::iterateEnum<E>(); };

TEST(KPIterateEnum, YieldsEveryCaseInDeclarationOrderWhateverTheRawValues) {
  using L = KP::logLevel;
  EXPECT_THAT(everyCase<L>(), ElementsAre(L::info, L::debug, L::warn, L::error, L::fatal, L::none));
  EXPECT_THAT(everyCase<app::Plan>(), ElementsAre(app::Plan::basic, app::Plan::pro, app::Plan::team));

  // The system sounds: every value of the blocks from 1000 to 4095, ascending.
  const std::pair<std::uint32_t, std::uint32_t> blocks[] = {
      {1000, 1010}, {1013, 1014}, {1016, 1016}, {1020, 1036}, {1050, 1055}, {1057, 1057}, {1070, 1075}, {1100, 1118},
      {1150, 1154}, {1200, 1211}, {1254, 1259}, {1300, 1315}, {1320, 1336}, {1350, 1351}, {4095, 4095}};
  std::vector<std::uint32_t> expected;
  for (const auto& [first, last] : blocks) {
    for (std::uint32_t v = first; v <= last; ++v) expected.push_back(v);
  }
  std::vector<std::uint32_t> sounds;
  for (auto id : everyCase<kp::KPSystemSound::AudioID>()) sounds.push_back(kp::rawValue(id));
  EXPECT_EQ(sounds, expected);
  EXPECT_EQ(sounds.size(), 122u);
}

TEST(KPIterateEnum, EveryEnumOfTheLibraryListsItsCases) {
  expectRawValuesRoundTrip<KP::logLevel>();
  expectRawValuesRoundTrip<kp::KPSystemSound::AudioID>();
  expectRawValuesRoundTrip<kp::Size>();
  expectRawValuesRoundTrip<kp::Versions>();
  expectRawValuesRoundTrip<kp::ShakeDirection>();
  expectRawValuesRoundTrip<kp::UIViewAnimationFlipDirection>();
  expectRawValuesRoundTrip<kp::UIViewAnimationTranslationDirection>();
  expectRawValuesRoundTrip<kp::KPImageColorsQuality>();
  EXPECT_EQ(everyCase<kp::Size>().size(), 11u);
  EXPECT_EQ(everyCase<kp::Versions>().front(), kp::Versions::eight);
  EXPECT_EQ(everyCase<kp::Versions>().back(), kp::Versions::twelve);

  using E = kp::LocalAuthError;
  EXPECT_THAT(everyCase<E>(), ElementsAre(E::authStateChanged, E::userCancelled, E::failed, E::systemCancelled,
                                          E::biometryNotAvailable, E::biometryLockedOut, E::other));
  using K = kp::KPKitError;
  EXPECT_THAT(everyCase<K>(), ElementsAre(K::jsonSerialization, K::errorLoadingSound, K::pathNotExist, K::pathNotAllowed));
  using A = kp::KPKeychainAccessOptions;
  EXPECT_THAT(everyCase<A>(),
              ElementsAre(A::accessibleWhenUnlocked, A::accessibleWhenUnlockedThisDeviceOnly, A::accessibleAfterFirstUnlock,
                          A::accessibleAfterFirstUnlockThisDeviceOnly, A::accessibleAlways,
                          A::accessibleWhenPasscodeSetThisDeviceOnly, A::accessibleAlwaysThisDeviceOnly));
  EXPECT_THAT(everyCase<kp::TrimmingType>(),
              ElementsAre(kp::TrimmingType::whitespace, kp::TrimmingType::whitespaceAndNewline));
  EXPECT_THAT(everyCase<kp::UIButtonImageHorizontalAlignment>(),
              ElementsAre(kp::UIButtonImageHorizontalAlignment::left, kp::UIButtonImageHorizontalAlignment::right));
}

TEST(KPIterateEnum, AnEnumThatListsNoCasesDoesNotCompile) {
  static_assert(Iterable<app::Plan>);
  static_assert(!Iterable<app::Undeclared>, "an enum without its cases must not iterate");
  static_assert(!kp::CaseIterable<int>);
  EXPECT_EQ(kp::allCases<app::Plan>().size(), 3u);
}

}  // namespace

namespace {

TEST_F(KPApplicationTest, ScreenSidesFollowTheStatusBarOrientation) {
  ios::testing::setMainScreenSize({375, 667});
  ios::UIApplication::shared()->setStatusBarFrame(ios::CGRect(0, 0, 375, 20));
  const struct {
    ios::UIInterfaceOrientation orientation;
    ios::CGFloat width, height;
  } rows[] = {
      {ios::UIInterfaceOrientation::portrait, 375, 667},
      {ios::UIInterfaceOrientation::portraitUpsideDown, 375, 667},
      {ios::UIInterfaceOrientation::landscapeLeft, 667, 375},
      {ios::UIInterfaceOrientation::landscapeRight, 667, 375},
      {ios::UIInterfaceOrientation::unknown, 667, 375},
  };
  for (const auto& row : rows) {
    ios::UIApplication::shared()->setStatusBarOrientation(row.orientation);
    EXPECT_EQ(KP::screenWidth(), row.width);
    EXPECT_EQ(KP::screenHeight(), row.height);
    EXPECT_EQ(KP::screenHeightWithoutStatusBar(), row.height - 20);
  }
}

TEST_F(KPApplicationTest, ScreenshotsCallTheActionOnTheMainQueue) {
  std::vector<std::string> calls;
  KP::detectScreenShot([&] { calls.push_back(ios::DispatchQueue::currentLabel()); });
  const ios::Notification::Name screenshot("UIApplicationUserDidTakeScreenshotNotification");
  ios::NotificationCenter::defaultCenter()->post(screenshot, nullptr);
  ios::NotificationCenter::defaultCenter()->post(ios::Notification::Name("SomethingElse"), nullptr);
  dispatch_.runPending();
  ios::NotificationCenter::defaultCenter()->post(screenshot, nullptr);
  dispatch_.runPending();
  EXPECT_THAT(calls, ElementsAre("com.apple.main-thread", "com.apple.main-thread"));
}

}  // namespace

namespace {

class TopViewControllerTest : public KPApplicationTest {
 protected:
  std::shared_ptr<ios::UIWindow> window_ = ios::UIWindow::make(ios::CGRect(0, 0, 375, 667));
};

TEST_F(TopViewControllerTest, NoKeyWindowOrRootLogsOnceAndAnswersNothing) {
  EXPECT_EQ(KP::topMostVC(), nullptr);
  EXPECT_THAT(out_.text(), ::testing::HasSubstr(
                               "Error: You don't have any views set. You may be calling them in viewDidLoad. Try "
                               "viewDidAppear instead."));
  EXPECT_THAT(out_.text(), ::testing::HasSubstr("KP+Application.cpp(126) \u2699\uFE0F topMostVC"));
  EXPECT_EQ(kp::topViewController(nullptr), nullptr);
}

TEST_F(TopViewControllerTest, FollowsNavigationTabsAndPresentationInThatOrder) {
  auto home = ios::UIViewController::make();
  auto detail = ios::UIViewController::make();
  auto navigation = ios::UINavigationController::make(home);
  navigation->pushViewController(detail, false);
  auto settings = ios::UIViewController::make();
  auto tabs = ios::UITabBarController::make();
  tabs->setViewControllers({navigation, settings}, false);
  tabs->setSelectedIndex(0);
  window_->setRootViewController(tabs);
  window_->makeKeyAndVisible();
  EXPECT_EQ(KP::topMostVC(), detail) << "tab -> navigation -> its visible controller";

  // A tab-bar controller with a selection follows the selection even when it presents.
  auto modal = ios::UIViewController::make();
  tabs->present(modal, false, nullptr);
  dispatch_.runPending();
  ASSERT_EQ(tabs->presentedViewController(), modal);
  EXPECT_EQ(kp::topViewController(tabs), detail) << "the selection comes before the modal";

  auto plain = ios::UIViewController::make();
  auto sheet = ios::UIViewController::make();
  window_->setRootViewController(plain);
  plain->present(sheet, false, nullptr);
  dispatch_.runPending();
  EXPECT_EQ(KP::topMostVC(), sheet);
  EXPECT_EQ(out_.text(), "") << "nothing logged when a controller is found";
}

}  // namespace
