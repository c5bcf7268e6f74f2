// A short tour of KPQuaslet, used the way an application would use it.
// Each section prints what it did.
#include <iostream>

#include "KPQuaslet/KPQuaslet.h"
#include "platform/foundation/Describe.h"
#include "platform/foundation/StandardOutput.h"

namespace {

void section(const char* title) { ios::print(std::string("\n== ") + title); }

void tourLogger() {
  section("Logger");
  using kp::KP;
  for (auto level : {KP::logLevel::info, KP::logLevel::debug, KP::logLevel::warn, KP::logLevel::error,
                     KP::logLevel::fatal, KP::logLevel::none}) {
    KP::print("a message at level " + ios::describe(level), level, __FILE__, __LINE__, __func__);
  }
  KP::setMinimumLogLevel(KP::logLevel::error);
  KP::print("this warning is below the minimum level and is dropped", KP::logLevel::warn, __FILE__, __LINE__,
            __func__);
  KP::print(std::vector<double>{1.0, 0.1, 1e-5}, KP::logLevel::error, __FILE__, __LINE__, __func__);
  KP::setMinimumLogLevel(KP::logLevel::info);
  KP{}.TODO("the tour is still growing");
}

void tourCollections() {
  section("Collections");
  // Settings from two sources: the user's choices win over the defaults.
  const std::unordered_map<std::string, int> defaults{{"volume", 5}, {"speed", 1}};
  const std::unordered_map<std::string, int> chosen{{"volume", 8}};
  const auto settings = kp::mergeWith(defaults, chosen);
  ios::print("settings as JSON: " + kp::jsonString(settings, false).value_or("(none)"));

  // A play list in the order the user arranged it.
  kp::OrderedDictionary<std::string, int> playlist;
  playlist.set("intro", 95);
  playlist.set("verse", 180);
  playlist.set("outro", 60);
  playlist.insert(200, "chorus", 2);
  ios::print("play list: " + ios::describe(playlist));

  struct Track {
    std::string title;
    int seconds;
  };
  const std::vector<Track> tracks{{"b-side", 200}, {"single", 180}, {"remix", 240}, {"edit", 180}};
  std::vector<std::string> longestFirst;
  for (const Track& t : kp::sorted(tracks, &Track::seconds, /*ascending=*/false)) longestFirst.push_back(t.title);
  ios::print("longest first: " + ios::describe(longestFirst));

  const std::vector<int> scores{3, 1, 3, 2, 1, 5};
  ios::print("unique scores: " + ios::describe(kp::unique(scores)) +
             ", in pages of 4: " + ios::describe(kp::group(scores, 4)) +
             ", average: " + ios::describe(kp::average(scores)));
}

}  // namespace

int main() {
  ios::print(std::string("KPQuaslet tour (") + kp::KPQuasletVersionString + ")");
  tourLogger();
  tourCollections();
  return 0;
}
