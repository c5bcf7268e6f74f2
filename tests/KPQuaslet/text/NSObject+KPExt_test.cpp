#include "KPQuaslet/text/NSObject+KPExt.h"

#include <gtest/gtest.h>

#include "KPQuaslet/views/BlockGestureRecognizer.h"
#include "platform/runtime/Runtime.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIView.h"

namespace {

class NSObjectKPExt : public ios::testing::PlatformFixture {};

ios::Class registered(const char* name) {
  ios::Class cls = ios::objc_getClass(name);
  if (cls == nullptr) {
    cls = ios::objc_allocateClassPair(ios::NSObject::classObject(), name);
    ios::objc_registerClassPair(cls);
  }
  return cls;
}

TEST_F(NSObjectKPExt, RuntimeNamesReadWithTheModuleAndTypeNamesWithout) {
  struct Row {
    const char* registeredName;
    const char* runtimeName;  // NSStringFromClass
    const char* bareName;     // stringFrom
  };
  const Row rows[] = {
      {"_TtC10NamesTests5Thing", "NamesTests.Thing", "Thing"},
      {"_TtC10NamesTests5Thingy", "_TtC10NamesTests5Thingy", "_TtC10NamesTests5Thingy"},
      {"_TtC99NamesTests", "_TtC99NamesTests", "_TtC99NamesTests"},
      {"Outer.Inner.Leaf", "Outer.Inner.Leaf", "Leaf"},
      {"PlainNamesTestClass", "PlainNamesTestClass", "PlainNamesTestClass"},
  };
  for (const Row& row : rows) {
    const ios::Class cls = registered(row.registeredName);
    EXPECT_EQ(ios::NSStringFromClass(cls), row.runtimeName) << row.registeredName;
    EXPECT_STREQ(ios::class_getName(cls), row.registeredName);
    EXPECT_EQ(kp::stringFrom(cls), row.bareName) << row.registeredName;
  }
  EXPECT_EQ(kp::stringFrom(nullptr), "");
}

TEST_F(NSObjectKPExt, ClassNameOfObjectsAndClasses) {
  EXPECT_EQ(ios::NSStringFromClass(kp::BlockTap::classObject()), "KPQuaslet.BlockTap");
  EXPECT_EQ(kp::stringFrom(kp::BlockTap::classObject()), "BlockTap");
  EXPECT_EQ(kp::className<kp::BlockTap>(), "BlockTap");
  EXPECT_EQ(kp::className<ios::UIView>(), "UIView");

  const auto tap = kp::BlockTap::make();
  const ios::NSObject& asObject = *tap;
  EXPECT_EQ(kp::className(asObject), "BlockTap") << "the dynamic class";
  EXPECT_EQ(kp::className(*ios::UIView::make()), "UIView");
}

}  // namespace
