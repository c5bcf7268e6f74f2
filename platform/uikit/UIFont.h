// File: platform/uikit/UIFont.h
//
// Fonts as values: the system font and a few named families, at a point size, with
// descriptors that derive other faces and add font features.
//
//   ios::UIFont f = ios::UIFont::boldSystemFont(ios::UIFont::systemFontSize());
//   f.pointSize();                                        // 14
//   f.symbolicTraits() & ios::UIFont::traitBold;         // set
//   auto italic = f.fontDescriptor().withSymbolicTraits(ios::UIFont::traitItalic);
//   ios::UIFont::fontWithDescriptor(*italic, 0);          // the italic face, 14 points
//
// Fidelity: the system font sizes are the platform's (systemFontSize 14, labelFontSize
// 17). A font is its face name, family, size, traits and feature settings. The named
// faces are the system font's (".SFUI-..."), Helvetica Neue's ("HelveticaNeue",
// "-Bold", "-Italic", "-BoldItalic"), Menlo's ("Menlo-Regular", "-Bold", "-Italic",
// "-BoldItalic") and "Zapfino" (regular only); any other name has no font. Deriving a
// face replaces the traits and answers nothing when the family has no face with
// exactly those traits. The other descriptor attributes are absent.
//
// Each face is drawn and measured (NSStringDrawing.h) with one installed font file,
// listed in platform/uikit/internal/FontFaces.cpp and installed by scripts/setup.sh:
// the system font is DejaVu Sans (its semibold is DejaVu Sans Bold, its italic DejaVu
// Sans Oblique), Helvetica Neue is Nimbus Sans (Helvetica's metrics), Menlo is DejaVu
// Sans Mono and Zapfino is Z003; characters a face lacks (Chinese, Japanese, Korean)
// come from WenQuanYi Micro Hei. No other installed font is ever used, so results are
// the same on every machine. A pinned file that is missing stops the process with one
// message naming the file and its package. The monospaced-digits feature (type 6,
// selector 0) selects the font's tabular figures; other features do not change the
// text. The metrics (ascender, descender, ...) are the font file's own, scaled to the
// point size; a size that is not a positive finite number of at most 16384 points has
// zero metrics.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/coregraphics/CGGeometry.h"

namespace ios {

// One font feature setting: a feature type and the selector chosen for it
// (UIFontFeatureTypeIdentifierKey, UIFontFeatureSelectorIdentifierKey).
struct UIFontFeatureSetting {
  std::int64_t typeIdentifier = 0;
  std::int64_t selectorIdentifier = 0;
  friend bool operator==(const UIFontFeatureSetting&, const UIFontFeatureSetting&) = default;
};

class UIFontDescriptor {
 public:
  [[nodiscard]] const std::string& fontName() const { return name_; }
  [[nodiscard]] CGFloat pointSize() const { return size_; }
  [[nodiscard]] std::uint32_t symbolicTraits() const { return traits_; }
  // The UIFontDescriptorFeatureSettingsAttribute value; empty when none was added.
  [[nodiscard]] const std::vector<UIFontFeatureSetting>& featureSettings() const { return features_; }

  // withSymbolicTraits(_:)
  //
  // The face of the same family with exactly `traits` (they replace the current ones),
  // or nothing when the family has no such face.
  [[nodiscard]] std::optional<UIFontDescriptor> withSymbolicTraits(std::uint32_t traits) const;

  // fontDescriptorByAddingAttributes with UIFontDescriptorFeatureSettingsAttribute:
  // the same descriptor whose feature settings are `settings`.
  [[nodiscard]] UIFontDescriptor addingFeatureSettings(std::vector<UIFontFeatureSetting> settings) const;

  friend bool operator==(const UIFontDescriptor&, const UIFontDescriptor&) = default;

 private:
  friend class UIFont;
  std::string name_;
  CGFloat size_ = 0;
  std::uint32_t traits_ = 0;
  std::vector<UIFontFeatureSetting> features_;
};

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
  // UIFont(name:size:): the face named `name`, or nothing when there is no such face.
  [[nodiscard]] static std::optional<UIFont> fontWithName(std::string_view name, CGFloat size);
  // UIFont(descriptor:size:): the descriptor's face at `size` (0 keeps the
  // descriptor's size).
  [[nodiscard]] static UIFont fontWithDescriptor(const UIFontDescriptor& descriptor, CGFloat size);

  [[nodiscard]] const std::string& fontName() const { return name_; }
  [[nodiscard]] CGFloat pointSize() const { return size_; }
  [[nodiscard]] std::uint32_t symbolicTraits() const { return traits_; }
  [[nodiscard]] const std::vector<UIFontFeatureSetting>& featureSettings() const { return features_; }

  // The font's vertical metrics in points: the height above the baseline of the
  // tallest letters (ascender), the depth below it (descender, negative), the height
  // of capitals and of a lower-case x, the gap the font recommends between lines
  // (leading), and the height of one line of text, ascender - descender, which is what
  // a line measures in NSStringDrawing.h (layouts do not add the leading).
  [[nodiscard]] CGFloat ascender() const;
  [[nodiscard]] CGFloat descender() const;
  [[nodiscard]] CGFloat capHeight() const;
  [[nodiscard]] CGFloat xHeight() const;
  [[nodiscard]] CGFloat leading() const;
  [[nodiscard]] CGFloat lineHeight() const;

  // The same face at another size.
  [[nodiscard]] UIFont withSize(CGFloat size) const;
  [[nodiscard]] UIFontDescriptor fontDescriptor() const;

  friend bool operator==(const UIFont&, const UIFont&) = default;

 private:
  UIFont(std::string name, CGFloat size, std::uint32_t traits) : name_(std::move(name)), size_(size), traits_(traits) {}

  std::string name_;
  CGFloat size_ = 0;
  std::uint32_t traits_ = 0;
  std::vector<UIFontFeatureSetting> features_;
};

}  // namespace ios
