// File: platform/uikit/UINib.h
//
// Interface files (nibs) and the bundles they are found in.
//
//   ios::testing::registerNib("Card", [] { return std::vector<ios::id>{CardView::make()}; });
//   auto objects = ios::UINib::make("Card", nullptr)->instantiate(nullptr);
//
// Fidelity: there are no interface files on this machine: a nib is a factory
// registered under a name (and a bundle identifier; null bundle: the main bundle,
// "main") whose objects instantiate() answers, in order, freshly made each time. A name
// that nothing is registered under raises "NSInternalInconsistencyException" with the
// platform's reason when instantiated. Bundles carry only their identifier; owners and
// options are accepted and ignored; outlets and connections are absent.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/NSObject.h"

namespace ios {

class Bundle : public NSObject {
  IOS_RUNTIME_CLASS(Bundle, NSObject);

 public:
  // The application's bundle, identifier "main".
  [[nodiscard]] static const std::shared_ptr<Bundle>& mainBundle();
  [[nodiscard]] const std::string& bundleIdentifier() const { return identifier_; }

 protected:
  explicit Bundle(std::string identifier) : identifier_(std::move(identifier)) {}

 private:
  std::string identifier_;
};

class UINib : public NSObject {
  IOS_RUNTIME_CLASS(UINib, NSObject);

 public:
  // UINib(nibName:bundle:); a null bundle is the main bundle.
  [[nodiscard]] static std::shared_ptr<UINib> make(std::string_view nibName, const std::shared_ptr<Bundle>& bundle);

  // The nib's top-level objects, made afresh.
  [[nodiscard]] std::vector<id> instantiate(const id& withOwner, const id& options = nullptr) const;

 protected:
  UINib(std::string name, std::string bundleIdentifier)
      : name_(std::move(name)), bundleIdentifier_(std::move(bundleIdentifier)) {}

 private:
  std::string name_;
  std::string bundleIdentifier_;
};

namespace testing {

// Registers the nib `name` in the bundle `bundleIdentifier`, replacing an earlier one.
void registerNib(std::string_view name, std::function<std::vector<id>()> topLevelObjects,
                 std::string_view bundleIdentifier = "main");
// Forgets every registered nib.
void resetNibs();

}  // namespace testing
}  // namespace ios
