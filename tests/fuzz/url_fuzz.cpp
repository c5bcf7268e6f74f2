// URLs from arbitrary text: URL::fromString and its parts, URLComponents, file URLs of
// arbitrary paths, and the library's query parameters (queryParameters, queryValue,
// appendingQueryParameters) and path stripping (deletingAllPathComponents).
// Invariants: a URL keeps its text, and URLComponents splits exactly the texts URL
// accepts and forms them again; every part read is UTF-8; appended parameters read back
// with their values, the items that were there stay, and the scheme, host, path and
// fragment are untouched; stripping the path keeps everything but the path and leaves
// at most one component, and deleting several components at once is deleting them one
// by one; an absolute file path reads back from its file URL.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "KPQuaslet/text/URL+KPExt.h"
#include "platform/foundation/URL.h"
#include "platform/foundation/URLComponents.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

bool isASCII(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Everything of a URL but its path.
struct Surroundings {
  std::optional<std::string> scheme, host, query, fragment;
  bool operator==(const Surroundings&) const = default;
};

Surroundings surroundingsOf(const ios::URL& url) { return {url.scheme(), url.host(), url.query(), url.fragment()}; }

void checkParts(const ios::URL& url) {
  for (const auto& part : {url.scheme(), url.host(), url.query(), url.fragment()}) {
    if (part) KP_FUZZ_CHECK(kp_fuzz::isUTF8(*part), "a URL part is not UTF-8");
  }
  KP_FUZZ_CHECK(kp_fuzz::isUTF8(url.path()), "a URL's path is not UTF-8");
  for (const std::string& component : url.pathComponents()) {
    KP_FUZZ_CHECK(!component.empty() && kp_fuzz::isUTF8(component), "a path component is empty or not UTF-8");
  }
  KP_FUZZ_CHECK(kp_fuzz::isUTF8(url.lastPathComponent()), "the last path component is not UTF-8");
}

void checkQueries(const ios::URL& url, FuzzedDataProvider& in) {
  const auto parameters = kp::queryParameters(url);
  if (parameters) {
    for (const auto& [name, value] : *parameters) {
      KP_FUZZ_CHECK(kp_fuzz::isUTF8(name) && kp_fuzz::isUTF8(value), "a query parameter is not UTF-8");
    }
  }
  const auto originalItems = ios::URLComponents::fromURL(url, false)->queryItems();

  // Names and values of any bytes; those that are not UTF-8 are escaped byte by byte and
  // read back as written, so only UTF-8 ones are expected back as they were.
  std::unordered_map<std::string, std::string> appended;
  bool allUTF8 = true;
  const int count = in.ConsumeIntegralInRange<int>(0, 4);
  for (int i = 0; i < count; ++i) {
    std::string name = in.ConsumeRandomLengthString(16);
    std::string value = in.ConsumeRandomLengthString(16);
    allUTF8 = allUTF8 && kp_fuzz::isUTF8(name) && kp_fuzz::isUTF8(value);
    (void)kp::queryValue(url, name);
    appended.insert_or_assign(std::move(name), std::move(value));
  }
  const ios::URL result = kp::appendingQueryParameters(url, appended);
  checkParts(result);
  KP_FUZZ_CHECK(result.scheme() == url.scheme() && result.host() == url.host() && result.path() == url.path() &&
                    result.fragment() == url.fragment(),
                "appending query parameters changed more than the query");
  const auto items = ios::URLComponents::fromURL(result, false)->queryItems();
  KP_FUZZ_CHECK(items.has_value(), "appending query parameters left no query");
  const std::size_t kept = originalItems ? originalItems->size() : 0;
  KP_FUZZ_CHECK(items->size() == kept + appended.size(), "appending changed the number of query items");
  for (std::size_t i = 0; i < kept; ++i) {
    KP_FUZZ_CHECK((*items)[i] == (*originalItems)[i], "appending changed an item that was there");
  }
  ios::URL appendedInPlace = url;
  kp::appendQueryParameters(appendedInPlace, appended);
  KP_FUZZ_CHECK(appendedInPlace == result, "appendQueryParameters() differs from appendingQueryParameters()");
  if (!allUTF8) return;
  const auto readBack = kp::queryParameters(result);
  KP_FUZZ_CHECK(appended.empty() || readBack.has_value(), "appended parameters do not read back");
  bool plainNames = !originalItems || originalItems->empty();
  for (const auto& [name, value] : appended) {
    if (!isASCII(name)) plainNames = false;
  }
  for (const auto& [name, value] : appended) {
    const auto it = readBack->find(name);
    KP_FUZZ_CHECK(it != readBack->end() && it->second == value, "an appended parameter reads back otherwise");
    if (plainNames) KP_FUZZ_CHECK(kp::queryValue(result, name) == value, "queryValue() misses an appended name");
  }
}

void checkPathStripping(const ios::URL& url) {
  const ios::URL stripped = kp::deletingAllPathComponents(url);
  checkParts(stripped);
  KP_FUZZ_CHECK(surroundingsOf(stripped) == surroundingsOf(url), "stripping the path changed more than the path");
  KP_FUZZ_CHECK(stripped.pathComponents().size() <= 1, "stripping the path left several components");
  if (!url.pathComponents().empty() && url.pathComponents()[0] == "/") {
    KP_FUZZ_CHECK(stripped.pathComponents() == std::vector<std::string>{"/"},
                  "stripping an absolute path did not leave the root");
  }
  const ios::URL last = url.deletingLastPathComponent();
  KP_FUZZ_CHECK(surroundingsOf(last) == surroundingsOf(url), "deleting the last component changed more than the path");
  ios::URL stepped = url;
  for (std::size_t count = 1; count <= 4; ++count) {
    stepped = stepped.deletingLastPathComponent();
    KP_FUZZ_CHECK(url.deletingLastPathComponents(count) == stepped,
                  "deleting several components differs from deleting them one by one");
  }
}

void checkFileURL(const std::string& path) {
  const bool absolute = !path.empty() && path[0] == '/';
  if (!absolute && path.find(':') != std::string::npos && kp_fuzz::skipping("file-url-relative-colon")) return;
  const ios::URL url = ios::URL::fileURLWithPath(path);
  KP_FUZZ_CHECK(url.isFileURL(), "a file URL is not a file URL");
  checkParts(url);
  if (absolute && kp_fuzz::isUTF8(path)) {
    KP_FUZZ_CHECK(url.path() == path, "an absolute path does not read back from its file URL");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  FuzzedDataProvider in(data, size);
  const std::string text = in.ConsumeRandomLengthString(256);

  const auto url = ios::URL::fromString(text);
  const auto components = ios::URLComponents::fromString(text);
  KP_FUZZ_CHECK(url.has_value() == components.has_value(), "URL and URLComponents accept different texts");
  if (url) {
    KP_FUZZ_CHECK(url->absoluteString() == text, "a URL does not keep its text");
    KP_FUZZ_CHECK(components->string() == text, "URLComponents does not form its text again");
    KP_FUZZ_CHECK(components->url() == url, "URLComponents forms another URL");
    checkParts(*url);
    checkQueries(*url, in);
    checkPathStripping(*url);
  }
  checkFileURL(in.ConsumeRandomLengthString(64));
  return 0;
}
