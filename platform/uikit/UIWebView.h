// File: platform/uikit/UIWebView.h
//
// The legacy web view: a scroll view of page content, and the requests it loads.
//
//   auto web = ios::UIWebView::make(ios::CGRect(0, 0, 320, 480));
//   web->loadRequest(ios::URLRequest(url));
//
// Fidelity: there is no web engine on this machine: a request is kept as the one
// loaded (nothing is fetched or drawn). The scroll view is made with the web view and
// holds the platform's background shadow image views: eight image views at x 0 and a
// page view (not an image view). Delegates, scripts and history are absent.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/foundation/URL.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace ios {

// How a request uses the cache.
enum class NSURLRequestCachePolicy : std::uint64_t { useProtocolCachePolicy = 0, reloadIgnoringLocalCacheData = 1 };

// URLRequest(url:cachePolicy:timeoutInterval:).
struct URLRequest {
  URL url;
  NSURLRequestCachePolicy cachePolicy = NSURLRequestCachePolicy::useProtocolCachePolicy;
  double timeoutInterval = 60;
};

class UIWebView : public UIView {
  IOS_RUNTIME_CLASS(UIWebView, UIView);

 public:
  // A web view with its scroll view and shadow image views.
  [[nodiscard]] static std::shared_ptr<UIWebView> make(CGRect frame = CGRect());
  // The scroll view showing the page.
  [[nodiscard]] std::shared_ptr<UIScrollView> scrollView() const { return scrollView_; }
  // Loads `request` (kept as the last request).
  void loadRequest(const URLRequest& request) { request_ = request; }
  // The last request loaded, if any.
  [[nodiscard]] const std::optional<URLRequest>& request() const { return request_; }

 protected:
  explicit UIWebView(CGRect frame = CGRect()) : UIView(frame) {}

 private:
  std::shared_ptr<UIScrollView> scrollView_;
  std::optional<URLRequest> request_;
};

}  // namespace ios
