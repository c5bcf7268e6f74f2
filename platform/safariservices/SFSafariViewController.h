// File: platform/safariservices/SFSafariViewController.h
//
// The in-app browser: a controller that shows one web address.
//
//   auto browser = ios::SFSafariViewController::make(url);
//   controller->present(browser, true, nullptr);
//
// Fidelity: keeps the address it was made with; there is no browser engine on this
// machine, so nothing is loaded or drawn. The platform accepts only http and https
// addresses and raises "NSInvalidArgumentException" for others, as here.
#pragma once

#include "platform/foundation/URL.h"
#include "platform/uikit/UIViewController.h"

namespace ios {

class SFSafariViewController : public UIViewController {
  IOS_RUNTIME_CLASS(SFSafariViewController, UIViewController);

 public:
  // The address the browser shows.
  [[nodiscard]] const URL& url() const { return url_; }

 protected:
  // SFSafariViewController(url:); raises for a scheme other than http or https.
  explicit SFSafariViewController(URL url);

 private:
  URL url_;
};

}  // namespace ios
