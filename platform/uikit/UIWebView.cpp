#include "platform/uikit/UIWebView.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UIWebView, "UIWebView", nullptr)

std::shared_ptr<UIWebView> UIWebView::make(CGRect frame) {
  auto web = ::ios::runtime_internal::construct<UIWebView>(frame);
  web->scrollView_ = UIScrollView::make(CGRect(0, 0, frame.size.width, frame.size.height));
  web->addSubview(web->scrollView_);
  for (int i = 0; i < 8; ++i) web->scrollView_->addSubview(UIImageView::make(CGRect(0, 0, frame.size.width, 10)));
  web->scrollView_->addSubview(UIView::make(CGRect(0, 0, frame.size.width, frame.size.height)));
  return web;
}

}  // namespace ios
