#include "platform/uikit/UIFont.h"

#include "platform/uikit/internal/FontFaces.h"
#include "platform/uikit/internal/TextEngine.h"

namespace ios {
namespace {

using uikit_internal::FontFace;
using uikit_internal::fontFace;

}  // namespace

std::optional<UIFontDescriptor> UIFontDescriptor::withSymbolicTraits(std::uint32_t traits) const {
  const FontFace* current = fontFace(name_);
  if (current == nullptr) return std::nullopt;
  for (const FontFace& f : uikit_internal::fontFaces()) {
    if (!f.name.empty() && f.family == current->family && f.traits == traits) {
      UIFontDescriptor derived = *this;
      derived.name_ = std::string(f.name);
      derived.traits_ = traits;
      return derived;
    }
  }
  return std::nullopt;
}

UIFontDescriptor UIFontDescriptor::addingFeatureSettings(std::vector<UIFontFeatureSetting> settings) const {
  UIFontDescriptor result = *this;
  result.features_ = std::move(settings);
  return result;
}

std::optional<UIFont> UIFont::fontWithName(std::string_view name, CGFloat size) {
  const FontFace* face = fontFace(name);
  if (face == nullptr) return std::nullopt;
  return UIFont(std::string(face->name), size, face->traits);
}

UIFont UIFont::fontWithDescriptor(const UIFontDescriptor& descriptor, CGFloat size) {
  UIFont font(descriptor.name_, size == 0 ? descriptor.size_ : size, descriptor.traits_);
  font.features_ = descriptor.features_;
  return font;
}

UIFont UIFont::withSize(CGFloat size) const {
  UIFont font = *this;
  font.size_ = size;
  return font;
}

UIFontDescriptor UIFont::fontDescriptor() const {
  UIFontDescriptor d;
  d.name_ = name_;
  d.size_ = size_;
  d.traits_ = traits_;
  d.features_ = features_;
  return d;
}

CGFloat UIFont::ascender() const { return text_internal::fontMetrics(*this).ascender; }
CGFloat UIFont::descender() const { return text_internal::fontMetrics(*this).descender; }
CGFloat UIFont::capHeight() const { return text_internal::fontMetrics(*this).capHeight; }
CGFloat UIFont::xHeight() const { return text_internal::fontMetrics(*this).xHeight; }
CGFloat UIFont::leading() const { return text_internal::fontMetrics(*this).leading; }
CGFloat UIFont::lineHeight() const { return text_internal::fontMetrics(*this).lineHeight; }

}  // namespace ios
