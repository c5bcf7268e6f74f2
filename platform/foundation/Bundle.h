// File: platform/foundation/Bundle.h
//
// The application's main bundle: its identifier, its Info dictionary and its preferred
// localisations.
//
//   ios::Bundle::main().object("CFBundleShortVersionString");  // PropertyList, maybe null
//   ios::Bundle::main().preferredLocalizations();               // {"en"}
//
// Fidelity: a Linux program has no bundle on disk, so the Info dictionary starts empty
// and the identifier unset; the embedding application (or a test) fills them in through
// setInfoDictionary() / setBundleIdentifier(). The preferred localisation is the
// current locale's language ("zh-Hans" for zh_Hans_CN). Resources and nibs are absent.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/PropertyList.h"

namespace ios {

class NSObject;

inline constexpr const char* kCFBundleVersionKey = "CFBundleVersion";

class Bundle {
 public:
  [[nodiscard]] static Bundle& main();
  // Bundle(identifier:): the bundle whose identifier is `identifier`, or null (the
  // process has one bundle, the main one, found once its identifier is set).
  [[nodiscard]] static Bundle* forIdentifier(std::string_view identifier);

  // Bundle(for:): the bundle that holds `cls` (the main one: the process has no other).
  [[nodiscard]] static Bundle& forClass(const void* cls);
  // loadNibNamed(_:owner:options:): the top-level objects of the nib `name`, made
  // afresh; raises "NSInternalInconsistencyException" when no such nib exists.
  [[nodiscard]] std::vector<std::shared_ptr<NSObject>> loadNibNamed(std::string_view name,
                                                                   const std::shared_ptr<NSObject>& owner) const;
  [[nodiscard]] std::optional<std::string> bundleIdentifier() const;
  // Names the application ("com.example.app"). Call it once, at start-up, before the
  // first use of settings, the keychain or crash logs: the identifier chooses the
  // application's container folder and keychain access group (applicationIdentifier()).
  void setBundleIdentifier(std::optional<std::string> identifier);

  // The Info dictionary's value for `key`, or null.
  [[nodiscard]] PropertyList object(const std::string& key) const;
  void setInfoDictionary(PropertyList::Dictionary info);

  [[nodiscard]] std::vector<std::string> preferredLocalizations() const;

 private:
  Bundle() = default;
};

// applicationIdentifier()
//
// The identifier this application's files and keychain items are kept under, read
// afresh on each call: the main bundle's identifier when the application has set one
// (Bundle::main().setBundleIdentifier("com.example.app"), before its first use of a
// store), else the environment's KP_APPLICATION_IDENTIFIER, else a stable name made
// from the executable: "local.<name>-<8 hex digits of its full path>", so that two
// programs that share a name in different folders stay apart. Characters other than
// letters, digits, '.', '-' and '_' become '-', so the answer is always one safe folder
// name (never empty, "." or "..").
[[nodiscard]] std::string applicationIdentifier();

namespace testing {
// Empties the main bundle's Info dictionary and identifier.
void resetMainBundle();
}  // namespace testing

}  // namespace ios
