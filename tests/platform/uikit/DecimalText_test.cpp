// Numbers read from text (visual formats, device variables) take '.' as the decimal
// point whatever the process's C locale says. Where a locale with a decimal comma is
// can be built (localedef), the cases run under it; otherwise under the current locale only.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/NSException.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/internal/DeviceState.h"
#include "tests/support/CommaDecimalLocale.h"

namespace {

using ::testing::ElementsAre;

class DecimalTextTest : public ios::testing::PlatformFixture {
 protected:
  void SetUp() override {
    PlatformFixture::SetUp();
    locale_ = std::make_unique<kp_test::CommaDecimalLocale>();
    if (!locale_->available()) RecordProperty("locale", "no decimal-comma locale could be built; current locale only");
  }
  void TearDown() override {
    locale_.reset();
    PlatformFixture::TearDown();
  }

 private:
  std::unique_ptr<kp_test::CommaDecimalLocale> locale_;
};

TEST_F(DecimalTextTest, VisualFormatReadsFractions) {
  auto parent = ios::UIView::make(ios::CGRect(0, 0, 100, 100));
  auto view = ios::UIView::make(ios::CGRect(0, 0, 10, 10));
  parent->addSubview(view);
  const auto constraints =
      ios::NSLayoutConstraint::constraints("H:|-1.5-[v0(20.25)]-+2.5-|", 0, {}, {{"v0", view}});
  std::vector<double> constants;
  for (const auto& c : constraints) constants.push_back(c->constant());
  EXPECT_THAT(constants, ElementsAre(1.5, 20.25, 2.5));
}

TEST_F(DecimalTextTest, DeviceVariablesReadFractions) {
  const std::map<std::string, std::string> environment = {{"KP_DEVICE_SCREEN_SCALE", " 2.5"},
                                                          {"KP_DEVICE_SCREEN_SIZE", "390.5x+844.25"}};
  std::vector<std::string> warnings;
  const ios::DeviceDescription parsed = ios::uikit_internal::parseDeviceEnvironment(
      [&](const char* name) -> const char* {
        const auto found = environment.find(name);
        return found == environment.end() ? nullptr : found->second.c_str();
      },
      [&](const std::string& message) { warnings.push_back(message); });
  EXPECT_EQ(parsed.screenScale, std::optional<double>(2.5));
  ASSERT_TRUE(parsed.screenSize.has_value());
  EXPECT_EQ(*parsed.screenSize, ios::CGSize(390.5, 844.25));
  EXPECT_TRUE(warnings.empty());
}

TEST_F(DecimalTextTest, DeviceVariablesRefuseWhatIsNotOneNumber) {
  for (const char* text : {"+-2", "2,5", "2.5x", "", "+", "2.5.1"}) {
    SCOPED_TRACE(text);
    std::vector<std::string> warnings;
    const ios::DeviceDescription parsed = ios::uikit_internal::parseDeviceEnvironment(
        [&](const char* name) -> const char* {
          return std::string(name) == "KP_DEVICE_SCREEN_SCALE" ? text : nullptr;
        },
        [&](const std::string& message) { warnings.push_back(message); });
    EXPECT_FALSE(parsed.screenScale.has_value());
    EXPECT_EQ(warnings.size(), 1u);
  }
}

}  // namespace

namespace {

TEST_F(DecimalTextTest, VisualFormatRefusesNumbersBeyondADouble) {
  auto parent = ios::UIView::make(ios::CGRect(0, 0, 100, 100));
  auto view = ios::UIView::make(ios::CGRect(0, 0, 10, 10));
  parent->addSubview(view);
  const std::string huge(400, '9');  // beyond a double's range
  EXPECT_THROW((void)ios::NSLayoutConstraint::constraints("H:|-" + huge + "-[v0]|", 0, {}, {{"v0", view}}),
               ios::NSException);
  const auto largest = ios::NSLayoutConstraint::constraints("H:|-" + huge.substr(0, 300) + "-[v0]|", 0, {}, {{"v0", view}});
  ASSERT_FALSE(largest.empty());
  EXPECT_EQ(largest.front()->constant(), 1e300);
}

}  // namespace
