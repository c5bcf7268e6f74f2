#include "KPQuaslet/views/LoadableNib.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/RuntimeTestClasses.h"

#include "KPQuaslet/views/UIAlertController+KPExt.h"
#include "platform/audiotoolbox/AudioServices.h"
#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/NSException.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIViewAnimation.h"

namespace {

using ::testing::ElementsAre;

class Card : public ios::UIView, public kp::LoadableNib {
  IOS_RUNTIME_CLASS(Card, ios::UIView);

 protected:
  Card() = default;
};
IOS_DEFINE_RUNTIME_CLASS(Card, "App.Card", nullptr)

class Login : public ios::UIViewController, public kp::Identifiable {
  IOS_RUNTIME_CLASS(Login, ios::UIViewController);

 public:
  static std::string identifier() { return "LoginScene"; }

 protected:
  Login() = default;
};
IOS_DEFINE_RUNTIME_CLASS(Login, "Login", nullptr)

class PlainCell : public ios::UITableViewCell, public kp::Identifiable {
  IOS_RUNTIME_CLASS(PlainCell, ios::UITableViewCell);

 public:
  PlainCell() = default;
};
IOS_DEFINE_RUNTIME_CLASS(PlainCell, "PlainCell", nullptr)

class NibCell : public ios::UITableViewCell, public kp::Identifiable, public kp::LoadableNib {
  IOS_RUNTIME_CLASS(NibCell, ios::UITableViewCell);

 public:
  NibCell() = default;
  bool fromNib = false;
};
IOS_DEFINE_RUNTIME_CLASS(NibCell, "NibCell", nullptr)

class LoadableNibTest : public ios::testing::PlatformFixture {
 protected:
  ios::testing::ManualDispatch dispatch;
};

using LoadableNibDeathTest = LoadableNibTest;

TEST_F(LoadableNibTest, ViewsLoadFromTheNibNamedAfterTheirClass) {
  std::shared_ptr<Card> made;
  ios::id owner;
  ios::testing::registerNib("Card", [&] {
    made = Card::make();
    return std::vector<ios::id>{made};
  });
  EXPECT_EQ(kp::instantiate<Card>(), made);
  auto host = ios::UIView::make(ios::CGRect(10, 10, 200, 100));
  EXPECT_EQ(kp::instantiateFromNib<Card>(*host), made);
  host->addSubview(ios::UIView::make());
  kp::instantiateFromNibOwner<Card>(*host);
  ASSERT_EQ(host->subviews().size(), 2u);
  EXPECT_EQ(host->subviews().back(), made);
  EXPECT_EQ(made->frame(), ios::CGRect(0, 0, 200, 100));
  EXPECT_EQ(made->autoresizingMask(), 18u);
}

TEST_F(LoadableNibDeathTest, NibsWithoutTheViewStopTheProcess) {
  ios::testing::registerNib("Card", [] { return std::vector<ios::id>{ios::UIView::make()}; });
  auto host = ios::UIView::make();
  EXPECT_DEATH((void)kp::instantiate<Card>(), "Cannot loadNibNamed Card");
  EXPECT_DEATH((void)kp::instantiateFromNib<Card>(*host), "Nib <UINib: 0x[0-9a-f]+> is not exist \\?!");
  ios::testing::registerNib("Card", [] { return std::vector<ios::id>{}; });
  EXPECT_DEATH((void)kp::instantiate<Card>(), "Cannot loadNibNamed Card");
  EXPECT_DEATH(kp::instantiateFromNibOwner<Card>(*host), "is not exist \\?!");
  // A storyboard holding another class under the identifier stops with a clear message.
  ios::testing::registerStoryboard("Main", {{"LoginScene", [] { return ios::UIViewController::make(); }}});
  auto storyboard = ios::UIStoryboard::make(std::string_view("Main"), static_cast<const ios::Bundle*>(nullptr));
  EXPECT_DEATH((void)kp::instantiateController<Login>(*storyboard), "under identifier LoginScene");
}

TEST_F(LoadableNibTest, StoryboardsAndControllers) {
  EXPECT_EQ(kp::mainStoryboard(), nullptr);
  ios::Bundle::main().setInfoDictionary({{"UIMainStoryboardFile", ios::PropertyList(std::int64_t{3})}});
  EXPECT_EQ(kp::mainStoryboard(), nullptr);  // not text
  ios::testing::registerStoryboard(
      "Main", {{"LoginScene", [] { return Login::make(); }}, {"Login", [] { return ios::UIViewController::make(); }}});
  ios::Bundle::main().setInfoDictionary({{"UIMainStoryboardFile", ios::PropertyList(std::string("Main"))}});
  auto storyboard = kp::mainStoryboard();
  ASSERT_NE(storyboard, nullptr);
  EXPECT_NE(kp::instantiateController<Login>(*storyboard), nullptr);
  EXPECT_EQ(kp::instantiateVC<Login>(*storyboard), nullptr);  // "Login" holds another class
  EXPECT_THROW((void)storyboard->instantiateViewController("Missing"), ios::NSException);
}

TEST_F(LoadableNibTest, CellsRegisterByNibWhenTheyCanAndByClassOtherwise) {
  auto table = ios::UITableView::make();
  kp::registerCell<PlainCell>(*table);
  EXPECT_NE(kp::dequeue<PlainCell>(*table, ios::IndexPath(0, 0)), nullptr);
  ios::testing::registerNib("NibCell", [] {
    auto cell = NibCell::make();
    cell->fromNib = true;
    return std::vector<ios::id>{cell};
  });
  kp::registerCell<NibCell>(*table);
  auto cell = kp::dequeue<NibCell>(*table, ios::IndexPath(0, 0));
  ASSERT_NE(cell, nullptr);
  EXPECT_TRUE(cell->fromNib);
  table->registerClass(PlainCell::classObject(), "NibCell");
  EXPECT_EQ(kp::dequeue<NibCell>(*table, ios::IndexPath(0, 0)), nullptr);
}

TEST_F(LoadableNibTest, AlertsAreMadeAndShownOnTheKeyWindowsRoot) {
  auto alert = kp::makeAlert("Saved", std::string("All done"), "OK", ios::UIColor::red());
  EXPECT_EQ(alert->title(), "Saved");
  EXPECT_EQ(alert->message(), "All done");
  EXPECT_EQ(alert->preferredStyle(), ios::UIAlertControllerStyle::alert);
  ASSERT_EQ(alert->actions().size(), 1u);
  EXPECT_EQ(alert->actions()[0]->title(), "OK");
  EXPECT_EQ(alert->actions()[0]->style(), ios::UIAlertActionStyle::default_);
  EXPECT_FALSE(alert->actions()[0]->hasHandler());
  EXPECT_EQ(alert->alertView()->tintColor(), ios::UIColor::red());
  auto failed = kp::makeAlert("Oops", ios::NSError{"Domain", 3}, "OK", std::nullopt);
  EXPECT_EQ(failed->message(), "The operation couldn\u2019t be completed. (Domain error 3.)");
  EXPECT_EQ(failed->alertView()->tintColor(), std::nullopt);

  int tapped = 0;
  auto action = kp::addAction(*alert, "Delete", ios::UIAlertActionStyle::destructive, false,
                              [&](ios::UIAlertAction&) { ++tapped; });
  EXPECT_EQ(alert->actions().back(), action);
  action->perform();
  EXPECT_EQ(tapped, 0);  // disabled
  action->setEnabled(true);
  action->perform();
  EXPECT_EQ(tapped, 1);

  // No key window: nothing presented, no completion, but the vibration plays.
  bool shown = false;
  kp::show(*alert, true, true, [&] { shown = true; });
  dispatch.advance(1);
  EXPECT_FALSE(shown);
  EXPECT_THAT(ios::testing::playedAlertSounds(), ElementsAre(ios::kSystemSoundID_Vibrate));

  auto window = ios::UIWindow::make(ios::CGRect(0, 0, 375, 667));
  auto root = ios::UIViewController::make();
  window->setRootViewController(root);
  window->makeKeyAndVisible();
  kp::show(*alert, true, false, [&] { shown = true; });
  EXPECT_EQ(root->presentedViewController(), alert);
  dispatch.advance(0.3);
  EXPECT_TRUE(shown);
  EXPECT_EQ(ios::testing::playedAlertSounds().size(), 1u);
}

TEST_F(LoadableNibTest, WebViewShadowsAndRequests) {
  auto web = ios::UIWebView::make(ios::CGRect(0, 0, 320, 480));
  auto far = ios::UIImageView::make(ios::CGRect(600, 0, 10, 10));
  web->scrollView()->addSubview(far);
  const std::size_t before = web->scrollView()->subviews().size();
  kp::removeBackgroundShadow(*web);
  auto left = web->scrollView()->subviews();
  EXPECT_EQ(left.size(), before - 8);
  EXPECT_EQ(left.back(), far);
  EXPECT_EQ(std::dynamic_pointer_cast<ios::UIImageView>(left.front()), nullptr);  // the page view stays

  kp::loadWebsite(*web, "https://example.com/a");
  ASSERT_TRUE(web->request().has_value());
  EXPECT_EQ(web->request()->url.absoluteString(), "https://example.com/a");
  EXPECT_EQ(web->request()->cachePolicy, ios::NSURLRequestCachePolicy::useProtocolCachePolicy);
  EXPECT_EQ(web->request()->timeoutInterval, 60);
  kp::loadWebsite(*web, "");  // not an address: the last request stays
  EXPECT_EQ(web->request()->url.absoluteString(), "https://example.com/a");
}

// Shadows spread among views that stay: the same views go, hidden in the scroll view's
// order (as the animation recorder sees the hides), and the rest keep their order.
TEST_F(LoadableNibTest, WebViewShadowsInterleavedWithViewsThatStay) {
  auto web = ios::UIWebView::make(ios::CGRect(0, 0, 320, 480));
  const auto& scroll = web->scrollView();
  const std::size_t before = scroll->subviews().size();
  std::vector<std::shared_ptr<ios::UIView>> shadows, stay;
  for (int i = 0; i < 6; ++i) {
    auto shadow = ios::UIImageView::make(ios::CGRect(i * 100, 0, 10, 10));  // x = 500 still counts
    auto plain = ios::UIView::make(ios::CGRect(0, 0, 10, 10));
    auto far = ios::UIImageView::make(ios::CGRect(501 + i, 0, 10, 10));
    scroll->addSubview(shadow);
    scroll->addSubview(plain);
    scroll->addSubview(far);
    shadows.push_back(shadow);
    stay.push_back(plain);
    stay.push_back(far);
  }
  ios::testing::clearRecordedViewAnimations();
  ios::UIView::animate(0.2, [&] { kp::removeBackgroundShadow(*web); });

  const auto left = scroll->subviews();
  ASSERT_EQ(left.size(), before - 8 + stay.size());  // the page's own image views go too
  EXPECT_TRUE(std::equal(stay.begin(), stay.end(), left.end() - static_cast<std::ptrdiff_t>(stay.size())));
  std::vector<std::shared_ptr<ios::CALayer>> hidden;
  for (const auto& change : ios::testing::recordedViewAnimations().back().changes) {
    if (change.key == "hidden") hidden.push_back(change.layer.lock());
  }
  ASSERT_EQ(hidden.size(), 8 + shadows.size());
  for (std::size_t i = 0; i < shadows.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(hidden[8 + i], shadows[i]->layer());
    EXPECT_TRUE(shadows[i]->isHidden());
    EXPECT_EQ(shadows[i]->superview(), nullptr);
    EXPECT_EQ(shadows[i]->layer()->superlayer(), nullptr);
  }
  const auto layers = scroll->layer()->sublayers().value_or(std::vector<std::shared_ptr<ios::CALayer>>{});
  for (const auto& view : stay) {
    EXPECT_EQ(view->superview(), scroll);
    EXPECT_NE(std::find(layers.begin(), layers.end(), view->layer()), layers.end());
  }
}

}  // namespace

namespace {

TEST_F(LoadableNibTest, AlertTextFieldsTakeTextPlaceholderAndAnEditingTarget) {
  auto alert = kp::makeAlert("Rename", std::nullopt, "OK", std::nullopt);
  ios::Class cls = ios::testing::makeTestClass("AlertEditingTarget");
  int changes = 0;
  ios::class_addMethod(cls, ios::sel_registerName("changed:"),
                       ios::imp([&changes](ios::NSObject&, ios::SEL, ios::id) { ++changes; }));
  ios::id target = ios::class_createInstance(cls);

  kp::addTextField(*alert, std::string("draft"), std::string("Name"), target, ios::sel_registerName("changed:"));
  kp::addTextField(*alert, std::nullopt, std::nullopt, target, nullptr);  // no selector: nothing registered
  ASSERT_EQ(alert->textFields().size(), 2u);
  EXPECT_EQ(alert->textFields()[0]->text(), "draft");
  EXPECT_EQ(alert->textFields()[0]->placeholder(), "Name");
  alert->textFields()[0]->insertText("!");
  alert->textFields()[1]->insertText("?");
  EXPECT_EQ(changes, 1);

  auto sheet = ios::UIAlertController::make(std::string("Pick"), std::nullopt, ios::UIAlertControllerStyle::actionSheet);
  EXPECT_THROW(sheet->addTextField(nullptr), ios::NSException);
}

}  // namespace
