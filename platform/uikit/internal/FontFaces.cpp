#include "platform/uikit/internal/FontFaces.h"

#include <algorithm>
#include <array>

#include "platform/uikit/UIFont.h"

namespace ios::uikit_internal {
namespace {

constexpr std::uint32_t kBold = UIFont::traitBold;
constexpr std::uint32_t kItalic = UIFont::traitItalic;


// The system font is DejaVu Sans, Helvetica Neue is Nimbus Sans (Helvetica's metrics),
// Menlo is DejaVu Sans Mono (its own ancestor), Zapfino is URW's Z003 calligraphy, and
// text in CJK scripts falls back to WenQuanYi Micro Hei.
constexpr std::array<FontFace, 14> kFaces = {{
    {".SFUI-Regular", ".SFUI", 0, "DejaVu Sans", 400, false,
     "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "fonts-dejavu-core"},
    {".SFUI-Semibold", ".SFUI", kBold, "DejaVu Sans", 700, false,
     "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", "fonts-dejavu-core"},
    {".SFUI-RegularItalic", ".SFUI", kItalic, "DejaVu Sans", 400, true,
     "/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf", "fonts-dejavu-extra"},
    {".SFUI-SemiboldItalic", ".SFUI", kBold | kItalic, "DejaVu Sans", 700, true,
     "/usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf", "fonts-dejavu-extra"},
    {"HelveticaNeue", "Helvetica Neue", 0, "Nimbus Sans", 400, false,
     "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf", "fonts-urw-base35"},
    {"HelveticaNeue-Bold", "Helvetica Neue", kBold, "Nimbus Sans", 700, false,
     "/usr/share/fonts/opentype/urw-base35/NimbusSans-Bold.otf", "fonts-urw-base35"},
    {"HelveticaNeue-Italic", "Helvetica Neue", kItalic, "Nimbus Sans", 400, true,
     "/usr/share/fonts/opentype/urw-base35/NimbusSans-Italic.otf", "fonts-urw-base35"},
    {"HelveticaNeue-BoldItalic", "Helvetica Neue", kBold | kItalic, "Nimbus Sans", 700, true,
     "/usr/share/fonts/opentype/urw-base35/NimbusSans-BoldItalic.otf", "fonts-urw-base35"},
    {"Menlo-Regular", "Menlo", 0, "DejaVu Sans Mono", 400, false,
     "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf", "fonts-dejavu-core"},
    {"Menlo-Bold", "Menlo", kBold, "DejaVu Sans Mono", 700, false,
     "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf", "fonts-dejavu-core"},
    {"Menlo-Italic", "Menlo", kItalic, "DejaVu Sans Mono", 400, true,
     "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Oblique.ttf", "fonts-dejavu-extra"},
    {"Menlo-BoldItalic", "Menlo", kBold | kItalic, "DejaVu Sans Mono", 700, true,
     "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-BoldOblique.ttf", "fonts-dejavu-extra"},
    {"Zapfino", "Zapfino", 0, "Z003", 500, true, "/usr/share/fonts/opentype/urw-base35/Z003-MediumItalic.otf",
     "fonts-urw-base35"},
    // Not a platform face: the fallback for CJK text, never answered by name.
    {"", "", 0, "WenQuanYi Micro Hei", 400, false, "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
     "fonts-wqy-microhei"},
}};

}  // namespace

std::span<const FontFace> fontFaces() { return kFaces; }

const FontFace* fontFace(std::string_view name) {
  if (name.empty()) return nullptr;
  auto it = std::find_if(kFaces.begin(), kFaces.end(), [name](const FontFace& f) { return f.name == name; });
  return it == kFaces.end() ? nullptr : &*it;
}

const FontFace& fallbackFace() { return kFaces.back(); }

}  // namespace ios::uikit_internal
