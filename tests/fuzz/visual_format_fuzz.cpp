// The visual format language from arbitrary text: the library's addConstraints(format,
// views) on a superview with three subviews and one view outside it, and the platform's
// NSLayoutConstraint::constraints with metrics, then a layout pass.
// Invariants: a format is either read or refused with NSInvalidArgumentException (or
// NSGenericException, for a constraint on the view outside the superview);
// every constraint read relates the views given (or the superview) by a known relation
// and a priority in 1...1000, with no second item only for a size; a format of modest
// numbers lays the views out at finite frames, and a view the format does not name stays
// where it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "KPQuaslet/views/UIView+KPLayout.h"
#include "platform/foundation/NSException.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIView.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

using ios::CGRect;
using ios::NSLayoutAttribute;
using ios::UIView;

bool same(double a, double b) { return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0; }
bool same(const CGRect& a, const CGRect& b) {
  return same(a.origin.x, b.origin.x) && same(a.origin.y, b.origin.y) && same(a.size.width, b.size.width) &&
         same(a.size.height, b.size.height);
}

bool isSize(NSLayoutAttribute a) { return a == NSLayoutAttribute::width || a == NSLayoutAttribute::height; }

// Whether every run of digits in the format is short, so that its constants stay modest.
bool hasModestNumbers(std::string_view format) {
  std::size_t run = 0;
  for (const char c : format) {
    run = (c >= '0' && c <= '9') || c == '.' ? run + 1 : 0;
    if (run > 5) return false;
  }
  return true;
}

struct Scene {
  std::shared_ptr<UIView> root = UIView::make(CGRect(0, 0, 320, 480));
  std::vector<std::shared_ptr<UIView>> views;

  Scene() {
    for (int i = 0; i < 3; ++i) {
      views.push_back(UIView::make(CGRect(10 * i, 20 * i, 30 + i, 40 + i)));
      root->addSubview(views.back());
    }
    views.push_back(UIView::make(CGRect(1, 2, 3, 4)));  // outside the superview
  }

  bool known(const std::shared_ptr<UIView>& view) const {
    return view == root || std::find(views.begin(), views.end(), view) != views.end();
  }

  std::vector<CGRect> frames() const {
    std::vector<CGRect> out;
    for (const auto& v : views) out.push_back(v->frame());
    return out;
  }
};

void checkConstraints(const Scene& scene, const std::vector<ios::NSLayoutConstraintRef>& constraints) {
  for (const auto& c : constraints) {
    KP_FUZZ_CHECK(c != nullptr && scene.known(c->firstItem()), "a constraint's first item is not a given view");
    KP_FUZZ_CHECK(c->secondItem() ? scene.known(c->secondItem()) : isSize(c->firstAttribute()),
                  "a constraint relates an unknown view, or a position to nothing");
    const auto relation = c->relation();
    KP_FUZZ_CHECK(relation == ios::NSLayoutRelation::equal || relation == ios::NSLayoutRelation::lessThanOrEqual ||
                      relation == ios::NSLayoutRelation::greaterThanOrEqual,
                  "a constraint has an unknown relation");
    KP_FUZZ_CHECK(c->priority() >= 1 && c->priority() <= 1000, "a constraint's priority is outside 1...1000");
  }
}

// Lays the views out twice. `names` are the keys the format knows the views by.
void checkLayout(const Scene& scene, bool modest, std::string_view format, const std::vector<std::string>& names) {
  const std::vector<CGRect> before = scene.frames();
  scene.root->setNeedsLayout();
  scene.root->layoutIfNeeded();
  const std::vector<CGRect> after = scene.frames();
  for (std::size_t i = 0; i < after.size(); ++i) {
    const CGRect& f = after[i];
    if (modest) {
      KP_FUZZ_CHECK(std::isfinite(f.origin.x) && std::isfinite(f.origin.y) && std::isfinite(f.size.width) &&
                        std::isfinite(f.size.height),
                    "a format of modest numbers lays a view out at a frame that is not finite");
    }
    if (format.find(names[i]) == std::string_view::npos) {
      KP_FUZZ_CHECK(same(f, before[i]), "a view the format does not name was moved");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  FuzzedDataProvider in(data, size);
  const double metric = kp_fuzz::doubleFromBits(in.ConsumeIntegral<std::uint64_t>());
  const bool direct = in.ConsumeBool();
  const std::string format = in.ConsumeRemainingBytesAsString();

  Scene scene;
  try {
    if (direct) {
      const std::map<std::string, ios::CGFloat> metrics{{"m", metric}, {"wide", 100}};
      const std::map<std::string, std::shared_ptr<UIView>> named{
          {"a", scene.views[0]}, {"b", scene.views[1]}, {"c", scene.views[2]}, {"outside", scene.views[3]}};
      for (const auto& v : scene.views) v->setTranslatesAutoresizingMaskIntoConstraints(false);
      const auto constraints = ios::NSLayoutConstraint::constraints(format, 0, metrics, named);
      checkConstraints(scene, constraints);
      ios::NSLayoutConstraint::activate(constraints);
    } else {
      const std::size_t before = scene.root->constraints().size();
      kp::addConstraints(*scene.root, format, {scene.views[0], scene.views[1], scene.views[2], scene.views[3]});
      const auto installed = scene.root->constraints();
      checkConstraints(scene, installed);
      KP_FUZZ_CHECK(installed.size() >= before, "adding constraints removed some");
    }
  } catch (const ios::NSException& e) {
    // A format that cannot be read is an invalid argument; installing a constraint on a
    // view outside the receiver's tree finds no common ancestor.
    KP_FUZZ_CHECK(e.name() == ios::NSInvalidArgumentException || e.name() == ios::NSGenericException,
                  "a format is refused with another exception");
    return 0;
  }
  const std::vector<std::string> names =
      direct ? std::vector<std::string>{"a", "b", "c", "outside"} : std::vector<std::string>{"v0", "v1", "v2", "v3"};
  checkLayout(scene, hasModestNumbers(format) && (!direct || std::fabs(metric) < 1e5), format, names);
  return 0;
}
