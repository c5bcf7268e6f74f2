#include "platform/uikit/UIFont.h"

#include <algorithm>
#include <array>

namespace ios {
namespace {

struct Face {
  std::string_view name;
  std::string_view family;
  std::uint32_t traits;
};

constexpr std::uint32_t kBold = UIFont::traitBold;
constexpr std::uint32_t kItalic = UIFont::traitItalic;

constexpr std::array<Face, 13> kFaces = {{
    {".SFUI-Regular", ".SFUI", 0},
    {".SFUI-Semibold", ".SFUI", kBold},
    {".SFUI-RegularItalic", ".SFUI", kItalic},
    {".SFUI-SemiboldItalic", ".SFUI", kBold | kItalic},
    {"HelveticaNeue", "Helvetica Neue", 0},
    {"HelveticaNeue-Bold", "Helvetica Neue", kBold},
    {"HelveticaNeue-Italic", "Helvetica Neue", kItalic},
    {"HelveticaNeue-BoldItalic", "Helvetica Neue", kBold | kItalic},
    {"Menlo-Regular", "Menlo", 0},
    {"Menlo-Bold", "Menlo", kBold},
    {"Menlo-Italic", "Menlo", kItalic},
    {"Menlo-BoldItalic", "Menlo", kBold | kItalic},
    {"Zapfino", "Zapfino", 0},
}};

const Face* faceNamed(std::string_view name) {
  auto it = std::find_if(kFaces.begin(), kFaces.end(), [name](const Face& f) { return f.name == name; });
  return it == kFaces.end() ? nullptr : &*it;
}

}  // namespace

std::optional<UIFontDescriptor> UIFontDescriptor::withSymbolicTraits(std::uint32_t traits) const {
  const Face* current = faceNamed(name_);
  if (current == nullptr) return std::nullopt;
  for (const Face& f : kFaces) {
    if (f.family == current->family && f.traits == traits) {
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
  const Face* face = faceNamed(name);
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

}  // namespace ios
