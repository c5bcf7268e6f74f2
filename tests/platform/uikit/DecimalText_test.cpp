// Numbers read from text (visual formats, device variables) take '.' as the decimal
// point whatever the process's C locale says. Where a locale with a decimal comma is
// installed, the cases run under it; otherwise under the current locale only.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/internal/DeviceState.h"

namespace {

using ::testing::ElementsAre;

// Switches LC_NUMERIC to the first installed locale whose decimal point is a comma,
// and back on destruction.
class CommaDecimalLocale {
 public:
  CommaDecimalLocale() : saved_(std::setlocale(LC_NUMERIC, nullptr)) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8",
                             "ru_RU.UTF-8", "es_ES.UTF-8", "it_IT.UTF-8"}) {
      if (std::setlocale(LC_NUMERIC, name) != nullptr && std::localeconv()->decimal_point[0] == ',') {
        active_ = true;
        return;
      }
    }
    std::setlocale(LC_NUMERIC, saved_.c_str());
  }
  ~CommaDecimalLocale() { std::setlocale(LC_NUMERIC, saved_.c_str()); }
  CommaDecimalLocale(const CommaDecimalLocale&) = delete;
  CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;
  [[nodiscard]] bool active() const { return active_; }

 private:
  std::string saved_;
  bool active_ = false;
};

class DecimalTextTest : public ios::testing::PlatformFixture {
 protected:
  void SetUp() override {
    PlatformFixture::SetUp();
    locale_ = std::make_unique<CommaDecimalLocale>();
    if (!locale_->active()) RecordProperty("locale", "no decimal-comma locale installed; current locale only");
  }
  void TearDown() override {
    locale_.reset();
    PlatformFixture::TearDown();
  }

 private:
  std::unique_ptr<CommaDecimalLocale> locale_;
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
  for (const char* text : {"+-2", "2,5", "2.5x", "", "+", "0x2"}) {
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
