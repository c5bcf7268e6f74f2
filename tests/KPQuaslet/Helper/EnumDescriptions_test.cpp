// Every enum of the library prints as its case name, never as its underlying integer
// or raw value; an enum without names is not printable at all.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "KPQuaslet/Helper/KPFunctions.h"
#include "KPQuaslet/Helper/KPKitError.h"
#include "KPQuaslet/imaging/Gradient.h"
#include "KPQuaslet/imaging/KPImageColors.h"
#include "KPQuaslet/services/KPAuthManager.h"
#include "KPQuaslet/services/KPKeychain.h"
#include "KPQuaslet/services/KPSystemSound.h"
#include "KPQuaslet/services/UIDevice+KPExt.h"
#include "KPQuaslet/text/String+KPSlicing.h"
#include "KPQuaslet/views/UIButton+KPExt.h"
#include "KPQuaslet/views/UIView+KPAnimation.h"
#include "KPQuaslet/views/UIView+Shake.h"
#include "platform/foundation/Describe.h"
#include "platform/uikit/UIApplication.h"

namespace {

using ::testing::ElementsAre;

enum class Unnamed { a, b };

static_assert(ios::NamedEnum<kp::KP::logLevel>);
static_assert(ios::NamedEnum<kp::KPKitError::Code>);
static_assert(ios::NamedEnum<kp::KPSystemSound::AudioID>);
static_assert(ios::NamedEnum<kp::LocalAuthError>);
static_assert(ios::NamedEnum<kp::KPKeychainAccessOptions>);
static_assert(ios::NamedEnum<kp::Size>);
static_assert(ios::NamedEnum<kp::Versions>);
static_assert(ios::NamedEnum<kp::TrimmingType>);
static_assert(ios::NamedEnum<kp::ShakeDirection>);
static_assert(ios::NamedEnum<kp::UIViewAnimationFlipDirection>);
static_assert(ios::NamedEnum<kp::UIViewAnimationTranslationDirection>);
static_assert(ios::NamedEnum<kp::UIButtonImageHorizontalAlignment>);
static_assert(ios::NamedEnum<kp::KPImageColorsQuality>);
static_assert(ios::NamedEnum<kp::KPDirection::Kind>);
static_assert(ios::NamedEnum<kp::KPImageGradientDirection::Kind>);
static_assert(ios::NamedEnum<ios::UIInterfaceOrientation>);
static_assert(!ios::NamedEnum<Unnamed>, "an enum without names must not print");

// The printed names of every case, in declaration order.
template <class E>
std::vector<std::string> printedNames() {
  std::vector<std::string> names;
  for (E value : kp::allCases<E>()) names.push_back(ios::describe(value));
  return names;
}

// Each case has its own name, and none is a number.
template <class E>
void expectDistinctNames() {
  const std::vector<std::string> names = printedNames<E>();
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
  for (const auto& name : names) {
    ASSERT_FALSE(name.empty());
    EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(name.front()))) << name;
  }
}

TEST(EnumDescriptions, EveryCaseOfEveryEnumHasItsOwnName) {
  expectDistinctNames<kp::KP::logLevel>();
  expectDistinctNames<kp::KPSystemSound::AudioID>();
  expectDistinctNames<kp::LocalAuthError>();
  expectDistinctNames<kp::KPKeychainAccessOptions>();
  expectDistinctNames<kp::Size>();
  expectDistinctNames<kp::Versions>();
  expectDistinctNames<kp::TrimmingType>();
  expectDistinctNames<kp::ShakeDirection>();
  expectDistinctNames<kp::UIViewAnimationFlipDirection>();
  expectDistinctNames<kp::UIViewAnimationTranslationDirection>();
  expectDistinctNames<kp::UIButtonImageHorizontalAlignment>();
  expectDistinctNames<kp::KPImageColorsQuality>();
}

TEST(EnumDescriptions, CasesPrintTheirNamesNotTheirValues) {
  EXPECT_EQ(ios::describe(kp::Size::screen4Inch), "screen4Inch");
  EXPECT_EQ(ios::describe(kp::Versions::eleven), "eleven");
  EXPECT_EQ(ios::describe(kp::KPKeychainAccessOptions::accessibleAlways), "accessibleAlways");
  EXPECT_EQ(ios::describe(kp::UIViewAnimationFlipDirection::top), "top") << "not its raw value fromTop";
  EXPECT_EQ(ios::describe(kp::KPKitError::Code::pathNotAllowed), "pathNotAllowed");
  EXPECT_EQ(ios::describe(ios::UIInterfaceOrientation::landscapeLeft), "landscapeLeft");
  EXPECT_THAT(printedNames<kp::Versions>(), ElementsAre("eight", "nine", "ten", "eleven", "twelve"));
  EXPECT_THAT(printedNames<kp::KPImageColorsQuality>(), ElementsAre("lowest", "low", "high", "highest"));
  EXPECT_EQ(ios::describe(std::vector<kp::ShakeDirection>{kp::ShakeDirection::vertical}), "[vertical]");
}

TEST(EnumDescriptions, GradientDirectionsPrintTheirCaseAndAngle) {
  EXPECT_EQ(ios::describe(kp::KPDirection::top()), "top");
  EXPECT_EQ(ios::describe(kp::KPDirection::degree(45)), "degree(45.0)");
  EXPECT_EQ(ios::describe(kp::KPImageGradientDirection::toBottomLeft()), "toBottomLeft");
  EXPECT_EQ(ios::describe(kp::KPImageGradientDirection::degree(22.5)), "degree(22.5)");
}

TEST(EnumDescriptionsDeathTest, AValueThatIsNoCaseStopsInsteadOfPrintingANumber) {
  EXPECT_DEATH((void)ios::describe(static_cast<kp::Size>(42)), "Size: 42 is the value of no case");
  EXPECT_DEATH((void)ios::describe(static_cast<kp::KPSystemSound::AudioID>(7)), "AudioID: 7 is the value of no case");
}

}  // namespace
