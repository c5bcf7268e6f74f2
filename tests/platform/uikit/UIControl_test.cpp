#include "platform/uikit/UIControl.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/NSStringDrawing.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIToolbar.h"
#include "platform/uikit/UIViewAnimation.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/RuntimeTestClasses.h"

namespace {

using ios::UIButton;
using ios::UIControlEventOption::touchUpInside;
using ios::UIControlEventOption::valueChanged;
namespace State = ios::UIControlStateOption;
using ::testing::ElementsAre;

class UIControlTest : public ios::testing::PlatformFixture {};

// A target class whose "hit" and "hit:" record what they received in `log`.
ios::Class recorderClass(std::vector<std::string>& log) {
  ios::Class cls = ios::testing::makeTestClass("ControlRecorder");
  ios::class_addMethod(cls, ios::testing::sel("hit"), ios::imp([&log](ios::NSObject&, ios::SEL) { log.push_back("hit"); }));
  ios::class_addMethod(cls, ios::testing::sel("hit:"), ios::imp([&log](ios::NSObject&, ios::SEL, ios::id sender) {
                         log.push_back("hit: " + ios::NSStringFromClass(sender->getClass()));
                       }));
  return cls;
}

TEST_F(UIControlTest, TargetActionRunsMatchingActionsOnceEachInOrder) {
  std::vector<std::string> log;
  ios::id target = ios::class_createInstance(recorderClass(log));
  auto button = UIButton::make();
  button->addTarget(target, ios::testing::sel("hit:"), touchUpInside);
  button->addTarget(target, ios::testing::sel("hit"), touchUpInside | valueChanged);
  button->addTarget(target, ios::testing::sel("hit:"), touchUpInside);  // kept once
  button->sendActions(touchUpInside);
  EXPECT_THAT(log, ElementsAre("hit: UIButton", "hit"));
  log.clear();
  button->sendActions(valueChanged);
  EXPECT_THAT(log, ElementsAre("hit"));
  EXPECT_THAT(button->actions(target.get(), touchUpInside),
              ElementsAre(ios::testing::sel("hit:"), ios::testing::sel("hit")));

  button->removeTarget(target.get(), ios::testing::sel("hit"), touchUpInside);
  log.clear();
  button->sendActions(touchUpInside | valueChanged);
  EXPECT_THAT(log, ElementsAre("hit: UIButton", "hit"));

  // Targets are not retained: a released one is skipped.
  target.reset();
  log.clear();
  button->sendActions(touchUpInside | valueChanged);
  EXPECT_TRUE(log.empty());
}

TEST_F(UIControlTest, ApplicationSendsBarButtonActionsWhateverTheyAnswer) {
  std::vector<std::string> log;
  ios::Class cls = recorderClass(log);
  ios::class_addMethod(cls, ios::testing::sel("check:"), ios::imp([&log](ios::NSObject&, ios::SEL, ios::id) {
                         log.push_back("check:");
                         return true;
                       }));
  ios::id target = ios::class_createInstance(cls);
  auto app = ios::UIApplication::shared();
  auto item = ios::UIBarButtonItem::make(std::string("Go"), ios::UIBarButtonItemStyle::plain, target,
                                         ios::testing::sel("hit:"));
  EXPECT_TRUE(app->sendAction(item->action(), item->target(), item));
  EXPECT_TRUE(app->sendAction(ios::testing::sel("check:"), target, item));  // a Boolean answer is dropped
  EXPECT_TRUE(app->sendAction(ios::testing::sel("hit"), target, nullptr));
  EXPECT_THAT(log, ElementsAre("hit: UIBarButtonItem", "check:", "hit"));
  EXPECT_FALSE(app->sendAction(nullptr, target, item));
  EXPECT_FALSE(app->sendAction(ios::testing::sel("hit"), nullptr, item));
  EXPECT_EQ(log.size(), 3u);
}

TEST_F(UIControlTest, ToolbarFitsToTheBarHeightKeepingItsWidth) {
  auto bar = ios::UIToolbar::make(ios::CGRect(5, 6, 200, 10));
  bar->sizeToFit();
  EXPECT_EQ(bar->frame(), ios::CGRect(5, 6, 200, 44));
  auto unsized = ios::UIToolbar::make();
  unsized->sizeToFit();
  EXPECT_EQ(unsized->frame(), ios::CGRect(0, 0, ios::UIScreen::main().bounds().size.width, 44));
  EXPECT_EQ(unsized->items(), std::nullopt);
}

TEST_F(UIControlTest, ButtonValuesFallBackToNormalAndFollowTheState) {
  auto button = UIButton::make();
  const ios::UIImage plain = kp_test::makeImage(2, 2, [](auto, auto) { return kp_test::kRed; });
  const ios::UIImage pressed = kp_test::makeImage(2, 2, [](auto, auto) { return kp_test::kBlue; });
  button->setTitle("Go", State::normal);
  button->setTitle("Going", State::highlighted);
  button->setImage(plain, State::normal);
  button->setImage(pressed, State::highlighted);
  EXPECT_EQ(button->title(State::disabled), "Go");
  EXPECT_EQ(button->titleLabel()->text(), "Go");
  EXPECT_EQ(button->imageView()->image(), plain);

  button->setHighlighted(true);
  EXPECT_EQ(button->state(), State::highlighted);
  EXPECT_EQ(button->titleLabel()->text(), "Going");
  EXPECT_EQ(button->imageView()->image(), pressed);

  button->setTitle(std::nullopt, State::highlighted);  // back to the normal title
  EXPECT_EQ(button->currentTitle(), "Go");
  button->setEnabled(false);
  button->setSelected(true);
  EXPECT_EQ(button->state(), State::highlighted | State::disabled | State::selected);
  EXPECT_FALSE(UIButton::make()->titleLabel()->text().has_value());
}

TEST_F(UIControlTest, SwitchAnimatesOnlyWhenAsked) {
  auto toggle = ios::UISwitch::make();
  toggle->setOn(true, false);
  EXPECT_TRUE(toggle->isOn());
  EXPECT_TRUE(ios::testing::recordedViewAnimations().empty());
  toggle->setOn(false, true);
  EXPECT_FALSE(toggle->isOn());
  ASSERT_EQ(ios::testing::recordedViewAnimations().size(), 1u);
  EXPECT_EQ(ios::testing::recordedViewAnimations()[0].duration, 0.25);
}

TEST_F(UIControlTest, SegmentsInsertClampedAndKeepTheSelection) {
  auto control = ios::UISegmentedControl::make(std::vector<std::string>{"a", "b"});
  control->setSelectedSegmentIndex(1);
  control->insertSegment("first", -3, false);
  control->insertSegment("last", 99, true);
  EXPECT_EQ(control->numberOfSegments(), 4);
  EXPECT_EQ(control->titleForSegment(0), "first");
  EXPECT_EQ(control->titleForSegment(3), "last");
  EXPECT_EQ(control->selectedSegmentIndex(), 2);  // still "b"
  EXPECT_EQ(control->titleForSegment(4), std::nullopt);
  EXPECT_EQ(control->titleForSegment(-1), std::nullopt);
  control->setImage(kp_test::makeImage(1, 1, [](auto, auto) { return kp_test::kRed; }), 1);
  EXPECT_EQ(control->titleForSegment(1), std::nullopt);
  EXPECT_TRUE(control->imageForSegment(1).has_value());
  control->setSelectedSegmentIndex(7);
  EXPECT_EQ(control->selectedSegmentIndex(), ios::UISegmentedControl::noSegment);
  control->setSelectedSegmentIndex(0);
  control->removeAllSegments();
  EXPECT_EQ(control->numberOfSegments(), 0);
  EXPECT_EQ(control->selectedSegmentIndex(), ios::UISegmentedControl::noSegment);
}

}  // namespace
