#include "KPQuaslet/text/URL+KPExt.h"

#include <algorithm>
#include <vector>

#include "platform/avfoundation/AVAsset.h"
#include "platform/foundation/String.h"
#include "platform/foundation/URLComponents.h"

namespace kp {

std::optional<std::unordered_map<std::string, std::string>> queryParameters(const ios::URL& url) {
  const auto components = ios::URLComponents::fromURL(url, /*resolvingAgainstBaseURL=*/false);
  if (!components) return std::nullopt;
  const auto items = components->queryItems();
  if (!items || items->empty()) return std::nullopt;
  std::unordered_map<std::string, std::string> parameters;
  for (const ios::URLQueryItem& item : *items) {
    if (item.value) {
      parameters[item.name] = *item.value;
    } else {
      parameters.erase(item.name);
    }
  }
  return parameters;
}

ios::URL appendingQueryParameters(const ios::URL& url, const std::unordered_map<std::string, std::string>& parameters) {
  auto components = ios::URLComponents::fromURL(url, /*resolvingAgainstBaseURL=*/true);
  if (!components) return url;
  std::vector<const std::pair<const std::string, std::string>*> entries;
  entries.reserve(parameters.size());
  for (const auto& entry : parameters) entries.push_back(&entry);
  std::sort(entries.begin(), entries.end(), [](const auto* a, const auto* b) { return a->first < b->first; });
  std::vector<ios::URLQueryItem> added;
  added.reserve(entries.size());
  for (const auto* entry : entries) added.push_back(ios::URLQueryItem{entry->first, entry->second});
  // Only the new items are encoded; the query already there is kept as it is written,
  // so that decoding and encoding it again cannot change its text.
  ios::URLComponents encoder = *components;
  encoder.setQueryItems(added);
  std::string query = components->percentEncodedQuery().value_or("");
  const std::string& appended = *encoder.percentEncodedQuery();
  if (!query.empty() && !appended.empty()) query += '&';
  query += appended;
  components->setPercentEncodedQuery(std::move(query));
  return components->url().value_or(url);
}

void appendQueryParameters(ios::URL& url, const std::unordered_map<std::string, std::string>& parameters) {
  url = appendingQueryParameters(url, parameters);
}

std::optional<std::string> queryValue(const ios::URL& url, std::string_view name) {
  const auto components = ios::URLComponents::fromString(url.absoluteString());
  if (!components) return std::nullopt;
  const auto items = components->queryItems();
  if (!items) return std::nullopt;
  const std::string wanted = ios::precomposedStringWithCanonicalMapping(name);
  for (const ios::URLQueryItem& item : *items) {
    if (ios::precomposedStringWithCanonicalMapping(item.name) == wanted) return item.value;
  }
  return std::nullopt;
}

ios::URL deletingAllPathComponents(const ios::URL& url) {
  const std::size_t count = url.pathComponents().size();
  return count > 1 ? url.deletingLastPathComponents(count - 1) : url;
}

void deleteAllPathComponents(ios::URL& url) { url = deletingAllPathComponents(url); }

std::optional<ios::UIImage> thumbnail(const ios::URL& url, double fromTime) {
  const ios::AVAssetImageGenerator generator{ios::AVAsset(url)};
  try {
    ios::CGImageRef image = generator.copyCGImage(ios::CMTimeMakeWithSeconds(fromTime, 1));
    return ios::UIImage(std::move(image));
  } catch (const ios::AVFoundationError&) {
    return std::nullopt;
  }
}

}  // namespace kp
