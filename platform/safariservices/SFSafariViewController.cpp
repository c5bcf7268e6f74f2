#include "platform/safariservices/SFSafariViewController.h"

#include <cctype>

#include "platform/foundation/NSException.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(SFSafariViewController, "SFSafariViewController", nullptr)

SFSafariViewController::SFSafariViewController(URL url) : url_(std::move(url)) {
  std::optional<std::string> scheme = url_.scheme();
  if (scheme) {
    for (char& ch : *scheme) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  }
  if (scheme != "http" && scheme != "https") {
    NSException(NSInvalidArgumentException,
                "The specified URL has an unsupported scheme. Only HTTP and HTTPS URLs are supported.")
        .raise();
  }
}

}  // namespace ios
