#include "platform/runtime/Runtime.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/uikit/UIApplication.h"
#include "tests/support/RuntimeTestClasses.h"

namespace ios {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;
using testing::answering;
using testing::ask;
using testing::makeTestClass;
using testing::sel;

TEST(Runtime, ClassPairsHaveMetaclassesThatMirrorTheClassChain) {
  Class base = makeTestClass("Base");
  Class sub = makeTestClass("Sub", base);
  Class root = NSObject::classObject();
  Class rootMeta = object_getClass(root);

  EXPECT_EQ(class_getSuperclass(sub), base);
  EXPECT_EQ(class_getSuperclass(base), root);
  EXPECT_EQ(class_getSuperclass(root), nullptr);
  EXPECT_TRUE(class_isMetaClass(object_getClass(sub)));
  EXPECT_FALSE(class_isMetaClass(sub));
  EXPECT_EQ(class_getSuperclass(object_getClass(sub)), object_getClass(base));
  // The root metaclass inherits from the root class; every metaclass is an instance of it.
  EXPECT_EQ(class_getSuperclass(rootMeta), root);
  EXPECT_EQ(object_getClass(object_getClass(sub)), rootMeta);
  EXPECT_EQ(object_getClass(rootMeta), rootMeta);
  EXPECT_STREQ(class_getName(object_getClass(sub)), class_getName(sub));
}

TEST(Runtime, ClassesAreFoundAndListedOnlyOnceRegistered) {
  const int before = objc_getClassList(nullptr, 0);
  Class pending = objc_allocateClassPair(NSObject::classObject(), "RuntimeTestPending");
  ASSERT_NE(pending, nullptr);
  EXPECT_EQ(objc_allocateClassPair(NSObject::classObject(), "RuntimeTestPending"), nullptr);
  EXPECT_EQ(objc_getClass("RuntimeTestPending"), nullptr);
  EXPECT_EQ(objc_getClassList(nullptr, 0), before);

  objc_registerClassPair(pending);
  objc_registerClassPair(pending);  // a second registration changes nothing
  EXPECT_EQ(objc_getClass("RuntimeTestPending"), pending);
  EXPECT_EQ(NSClassFromString("RuntimeTestPending"), pending);
  EXPECT_EQ(objc_getMetaClass("RuntimeTestPending"), object_getClass(pending));
  EXPECT_EQ(NSStringFromClass(pending), "RuntimeTestPending");
  EXPECT_EQ(NSStringFromClass(nullptr), "");
  EXPECT_STREQ(class_getName(nullptr), "nil");

  const int count = objc_getClassList(nullptr, 0);
  EXPECT_EQ(count, before + 1);
  std::vector<Class> all(static_cast<std::size_t>(count) + 2, nullptr);
  EXPECT_EQ(objc_getClassList(all.data(), static_cast<int>(all.size())), count);
  EXPECT_EQ(all[static_cast<std::size_t>(count) - 1], pending);  // registration order
  EXPECT_EQ(all[static_cast<std::size_t>(count)], nullptr);      // nothing past the count

  std::vector<Class> two(2, nullptr);
  EXPECT_EQ(objc_getClassList(two.data(), 2), count);
  EXPECT_EQ(two[0], all[0]);
  EXPECT_EQ(two[1], all[1]);
}

TEST(Runtime, SelectorsAreInternedByName) {
  EXPECT_EQ(sel_registerName("setTitle:"), sel_registerName(std::string("set") + "Title:"));
  EXPECT_NE(sel_registerName("title"), sel_registerName("title:"));
  EXPECT_STREQ(sel_getName(sel_registerName("title:")), "title:");
  EXPECT_EQ(NSStringFromSelector(NSSelectorFromString("a:b:")), "a:b:");
  EXPECT_EQ(NSSelectorFromString(""), nullptr);
  EXPECT_EQ(NSStringFromSelector(nullptr), "");
}

TEST(Runtime, AddMethodRefusesWhatTheClassDefinesButOverridesWhatItInherits) {
  Class base = makeTestClass("AddBase");
  Class sub = makeTestClass("AddSub", base);
  auto object = class_createInstance(sub);

  EXPECT_TRUE(class_addMethod(base, sel("label"), answering("base")));
  EXPECT_FALSE(class_addMethod(base, sel("label"), answering("other")));
  EXPECT_EQ(ask(object, sel("label")), "base");
  EXPECT_EQ(class_getInstanceMethod(sub, sel("label")), class_getInstanceMethod(base, sel("label")));

  EXPECT_TRUE(class_addMethod(sub, sel("label"), answering("sub")));
  EXPECT_NE(class_getInstanceMethod(sub, sel("label")), class_getInstanceMethod(base, sel("label")));
  EXPECT_EQ(ask(object, sel("label")), "sub");
  EXPECT_EQ(ask(class_createInstance(base), sel("label")), "base");

  EXPECT_TRUE(class_respondsToSelector(sub, sel("label")));
  EXPECT_FALSE(class_respondsToSelector(sub, sel("unknownLabel")));
  EXPECT_TRUE(object->respondsToSelector(sel("label")));
  EXPECT_EQ(class_getInstanceMethod(sub, sel("unknownLabel")), nullptr);
  EXPECT_EQ(class_getInstanceMethod(nullptr, sel("label")), nullptr);
  EXPECT_EQ(class_copyMethodList(sub), std::vector<Method>{class_getInstanceMethod(sub, sel("label"))});
}

TEST(Runtime, ReplaceMethodSetsOwnMethodsAndAddsMissingOnes) {
  Class base = makeTestClass("ReplaceBase");
  Class sub = makeTestClass("ReplaceSub", base);
  IMP original = answering("original");
  class_addMethod(base, sel("label"), original);

  IMP replacement = answering("replacement");
  EXPECT_EQ(class_replaceMethod(base, sel("label"), replacement), original);
  EXPECT_EQ(class_getMethodImplementation(base, sel("label")), replacement);

  // The subclass only inherits: the method is added to it and nothing was replaced.
  EXPECT_FALSE(class_replaceMethod(sub, sel("label"), answering("sub")));
  EXPECT_EQ(ask(class_createInstance(sub), sel("label")), "sub");
  EXPECT_EQ(ask(class_createInstance(base), sel("label")), "replacement");
}

TEST(Runtime, SetAndExchangeImplementationsAnswerAndMoveTheImplementations) {
  Class cls = makeTestClass("Exchange");
  class_addMethod(cls, sel("left"), answering("L"));
  class_addMethod(cls, sel("right"), answering("R"));
  Method left = class_getInstanceMethod(cls, sel("left"));
  Method right = class_getInstanceMethod(cls, sel("right"));
  IMP leftImp = method_getImplementation(left);
  IMP rightImp = method_getImplementation(right);

  method_exchangeImplementations(left, right);
  EXPECT_EQ(method_getImplementation(left), rightImp);
  EXPECT_EQ(method_getImplementation(right), leftImp);
  EXPECT_EQ(method_getName(left), sel("left"));
  auto object = class_createInstance(cls);
  EXPECT_EQ(ask(object, sel("left")), "R");

  IMP third = answering("3");
  EXPECT_EQ(method_setImplementation(left, third), rightImp);
  EXPECT_EQ(ask(object, sel("left")), "3");
  EXPECT_EQ(ask(object, sel("right")), "L");
}

TEST(Runtime, MethodRecordsNeverMoveWhileTheTableGrows) {
  Class cls = makeTestClass("Stable");
  class_addMethod(cls, sel("first"), answering("first"));
  Method first = class_getInstanceMethod(cls, sel("first"));
  for (int i = 0; i < 500; ++i) class_addMethod(cls, sel("filler" + std::to_string(i)), answering("x"));
  EXPECT_EQ(class_getInstanceMethod(cls, sel("first")), first);
  EXPECT_EQ(ask(class_createInstance(cls), sel("first")), "first");
}

TEST(Runtime, TypeEncodingsComeFromTheImplementationUnlessGiven) {
  IMP typed = imp([](NSObject&, SEL, std::int64_t, id, bool, SEL) -> double { return 0; });
  EXPECT_EQ(typed.typeEncoding(), "d@:q@B:");
  EXPECT_EQ(typed.signatureName(), "double (long, std::shared_ptr<ios::NSObject>, bool, ios::objc_selector const*)");
  EXPECT_EQ(imp([](NSObject&, SEL, const std::string&) {}).typeEncoding(), "v@:@");
  EXPECT_EQ(imp([](NSObject&, SEL, float, std::uint32_t, Class) -> int { return 0; }).typeEncoding(), "i@:fI#");

  Class cls = makeTestClass("Encoded");
  class_addMethod(cls, sel("typed"), typed);
  class_addMethod(cls, sel("given"), typed, "v24@0:8");
  EXPECT_STREQ(method_getTypeEncoding(class_getInstanceMethod(cls, sel("typed"))), "d@:q@B:");
  EXPECT_STREQ(method_getTypeEncoding(class_getInstanceMethod(cls, sel("given"))), "v24@0:8");
}

TEST(Runtime, ProtocolsAreAdoptedByAClassAndInheritedBySubclasses) {
  Protocol* drawable = objc_allocateProtocol("RuntimeTestDrawable");
  ASSERT_NE(drawable, nullptr);
  EXPECT_EQ(objc_getProtocol("RuntimeTestDrawable"), nullptr);  // not yet registered
  objc_registerProtocol(drawable);
  EXPECT_EQ(objc_getProtocol("RuntimeTestDrawable"), drawable);
  EXPECT_EQ(objc_allocateProtocol("RuntimeTestDrawable"), nullptr);
  EXPECT_STREQ(protocol_getName(drawable), "RuntimeTestDrawable");

  Class base = makeTestClass("Shape");
  Class sub = makeTestClass("Circle", base);
  EXPECT_TRUE(class_addProtocol(base, drawable));
  EXPECT_FALSE(class_addProtocol(base, drawable));

  EXPECT_TRUE(class_conformsToProtocol(base, drawable));
  EXPECT_FALSE(class_conformsToProtocol(sub, drawable));  // its own list only
  EXPECT_TRUE(conformsToProtocol(sub, drawable));
  EXPECT_FALSE(conformsToProtocol(NSObject::classObject(), drawable));
  EXPECT_TRUE(class_createInstance(sub)->conformsToProtocol(drawable));
  EXPECT_TRUE(sub->conformsToProtocol(drawable));  // the class object itself
}

TEST(Runtime, PropertiesKeepTheirAttributeStrings) {
  Class base = makeTestClass("Styled");
  Class sub = makeTestClass("StyledSub", base);
  EXPECT_TRUE(class_addProperty(base, "cornerRadius", "Td,N"));
  EXPECT_TRUE(class_addProperty(base, "borderColor", "T@\"UIColor\",N,&"));
  EXPECT_FALSE(class_addProperty(base, "cornerRadius", "Tq,N"));

  objc_property_t radius = class_getProperty(sub, "cornerRadius");
  ASSERT_NE(radius, nullptr);
  EXPECT_STREQ(property_getName(radius), "cornerRadius");
  EXPECT_STREQ(property_getAttributes(radius), "Td,N");
  EXPECT_EQ(class_getProperty(sub, "missing"), nullptr);
  EXPECT_TRUE(class_copyPropertyList(sub).empty());
  std::vector<std::string> names;
  for (auto p : class_copyPropertyList(base)) names.emplace_back(property_getName(p));
  EXPECT_THAT(names, ElementsAre("cornerRadius", "borderColor"));
}

TEST(Runtime, CategoriesReplaceOwnMethodsAddMissingOnesAndAreNamed) {
  Class base = makeTestClass("CategoryBase");
  Class cls = makeTestClass("CategoryTarget", base);
  class_addMethod(base, sel("inherited"), answering("base"));
  class_addMethod(cls, sel("own"), answering("own"));
  const char* oldAttributes = nullptr;
  class_addProperty(cls, "flag", "TB,N");
  oldAttributes = property_getAttributes(class_getProperty(cls, "flag"));

  Category category{"Extras",
                    {{sel("own"), answering("own from category"), {}}, {sel("inherited"), answering("override"), {}}},
                    {{sel("shared"), answering("class method"), {}}},
                    {{"flag", "Tq,N"}, {"extra", "Td,N"}}};
  attachCategory(cls, category);
  attachCategory(cls, category);
  attachCategory(cls, Category{"More", {}, {}, {}});

  auto object = class_createInstance(cls);
  EXPECT_EQ(ask(object, sel("own")), "own from category");
  EXPECT_EQ(ask(object, sel("inherited")), "override");
  EXPECT_EQ(ask(class_createInstance(base), sel("inherited")), "base");
  EXPECT_EQ(ask(cls, sel("shared")), "class method");
  EXPECT_STREQ(property_getAttributes(class_getProperty(cls, "flag")), "Tq,N");
  EXPECT_STREQ(oldAttributes, "TB,N");  // earlier answers stay valid
  EXPECT_STREQ(property_getAttributes(class_getProperty(cls, "extra")), "Td,N");
  EXPECT_THAT(categoryNames(cls), ElementsAre("Extras", "More"));
  EXPECT_TRUE(categoryNames(base).empty());
}

TEST(Runtime, CreateInstanceMakesTheNearestCppClassWithTheRuntimeClass) {
  Class base = makeTestClass("Made");
  Class sub = makeTestClass("MadeSub", base);
  id object = class_createInstance(sub);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->getClass(), sub);
  EXPECT_TRUE(object->isKindOfClass(base));
  EXPECT_TRUE(object->isKindOfClass(NSObject::classObject()));
  EXPECT_FALSE(object->isMemberOfClass(base));
  EXPECT_FALSE(class_createInstance(base)->isKindOfClass(sub));

  EXPECT_EQ(class_createInstance(object_getClass(sub)), nullptr);  // a metaclass
  EXPECT_EQ(class_createInstance(nullptr), nullptr);
  // A class whose constructor is not public is made by name too; the one application
  // only through its factory.
  EXPECT_TRUE(class_createInstance(UIResponder::classObject())->isMemberOfClass(UIResponder::classObject()));
  EXPECT_EQ(class_createInstance(makeTestClass("AppSub", UIApplication::classObject())), nullptr);
}

TEST(Runtime, PlatformClassesRegisterOnFirstUseAfterTheirSuperclass) {
  Class application = UIApplication::classObject();
  EXPECT_EQ(objc_getClass("UIApplication"), application);
  EXPECT_EQ(class_getSuperclass(application), UIResponder::classObject());
  EXPECT_EQ(class_getSuperclass(UIResponder::classObject()), NSObject::classObject());
  EXPECT_STREQ(property_getAttributes(class_getProperty(UIResponder::classObject(), "nextResponder")),
               "T@\"UIResponder\",R,N");
  auto shared = UIApplication::shared();
  EXPECT_EQ(shared, UIApplication::shared());
  EXPECT_TRUE(shared->isMemberOfClass(application));
  EXPECT_TRUE(shared->respondsToSelector(UIResponder::nextResponderSelector()));
}

}  // namespace
}  // namespace ios
