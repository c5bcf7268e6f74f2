// File: KPQuaslet/text/URL+KPExt.h
//
// Query parameters of a URL: reading them, looking one up, appending more; and
// stripping a URL's path down to its root; a still frame of the video a URL names.
//
//   auto url = *ios::URL::fromString("https://h/a/b?x=1&y=2&x=3");
//   kp::queryParameters(url);                          // {x: "3", y: "2"}
//   kp::queryValue(url, "x");                           // "1": the first x
//   kp::appendingQueryParameters(url, {{"z", "a&b"}});   // ...?x=1&y=2&x=3&z=a%26b
//   kp::deletingAllPathComponents(url);                // https://h/?x=1&y=2&x=3
//
// Names and values are percent-decoded when read and percent-encoded when appended
// ("&", "=", "+" and "#" included), so what goes in reads back unchanged. Names compare
// exactly, letter case included, by canonical equivalence.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/foundation/URL.h"
#include "platform/uikit/UIImage.h"

namespace kp {

// The query parameters of `url` as a dictionary from name to value: a later item with
// the same name replaces an earlier one, and an item without a value removes the entry
// for its name. Nothing when the URL has no query or an empty one.
[[nodiscard]] std::optional<std::unordered_map<std::string, std::string>> queryParameters(const ios::URL& url);

// `url` with one query item appended per entry of `parameters`, in ascending order of
// name (so the result does not depend on the dictionary's order). Existing items stay,
// their text exactly as it was written ("q=hello+world" is not re-escaped); only the
// appended names and values are encoded. A name already present then occurs twice. An empty dictionary leaves the items as they
// were, though a URL without a query gains an empty one ("?"). Should the changed parts
// form no URL, `url` is returned unchanged.
[[nodiscard]] ios::URL appendingQueryParameters(const ios::URL& url,
                                                const std::unordered_map<std::string, std::string>& parameters);

// Appends the query items in place (see appendingQueryParameters()).
void appendQueryParameters(ios::URL& url, const std::unordered_map<std::string, std::string>& parameters);

// The value of the first query item named `name`; nothing when none is so named, when
// that item has no value, or when the URL has no query.
[[nodiscard]] std::optional<std::string> queryValue(const ios::URL& url, std::string_view name);

// `url` with every path component below the root removed ("https://h/a/b" gives
// "https://h/"); the query and fragment stay. A URL with no path, or only the root or a
// single relative component, is returned unchanged. The components are removed in one
// pass: removing them one by one took time quadratic in their number (a URL of 50,000
// components took minutes).
[[nodiscard]] ios::URL deletingAllPathComponents(const ios::URL& url);

// Removes every path component below the root in place (see deletingAllPathComponents()).
void deleteAllPathComponents(ios::URL& url);

// The frame of the video file `url` names that shows at `fromTime` seconds, rounded to
// the nearest whole second, as an image of scale 1 at the video's full size. Nothing
// when the URL names no media file, the file has no video, or the time is outside it.
// Blocks while the frame is decoded.
[[nodiscard]] std::optional<ios::UIImage> thumbnail(const ios::URL& url, double fromTime);

}  // namespace kp
