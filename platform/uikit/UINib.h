// File: platform/uikit/UINib.h
//
// Interface files (nibs).
//
//   ios::testing::registerNib("Card", [] { return std::vector<ios::id>{CardView::make()}; });
//   auto objects = ios::UINib::make("Card", nullptr)->instantiate(nullptr);
//
// (Bundle.h names the application bundle; a nib is looked up by name alone.)
//
// Fidelity: there are no interface files on this machine: a nib is a factory
// registered under a name whose objects instantiate() answers, in order, freshly made
// each time. A name that nothing is registered under raises
// "NSInternalInconsistencyException" with the platform's reason when instantiated. The
// process has one bundle, the main one, so the bundle argument (null: the main bundle)
// selects nothing; owners and options are accepted and ignored; outlets and
// connections are absent.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/NSObject.h"

namespace ios {

// The application bundle (platform/foundation/Bundle.h).
class Bundle;

class UINib : public NSObject {
  IOS_RUNTIME_CLASS(UINib, NSObject);

 public:
  // UINib(nibName:bundle:); a null bundle is the main bundle.
  [[nodiscard]] static std::shared_ptr<UINib> make(std::string_view nibName, const Bundle* bundle);

  // The nib's top-level objects, made afresh.
  [[nodiscard]] std::vector<id> instantiate(const id& withOwner, const id& options = nullptr) const;

 protected:
  explicit UINib(std::string name) : name_(std::move(name)) {}

 private:
  std::string name_;
};

namespace testing {

// Registers the nib `name`, replacing an earlier one.
void registerNib(std::string_view name, std::function<std::vector<id>()> topLevelObjects);
// Forgets every registered nib.
void resetNibs();

}  // namespace testing
}  // namespace ios
