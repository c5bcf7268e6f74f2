// File: platform/foundation/UserDefaults.h
//
// The user's settings: property-list values by key, for the application (standard())
// or a named suite, kept in a file under the home folder so that they survive the
// process.
//
//   auto defaults = ios::UserDefaults::standard();
//   defaults->setInteger(3, "launches");
//   defaults->integer("launches");               // 3
//   defaults->registerDefaults({{"volume", 0.5}});
//   defaults->double_("volume");                  // 0.5 until the user sets one
//
// Fidelity: a value is looked up in the suite's own values first, then in the global
// domain ("AppleLocale" and "AppleLanguages", from the current locale), then in the
// registered defaults (process-wide, never written to disk). Writes and removals change
// the suite's own values only. Booleans, integers and doubles stay distinct, so the
// setter used can be read back. The typed getters convert as the platform does:
// integer(), double_(), float_() and bool_() read numbers, booleans and numeric text
// ("7", "2.5", "YES"); numeric text always has '.' as its decimal point, whatever the
// process's C locale says (so "2.5" reads as 2.5 under a German locale too, and a
// setting reads alike everywhere); string() answers text only. A URL is stored as a keyed archive and
// url() also reads a text path.
//
// Storage: each suite is "<container>/Library/Preferences/<name>.json", in the
// application's container (NSHomeDirectory(), see FileManager.h); the application's own
// suite (standard(), or an empty name) is named after the application identifier, so
// that renaming the executable keeps its settings. Characters that would leave the
// folder are escaped. The file is read when the first instance of the suite is made;
// instances of one suite in a process share their values. Changes are written by
// synchronize(), when the last instance of the suite goes away, at normal process exit
// and before an uncaught NSException ends the process.
//
// Several processes may share a suite (an application and its helper): a write merges
// per key, as the platform's settings service does. Under the suite's file lock
// ("<file>.lock"), the latest file is read again, only this process's own changes
// (values set and keys removed since its last write) are applied to it, and the result
// is written to a temporary file that is then renamed over the old one, so that a
// reader sees a whole file, and no other process's keys are lost or turned stale.
// Another process sees the changes when it next reads the file: when it makes the
// suite's first instance, or calls synchronize(), which reads the file again when it has
// changed. The temporary files of writers killed midway are removed, under the lock,
// by a process's first write of the suite. A write that has returned survives the
// process being killed.
//
// A file that cannot be read or parsed is reported on standard error and by
// loadError(); the suite then keeps the values it had (empty at first) and the file is
// kept: before the next write it is moved aside to "<file>.corrupt" (or "-1", "-2",
// ...), never overwritten. When the home folder is missing or not writable, the values
// stay in memory and synchronize() answers false.
//
// Earlier versions kept settings in the user's own "~/Library/Preferences", the
// application's suite under the process's name. While a suite has no file in the
// container yet, the earlier file is copied in (under the suite's lock, so once): the
// application's own earlier file ("<process name>.json") is then moved aside to
// "<file>.imported"; a named suite's earlier file stays, for the other applications
// that share the suite.
// Absent: key-value observing, change notifications, the argument and volatile domains.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Data.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/URL.h"

namespace ios {

namespace foundation_internal {
struct DefaultsDomain;
}
namespace testing {
void resetUserDefaults();
}

class UserDefaults : public std::enable_shared_from_this<UserDefaults> {
 public:
  // The application's own settings (one instance per process).
  [[nodiscard]] static std::shared_ptr<UserDefaults> standard();
  // The settings of the named suite, or null for the global domain's name
  // ("NSGlobalDomain"). An empty name is the application's own suite.
  [[nodiscard]] static std::shared_ptr<UserDefaults> make(std::string_view suiteName);

  ~UserDefaults();
  UserDefaults(const UserDefaults&) = delete;
  UserDefaults& operator=(const UserDefaults&) = delete;

  // The value for `key` (own values, then global, then registered), or nothing.
  [[nodiscard]] std::optional<PropertyList> object(std::string_view key) const;
  // The same as object(): the platform's key-value reading.
  [[nodiscard]] std::optional<PropertyList> value(std::string_view key) const { return object(key); }
  // The value when it is text.
  [[nodiscard]] std::optional<std::string> string(std::string_view key) const;
  // The value when it is an array / a dictionary / bytes.
  [[nodiscard]] std::optional<PropertyList::Array> array(std::string_view key) const;
  [[nodiscard]] std::optional<PropertyList::Dictionary> dictionary(std::string_view key) const;
  [[nodiscard]] std::optional<Data> data(std::string_view key) const;
  // The URL stored by setURL(), or a file URL for a stored text, which is always read as
  // a path: "~" at its start is the home folder, and a relative path (whatever it holds,
  // "a:b" or "http://x" alike) is taken from the current folder. Nothing for an empty
  // text, or a relative one when the current folder cannot be read.
  [[nodiscard]] std::optional<URL> url(std::string_view key) const;
  // The value as a number (see the banner for the conversions); 0 / false when absent.
  [[nodiscard]] std::int64_t integer(std::string_view key) const;
  [[nodiscard]] double double_(std::string_view key) const;
  [[nodiscard]] float float_(std::string_view key) const;
  [[nodiscard]] bool bool_(std::string_view key) const;

  // Stores `value` as given; an empty value (or null) removes the key. Raises
  // NSException "NSInvalidArgumentException" for a value nested deeper than 511 arrays
  // and dictionaries, which the suite's file could not read back (the platform would
  // store it; here it would cost every value of the suite at the next launch), and for
  // an unsigned integer above the signed 64-bit range, alone or inside a value, which
  // the file cannot hold (it would make every later write of the suite fail, and the
  // write at exit end the process).
  void setObject(std::optional<PropertyList> value, std::string_view key);
  void setInteger(std::int64_t value, std::string_view key);
  void setDouble(double value, std::string_view key);
  void setBool(bool value, std::string_view key);
  // Stores the URL as a keyed archive; an empty value removes the key.
  void setURL(const std::optional<URL>& value, std::string_view key);
  // Removes the suite's own value for `key` (registered and global values stay).
  void removeObject(std::string_view key);

  // Adds defaults that answer for keys the suite has no value for (the platform's
  // register(defaults:)); they are kept for the process only.
  void registerDefaults(const PropertyList::Dictionary& registrationDictionary);
  // Every key with its value, from all domains (own values win).
  [[nodiscard]] PropertyList::Dictionary dictionaryRepresentation() const;

  // Writes this process's pending changes to the suite's file, merged into its latest
  // contents (see the banner); with none pending, reads the file again when another
  // process has changed it. False when the changes could not be written (they stay
  // pending and in memory).
  bool synchronize();

  // The suite's file.
  [[nodiscard]] const std::string& filePath() const;
  // Why the suite's file could not be read when it was loaded, or nothing.
  [[nodiscard]] std::optional<std::string> loadError() const;

  // Writes the pending changes of every suite in use.
  static void synchronizeAll();

 private:
  friend void testing::resetUserDefaults();
  explicit UserDefaults(std::shared_ptr<foundation_internal::DefaultsDomain> domain);
  void store(std::string_view key, std::optional<PropertyList> value);

  std::shared_ptr<foundation_internal::DefaultsDomain> domain_;
};

namespace testing {

// Forgets the standard instance and the registered defaults without writing pending
// changes (the next standard() reads the file afresh).
void resetUserDefaults();

}  // namespace testing
}  // namespace ios
