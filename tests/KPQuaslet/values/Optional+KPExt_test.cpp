#include "KPQuaslet/values/Optional+KPExt.h"

#include <gtest/gtest.h>

#include <any>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "KPQuaslet/values/KPConfigurable.h"

namespace {

struct Note {
  std::string text;
  bool isEmpty() const { return text.empty(); }
};

TEST(OptionalKPExt, BoolValue) {
  EXPECT_FALSE(kp::boolValue(std::optional<int>()));
  EXPECT_FALSE(kp::boolValue(std::optional<bool>(false)));
  EXPECT_TRUE(kp::boolValue(std::optional<bool>(true)));
  EXPECT_TRUE(kp::boolValue(std::optional<int>(0)));
  EXPECT_TRUE(kp::boolValue(std::optional<std::string>("")));
  EXPECT_FALSE(kp::boolValue(std::any()));
  EXPECT_FALSE(kp::boolValue(std::any(false)));
  EXPECT_TRUE(kp::boolValue(std::any(0)));
  EXPECT_FALSE(kp::boolValue(std::optional<std::any>(std::any(false))));
  EXPECT_FALSE(kp::boolValue(std::optional<std::any>(std::any())));
  EXPECT_TRUE(kp::boolValue(std::optional<std::any>(std::any(std::string("no")))));
  EXPECT_FALSE(kp::boolValue(std::shared_ptr<Note>()));
  EXPECT_TRUE(kp::boolValue(std::make_shared<Note>()));
  EXPECT_TRUE(kp::boolValue("false"));
  EXPECT_FALSE(kp::boolValue(""));
}

TEST(OptionalKPExt, Emptiness) {
  EXPECT_TRUE(kp::isNilOrEmpty(std::nullopt));
  EXPECT_TRUE(kp::isNilOrEmpty(std::string()));
  EXPECT_FALSE(kp::isNilOrEmpty(std::string(" ")));
  EXPECT_TRUE(kp::isEmpty(std::optional<std::string>()));
  EXPECT_TRUE(kp::isEmpty(std::optional<std::string>("")));
  EXPECT_FALSE(kp::isEmpty(std::optional<std::string>("x")));
  EXPECT_TRUE(kp::isEmpty(std::optional<Note>()));
  EXPECT_TRUE(kp::isEmpty(std::optional<Note>(Note{})));
  EXPECT_FALSE(kp::isEmpty(std::optional<Note>(Note{"x"})));
  static_assert(!kp::TextContaining<int>);
  static_assert(kp::TextContaining<Note>);
}

TEST(OptionalKPExt, HooksRunOnlyForTheirCaseAndAnswerTheOptional) {
  const std::optional<int> some = 4;
  const std::optional<int> none;
  int seen = 0;
  int noneCalls = 0;
  const std::optional<int> a = kp::ifNone(kp::ifSome(some, [&](int v) { seen = v; }), [&] { ++noneCalls; });
  EXPECT_EQ(a, some);
  EXPECT_EQ(seen, 4);
  EXPECT_EQ(noneCalls, 0);
  const std::optional<int> b = kp::ifSome(kp::ifNone(none, [&] { ++noneCalls; }), [&](int) { seen = -1; });
  EXPECT_EQ(b, none);
  EXPECT_EQ(seen, 4);
  EXPECT_EQ(noneCalls, 1);
  auto object = std::make_shared<Note>(Note{"hi"});
  std::string text;
  EXPECT_EQ(kp::ifSome(object, [&](const Note& n) { text = n.text; }), object);  // the same object
  EXPECT_EQ(text, "hi");
}

TEST(OptionalKPExt, HooksOnATemporaryAnswerAValueThatOutlivesIt) {
  // The answer is a value: bound to a reference, it lives as long as the reference (a
  // reference to the temporary argument would dangle once the statement ends).
  const auto& kept = kp::ifSome(std::optional<std::string>(std::string(64, 'x')), [](const std::string&) {});
  const auto& alsoKept = kp::ifNone(std::optional<std::string>(std::string(64, 'y')), [] {});
  EXPECT_EQ(kept, std::string(64, 'x'));
  EXPECT_EQ(alsoKept, std::string(64, 'y'));
  static_assert(!std::is_reference_v<decltype(kp::ifSome(std::optional<int>(), [](int) {}))>);
}

TEST(OptionalKPExt, DescribeOrEvaluatesTheDefaultOnlyWhenNil) {
  int calls = 0;
  const auto fallback = [&] {
    ++calls;
    return std::string("none");
  };
  EXPECT_EQ(kp::describeOr(std::optional<int>(42), fallback), "42");
  EXPECT_EQ(kp::describeOr(std::optional<std::string>("text"), fallback), "text");
  EXPECT_EQ(kp::describeOr(std::optional<bool>(true), fallback), "true");
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(kp::describeOr(std::optional<int>(), fallback), "none");
  EXPECT_EQ(kp::describeOr(std::optional<int>(), [] { return "literal"; }), "literal");
  EXPECT_EQ(calls, 1);
}

TEST(OptionalKPExt, LooselyEqualMatchesExactTypes) {
  struct Row {
    const char* name;
    bool result;
  };
  const Row rows[] = {
      {"nil and nil", kp::looselyEqual(std::any(), std::optional<int>())},
      {"5 and 5", kp::looselyEqual(std::any(5), std::optional<int>(5))},
      {"5 and 6", !kp::looselyEqual(std::any(5), std::optional<int>(6))},
      {"text 5 and 5", !kp::looselyEqual(std::any(std::string("5")), std::optional<int>(5))},
      {"int 5 and long 5", !kp::looselyEqual(std::any(5), std::optional<long>(5))},
      {"5 and nil", !kp::looselyEqual(std::any(5), std::optional<int>())},
      {"nil and 5", !kp::looselyEqual(std::any(), std::optional<int>(5))},
      {"text and text", kp::looselyEqual(std::any(std::string("a")), std::optional<std::string>("a"))},
      {"plain 5 and 5", kp::looselyEqual(5, std::optional<int>(5))},
      {"a struct and nil", !kp::looselyEqual(Note{}, std::optional<int>())},
  };
  for (const Row& row : rows) EXPECT_TRUE(row.result) << row.name;
}

// Where the platform takes `Any?`, an optional handed in is nil or its value, not a
// value of its own.
TEST(OptionalKPExt, AnOptionalArgumentIsNilOrItsValue) {
  struct Row {
    const char* name;
    bool result;
    bool expected;
  };
  const Row rows[] = {
      {"5? and 5?", kp::looselyEqual(std::optional<int>(5), std::optional<int>(5)), true},
      {"5? and 6?", kp::looselyEqual(std::optional<int>(5), std::optional<int>(6)), false},
      {"nil? and nil?", kp::looselyEqual(std::optional<int>(), std::optional<int>()), true},
      {"nil? and 5?", kp::looselyEqual(std::optional<int>(), std::optional<int>(5)), false},
      {"5? and nil?", kp::looselyEqual(std::optional<int>(5), std::optional<int>()), false},
      {"long 5? and 5?", kp::looselyEqual(std::optional<long>(5), std::optional<int>(5)), false},
      {"nil of another type and nil", kp::looselyEqual(std::optional<double>(), std::optional<int>()), true},
      {"any(5?) and 5?", kp::looselyEqual(std::any(std::optional<int>(5)), std::optional<int>(5)), true},
      {"any(nil?) and nil?", kp::looselyEqual(std::any(std::optional<int>()), std::optional<int>()), true},
      {"any(nil?) and 5?", kp::looselyEqual(std::any(std::optional<int>()), std::optional<int>(5)), false},
      {"nullopt and nil?", kp::looselyEqual(std::nullopt, std::optional<int>()), true},
      {"text? and text", kp::looselyEqual(std::optional<std::string>("a"), std::optional<std::string>("a")), true},
      {"equal text?", kp::equal("5", std::optional<std::string>("5")), true},
      {"equal other text?", kp::equal("5", std::optional<std::string>("6")), false},
      {"equal nil text?", kp::equal("5", std::optional<std::string>()), false},
      {"equal any(text?)", kp::equal("5", std::any(std::optional<std::string>("5"))), true},
      {"equal int?", kp::equal("5", std::optional<int>(5)), false},
      {"boolValue any(false?)", kp::boolValue(std::any(std::optional<bool>(false))), false},
      {"boolValue any(nil?)", kp::boolValue(std::any(std::optional<int>())), false},
      {"boolValue any(0?)", kp::boolValue(std::any(std::optional<int>(0))), true},
  };
  for (const Row& row : rows) EXPECT_EQ(row.result, row.expected) << row.name;
}

TEST(OptionalKPExt, EqualTakesTextInAnyOfItsSpellings) {
  struct Row {
    const char* name;
    bool result;
    bool expected;
  };
  const std::string_view view = "5";
  const Row rows[] = {
      {"std::string", kp::equal("5", std::any(std::string("5"))), true},
      {"C string", kp::equal("5", std::any("5")), true},
      {"string view", kp::equal("5", std::any(view)), true},
      {"plain literal", kp::equal("5", "5"), true},
      {"other text", kp::equal("5", std::any(std::string("55"))), false},
      {"an int", kp::equal("5", std::any(5)), false},
      {"nil", kp::equal("5", std::any()), false},
      {"a null C string", kp::equal("", static_cast<const char*>(nullptr)), false},
  };
  for (const Row& row : rows) EXPECT_EQ(row.result, row.expected) << row.name;
}

struct View {
  std::string title;
};

TEST(KPConfigurable, WithCopiesDoRunsThenHandsBack) {
  const ios::CGRect frame(0, 0, 10, 10);
  const ios::CGRect wider = kp::with(frame, [](ios::CGRect& r) { r.size.width = 50; });
  EXPECT_EQ(wider.size.width, 50);
  EXPECT_EQ(frame.size.width, 10);

  double seen = 0;
  kp::do_(ios::CGPoint(3, 4), [&](const ios::CGPoint& p) { seen = p.y; });
  EXPECT_EQ(seen, 4);

  auto view = std::make_shared<View>();
  auto same = kp::then(view, [](const std::shared_ptr<View>& v) { v->title = "Hi"; });
  EXPECT_EQ(same, view);
  EXPECT_EQ(view->title, "Hi");

  // with() on an object handle copies the handle: the object is shared.
  auto configured = kp::with(view, [](std::shared_ptr<View>& v) { v->title = "Changed"; });
  EXPECT_EQ(configured, view);
  EXPECT_EQ(view->title, "Changed");
}

template <class T>
concept Thenable = requires(T t) { kp::then(t, [](const T&) {}); };
template <class T>
concept Withable = requires(T t) { kp::with(t, [](T&) {}); };

static_assert(Thenable<std::shared_ptr<View>>);
static_assert(!Thenable<ios::CGRect>);  // then() is for objects only
static_assert(Withable<ios::CGVector>);
static_assert(Withable<ios::CGSize>);
static_assert(!Withable<int>);

}  // namespace
