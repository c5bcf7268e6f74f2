// File: platform/uikit/internal/FontFaces.h
//
// The one table of font faces: each UIFont name the platform knows, its family and
// traits, and the installed font file that stands for it, with the Debian package
// that installs the file. UIFont answers names from it; the text engine loads exactly
// these files and nothing else, so every machine measures and draws alike.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace ios::uikit_internal {

struct FontFace {
  std::string_view name;     // the platform's face name ("HelveticaNeue-Bold")
  std::string_view family;   // the platform's family name ("Helvetica Neue")
  std::uint32_t traits;      // UIFont::SymbolicTraits bits
  std::string_view fcFamily;  // the family of the installed font file
  int weight;                 // its weight (Pango's scale: 400 regular, 700 bold)
  bool italic;                // whether the installed face slants
  std::string_view file;     // the font file standing for the face
  std::string_view package;  // the Debian package that installs the file
};

// Every face, in table order.
[[nodiscard]] std::span<const FontFace> fontFaces();
// The face named `name`, or null.
[[nodiscard]] const FontFace* fontFace(std::string_view name);
// The face that text falls back to for scripts the face's own file lacks (Chinese,
// Japanese, Korean).
[[nodiscard]] const FontFace& fallbackFace();

}  // namespace ios::uikit_internal
