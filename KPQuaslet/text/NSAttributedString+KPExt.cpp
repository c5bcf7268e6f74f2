#include "KPQuaslet/text/NSAttributedString+KPExt.h"

#include <utility>

#include "platform/foundation/NSNumber.h"
#include "platform/uikit/UIFont.h"

namespace kp {
namespace {

// A copy of `text` with `key` set to `value` over all of it.
template <class T>
ios::NSAttributedString withWholeTextAttribute(const ios::NSAttributedString& text, std::string_view key, T value) {
  ios::NSMutableAttributedString copy = text.mutableCopy();
  copy.addAttribute(key, std::move(value), ios::NSRange{0, copy.length()});
  return copy;
}

}  // namespace

ios::NSAttributedString bold(const ios::NSAttributedString& text) {
  return withWholeTextAttribute(text, ios::NSAttributedString::Key::font,
                                ios::UIFont::boldSystemFont(ios::UIFont::systemFontSize()));
}

ios::NSAttributedString italic(const ios::NSAttributedString& text) {
  return withWholeTextAttribute(text, ios::NSAttributedString::Key::font,
                                ios::UIFont::italicSystemFont(ios::UIFont::systemFontSize()));
}

ios::NSAttributedString underline(const ios::NSAttributedString& text) {
  return withWholeTextAttribute(text, ios::NSAttributedString::Key::underlineStyle,
                                std::int64_t{ios::NSUnderlineStyle::single});
}

ios::NSAttributedString strikethrough(const ios::NSAttributedString& text) {
  return withWholeTextAttribute(text, ios::NSAttributedString::Key::strikethroughStyle, ios::NSNumber(1));
}

ios::NSAttributedString color(const ios::NSAttributedString& text, const ios::UIColor& color) {
  return withWholeTextAttribute(text, ios::NSAttributedString::Key::foregroundColor, color);
}

}  // namespace kp
