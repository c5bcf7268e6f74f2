// File: platform/uikit/UIFont.h
//
// Fonts as values: the system font in regular, bold and italic, at a point size.
//
//   ios::UIFont f = ios::UIFont::boldSystemFont(ios::UIFont::systemFontSize());
//   f.pointSize();                                        // 14
//   f.symbolicTraits() & ios::UIFont::traitBold;         // set
//
// Fidelity: the system font sizes are the platform's (systemFontSize 14, labelFontSize
// 17); a font is its name, size and traits, with nothing to measure or draw with (Linux
// has no such font here). Font names are the platform's system font names. Named fonts,
// font descriptors and metrics are absent.
#pragma once

#include <cstdint>
#include <string>

#include "platform/coregraphics/CGGeometry.h"

namespace ios {

class UIFont {
 public:
  // UIFontDescriptor.SymbolicTraits bits.
  enum SymbolicTraits : std::uint32_t { traitItalic = 1u << 0, traitBold = 1u << 1 };

  // The platform's standard sizes.
  [[nodiscard]] static CGFloat systemFontSize() { return 14; }
  [[nodiscard]] static CGFloat labelFontSize() { return 17; }

  [[nodiscard]] static UIFont systemFont(CGFloat size) { return UIFont(".SFUI-Regular", size, 0); }
  [[nodiscard]] static UIFont boldSystemFont(CGFloat size) { return UIFont(".SFUI-Semibold", size, traitBold); }
  [[nodiscard]] static UIFont italicSystemFont(CGFloat size) {
    return UIFont(".SFUI-RegularItalic", size, traitItalic);
  }

  [[nodiscard]] const std::string& fontName() const { return name_; }
  [[nodiscard]] CGFloat pointSize() const { return size_; }
  [[nodiscard]] std::uint32_t symbolicTraits() const { return traits_; }

  friend bool operator==(const UIFont&, const UIFont&) = default;

 private:
  UIFont(std::string name, CGFloat size, std::uint32_t traits) : name_(std::move(name)), size_(size), traits_(traits) {}

  std::string name_;
  CGFloat size_ = 0;
  std::uint32_t traits_ = 0;
};

}  // namespace ios
