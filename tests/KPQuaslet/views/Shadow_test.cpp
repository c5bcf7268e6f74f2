#include "KPQuaslet/views/Shadow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KPQuaslet/views/UIView+Shadow.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/support/PathFixtures.h"

namespace {

using ios::CGSize;
using ios::UIColor;
using ios::UIOffset;
using ios::UIView;
using kp::Shadow;

class ShadowTest : public ios::testing::PlatformFixture {};

TEST_F(ShadowTest, PresetsAndEquality) {
  EXPECT_EQ(Shadow::Light(), Shadow(UIColor::black(), UIOffset::zero, 0.3, 1));
  const Shadow base = Shadow::Light();
  std::vector<Shadow> changed(5, base);
  changed[0].color = UIColor::white();
  changed[1].offset.horizontal = 1;
  changed[2].offset.vertical = 1;
  changed[3].opacity = 0.4;
  changed[4].radius = 2;
  for (const Shadow& s : changed) EXPECT_FALSE(s == base) << s;
  EXPECT_EQ(Shadow::None(), Shadow(UIColor::clear(), UIOffset::zero, 0, 0));
  EXPECT_EQ(&Shadow::Dark(), &Shadow::Dark());
  EXPECT_EQ(Shadow::Dark().debugDescription(),
            "Shadow(offset: UIOffset(horizontal: 2.0, vertical: 2.0), opacity: 0.8, radius: 3.0, color: " +
                UIColor::black().description() + ")");
}

TEST_F(ShadowTest, ViewShadowRoundTripsThroughTheLayer) {
  auto view = UIView::make(ios::CGRect(0, 0, 10, 10));
  // A fresh layer's shadow, not Shadow::None().
  EXPECT_EQ(kp::shadow(*view), Shadow(UIColor::black(), UIOffset{0, -3}, 0, 3));
  kp::setShadow(*view, Shadow::None());
  EXPECT_EQ(kp::shadow(*view), Shadow::None());
  kp::setShadow(*view, Shadow::Light());
  const Shadow back = kp::shadow(*view);
  EXPECT_EQ(back.opacity, 0.30000001192092896);
  EXPECT_FALSE(back == Shadow::Light());  // opacity went through single precision
  // A missing colour reads as clear; writing the value back turns it into clear.
  view->layer()->setShadowColor(std::nullopt);
  EXPECT_EQ(kp::shadowColor(*view), std::nullopt);
  Shadow s = kp::shadow(*view);
  EXPECT_EQ(s.color, UIColor::clear());
  s.radius = 4;
  kp::setShadow(*view, s);
  EXPECT_EQ(view->layer()->shadowColor(), UIColor::clear().cgColor());
  EXPECT_EQ(view->layer()->shadowRadius(), 4);
}

// A view that overrides two of the runtime-visible shadow properties and logs setters.
class CustomShadowView : public UIView {
  IOS_RUNTIME_CLASS(CustomShadowView, UIView);

 public:
  std::vector<std::string> log;

 protected:
  CustomShadowView() = default;
};
IOS_DEFINE_RUNTIME_CLASS(CustomShadowView, "ShadowTestCustomView", [](ios::Class cls) {
  ios::class_addMethod(cls, ios::sel_registerName("shadowRadius"),
                       ios::imp([](CustomShadowView&, ios::SEL) -> double { return 42; }));
  auto logging = [](const char* name) {
    return ios::sel_registerName(name);
  };
  ios::class_addMethod(cls, logging("setShadowColor:"),
                       ios::imp([](CustomShadowView& self, ios::SEL cmd, std::optional<UIColor>) {
                         self.log.push_back(ios::sel_getName(cmd));
                       }));
  ios::class_addMethod(cls, logging("setShadowOffset:"), ios::imp([](CustomShadowView& self, ios::SEL cmd, CGSize o) {
                         self.log.push_back(ios::sel_getName(cmd));
                         ios::sendSuper<void>(&self, CustomShadowView::classObject(), cmd, o);
                       }));
  ios::class_addMethod(cls, logging("setShadowOpacity:"),
                       ios::imp([](CustomShadowView& self, ios::SEL cmd, double o) {
                         self.log.push_back(ios::sel_getName(cmd));
                         ios::sendSuper<void>(&self, CustomShadowView::classObject(), cmd, o);
                       }));
  ios::class_addMethod(cls, logging("setShadowRadius:"), ios::imp([](CustomShadowView& self, ios::SEL cmd, double r) {
                         self.log.push_back(ios::sel_getName(cmd));
                         ios::sendSuper<void>(&self, CustomShadowView::classObject(), cmd, r);
                       }));
})

TEST_F(ShadowTest, ShadowGoesThroughRuntimeMessages) {
  auto view = CustomShadowView::make();
  EXPECT_EQ(kp::shadow(*view).radius, 42);
  kp::setShadow(*view, Shadow::Dark());
  EXPECT_THAT(view->log,
              ::testing::ElementsAre("setShadowColor:", "setShadowOffset:", "setShadowOpacity:", "setShadowRadius:"));
  EXPECT_EQ(view->layer()->shadowColor(), UIColor::black().cgColor());  // the override stored nothing
  EXPECT_EQ(view->layer()->shadowOffset(), CGSize(2, 2));
  EXPECT_STREQ(ios::property_getAttributes(ios::class_getProperty(UIView::classObject(), "shadowOffset")),
               "T{CGSize=dd},N");
}

TEST_F(ShadowTest, ReadyMadeStyles) {
  auto view = UIView::make(ios::CGRect(0, 0, 100, 40));
  view->layer()->setMasksToBounds(true);
  ios::CGMutablePath existing;
  existing.addRect({{0, 0}, {1, 1}});
  view->layer()->setShadowPath(existing);
  kp::applyPlainShadow(*view);
  EXPECT_EQ(kp::shadowColor(*view), UIColor::gray());
  EXPECT_EQ(kp::shadowOffset(*view), CGSize(0, 3));
  EXPECT_EQ(view->layer()->shadowOpacity(), 0.4f);
  EXPECT_EQ(kp::shadowRadius(*view), 4);
  EXPECT_TRUE(view->layer()->masksToBounds());
  EXPECT_EQ(view->layer()->shadowPath()->elements().size(), 1u);

  kp::applyHoverShadow(*view);
  EXPECT_EQ(kp_test::pathBoundingBox(*view->layer()->shadowPath()), ios::CGRect(5, 45, 90, 15));
  // The 15-point band has round ends: its radius of 10 is limited to 7.5 both ways.
  const auto& hover = view->layer()->shadowPath()->elements();
  EXPECT_EQ(hover[0].p0, ios::CGPoint(12.5, 45));
  EXPECT_EQ(hover[2].p0, ios::CGPoint(95, 52.5));
  EXPECT_EQ(view->layer()->shadowOpacity(), 0.2f);
  EXPECT_EQ(kp::shadowRadius(*view), 5);
  EXPECT_EQ(kp::shadowOffset(*view), CGSize(0, 0));

  kp::applyCurvedShadow(*view);
  const auto& e = view->layer()->shadowPath()->elements();
  using Kind = ios::CGPathElement::Kind;
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[0].kind, Kind::move);
  EXPECT_EQ(e[0].p0, ios::CGPoint(1, 40));
  EXPECT_EQ(e[1].p0, ios::CGPoint(98, 40));
  EXPECT_EQ(e[2].p0, ios::CGPoint(98, 51));
  EXPECT_EQ(e[3].kind, Kind::curve);
  EXPECT_EQ(e[3].p0, ios::CGPoint(1, 51));
  EXPECT_NEAR(e[3].p1.x, 95, 1e-12);
  EXPECT_NEAR(e[3].p1.y, 43.8, 1e-12);
  EXPECT_NEAR(e[3].p2.x, 5, 1e-12);
  EXPECT_NEAR(e[3].p2.y, 43.8, 1e-12);
  EXPECT_EQ(kp::shadowOpacity(*view), static_cast<double>(0.3f));
  EXPECT_EQ(kp::shadowOffset(*view), CGSize(0, -3));
}

}  // namespace
