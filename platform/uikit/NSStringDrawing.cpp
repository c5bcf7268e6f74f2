#include "platform/uikit/NSStringDrawing.h"


#include "platform/uikit/internal/TextEngine.h"

namespace ios {

CGSize sizeWithFont(std::string_view text, const UIFont& font) {
  return text_internal::measure(text, font, text_internal::TextBox{});
}

CGSize sizeWithFont(std::string_view text, const UIFont& font, CGFloat maxWidth, std::int64_t maxLines,
                    NSLineBreakMode lineBreakMode) {
  return text_internal::measure(text, font, text_internal::TextBox{maxWidth, maxLines, lineBreakMode});
}

CGSize sizeWithAttributes(std::string_view text, const NSAttributedString::Attributes& attributes) {
  return text_internal::measure(NSAttributedString(std::string(text), attributes), UIFont::systemFont(12),
                                text_internal::TextBox{});
}

CGSize boundingSize(const NSAttributedString& text, const UIFont& font, CGFloat maxWidth, std::int64_t maxLines,
                    NSLineBreakMode lineBreakMode) {
  return text_internal::measure(text, font, text_internal::TextBox{maxWidth, maxLines, lineBreakMode});
}

}  // namespace ios
