// The text engine over Pango: the pinned font configuration, layouts built from
// attributed text, their measurement and drawing.
#include "platform/uikit/internal/TextEngine.h"

#include <fontconfig/fontconfig.h>
#include <hb-ot.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>
#include <sys/stat.h>

#include <algorithm>
#include <any>
#include <climits>
#include <cstdlib>
#include <cmath>
#include <mutex>
#include <string>
#include <vector>

#include "platform/foundation/NSNumber.h"
#include "platform/foundation/Precondition.h"
#include "platform/foundation/ScopeExit.h"
#include "platform/foundation/internal/Unicode.h"
#include "platform/uikit/internal/FontFaces.h"

namespace ios::text_internal {
namespace {

// Pango's font map and context, built once over a fontconfig configuration that holds
// the pinned font files and nothing else.
struct FontStack {
  std::mutex mutex;
  PangoFontMap* map = nullptr;
  PangoContext* context = nullptr;
};

FcConfig* pinnedConfiguration() {
  FcConfig* config = FcConfigCreate();
  for (const uikit_internal::FontFace& face : uikit_internal::fontFaces()) {
    requireFontFile(face.file, face.package);
    const std::string file(face.file);
    if (!FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(file.c_str()))) {
      fatalError("text: the font file " + file + " is not a font fontconfig can read; reinstall the Debian package " +
                 std::string(face.package));
    }
  }
  return config;
}

FontStack* builtStack = nullptr;

// Pango's font map keeps fontconfig patterns in caches that only its own teardown
// frees, so the stack is taken down at exit; text measured after that is empty.
void releaseFontStack() {
  FontStack& s = *builtStack;
  const std::lock_guard lock(s.mutex);
  g_object_unref(s.context);
  g_object_unref(s.map);
  s.context = nullptr;
  s.map = nullptr;
}

FontStack& fontStack() {
  static FontStack* const stack = [] {
    auto* s = new FontStack;
    FcConfig* config = pinnedConfiguration();
    s->map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(s->map), config);
    FcConfigDestroy(config);
    pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(s->map), 72);
    s->context = pango_font_map_create_context(s->map);
    // Unhinted outlines and fractional advances: the same numbers at every scale.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(s->context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(s->context, FALSE);
    builtStack = s;
    std::atexit(releaseFontStack);
    return s;
  }();
  return *stack;
}

bool laysOut(const UIFont& font) {
  const CGFloat size = font.pointSize();
  return std::isfinite(size) && size > 0 && size <= kLargestPointSize;
}

CGFloat points(int pangoUnits) { return static_cast<CGFloat>(pangoUnits) / PANGO_SCALE; }

int pangoUnits(CGFloat points) { return static_cast<int>(std::lround(points * PANGO_SCALE)); }

// The Pango description of `font`: its pinned family, then the CJK fallback.
PangoFontDescription* describe(const UIFont& font) {
  const uikit_internal::FontFace* face = uikit_internal::fontFace(font.fontName());
  if (face == nullptr) face = &uikit_internal::fontFaces().front();
  const std::string families = std::string(face->fcFamily) + "," + std::string(uikit_internal::fallbackFace().fcFamily);
  PangoFontDescription* d = pango_font_description_new();
  pango_font_description_set_family(d, families.c_str());
  pango_font_description_set_weight(d, static_cast<PangoWeight>(face->weight));
  pango_font_description_set_style(d, face->italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_font_description_set_absolute_size(d, font.pointSize() * PANGO_SCALE);
  return d;
}

// Attributes that go with a font: its description and its OpenType features.
void addFontAttributes(PangoAttrList* list, const UIFont& font, guint start, guint end) {
  if (!laysOut(font)) return;  // the text is not laid out at all
  PangoFontDescription* d = describe(font);
  PangoAttribute* a = pango_attr_font_desc_new(d);
  pango_font_description_free(d);
  a->start_index = start;
  a->end_index = end;
  pango_attr_list_change(list, a);
  bool tabular = false;
  for (const UIFontFeatureSetting& f : font.featureSettings()) {
    tabular = tabular || (f.typeIdentifier == 6 && f.selectorIdentifier == 0);
  }
  if (tabular) {
    PangoAttribute* features = pango_attr_font_features_new("tnum=1");
    features->start_index = start;
    features->end_index = end;
    pango_attr_list_change(list, features);
  }
}

guint16 channel(CGFloat value) { return static_cast<guint16>(std::lround(std::clamp(value, 0.0, 1.0) * 65535)); }

void addColour(PangoAttrList* list, const UIColor& colour, guint start, guint end) {
  CGFloat r = 0, g = 0, b = 0, alpha = 0;
  if (!colour.getRed(r, g, b, alpha)) return;  // a pattern colour has no single colour to draw text in
  if (!std::isfinite(r) || !std::isfinite(g) || !std::isfinite(b) || !std::isfinite(alpha)) return;
  PangoAttribute* fg = pango_attr_foreground_new(channel(r), channel(g), channel(b));
  // Pango's alpha 0 means "unset"; 1 of 65535 leaves no visible ink.
  PangoAttribute* fgAlpha = pango_attr_foreground_alpha_new(std::max<guint16>(channel(alpha), 1));
  for (PangoAttribute* a : {fg, fgAlpha}) {
    a->start_index = start;
    a->end_index = end;
    pango_attr_list_change(list, a);
  }
}

// A number attribute held as any of the integer or floating types, or an NSNumber.
std::optional<double> numberValue(const std::any& value) {
  if (const auto* v = std::any_cast<std::int64_t>(&value)) return static_cast<double>(*v);
  if (const auto* v = std::any_cast<int>(&value)) return *v;
  if (const auto* v = std::any_cast<double>(&value)) return *v;
  if (const auto* v = std::any_cast<float>(&value)) return *v;
  if (const auto* v = std::any_cast<NSNumber>(&value)) return v->doubleValue();
  return std::nullopt;
}

// Text as Pango takes it: well-formed UTF-8 without NUL bytes (each bad byte and each
// NUL becomes U+FFFD, one UTF-16 unit like the byte it replaces).
std::string sanitized(std::string_view text) {
  if (unicode_internal::isValidUTF8(text) && text.find('\0') == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size() + 8);
  for (char32_t c : unicode_internal::scalars(text)) {
    unicode_internal::appendUTF8(out, c == 0 ? unicode_internal::kReplacementCharacter : c);
  }
  return out;
}

// Walks a well-formed UTF-8 text from UTF-16 offset to byte offset, forwards only.
class OffsetCursor {
 public:
  explicit OffsetCursor(std::string_view text) : text_(text) {}
  guint byteOffset(std::size_t units) {
    while (position_ < text_.size() && units_ < units) {
      const char32_t c = unicode_internal::decodeScalar(text_, position_);
      units_ += c > 0xFFFF ? 2 : 1;
    }
    return static_cast<guint>(position_);
  }

 private:
  std::string_view text_;
  std::size_t position_ = 0;
  std::size_t units_ = 0;
};

// What a layout is made from: the text, its run attributes and its paragraph style.
struct LayoutInput {
  std::string text;
  PangoAttrList* attributes = nullptr;
  std::optional<NSParagraphStyle> paragraph;
  bool laysOut = true;  // false when some font of the text has a size the engine skips
};

LayoutInput plainInput(std::string_view text, const UIFont& font) {
  LayoutInput in{sanitized(text), pango_attr_list_new(), std::nullopt, laysOut(font)};
  addFontAttributes(in.attributes, font, 0, PANGO_ATTR_INDEX_TO_TEXT_END);
  return in;
}

LayoutInput attributedInput(const NSAttributedString& text, const UIFont& font, const UIColor* colour) {
  LayoutInput in = plainInput(text.string(), font);
  if (colour != nullptr) addColour(in.attributes, *colour, 0, PANGO_ATTR_INDEX_TO_TEXT_END);
  OffsetCursor cursor(in.text);
  for (std::size_t location = 0; location < text.length();) {
    NSRange run;
    const NSAttributedString::Attributes attributes = text.attributes(location, &run);
    const guint start = cursor.byteOffset(run.location);
    const guint end = cursor.byteOffset(run.upperBound());
    location = run.upperBound();
    if (run.location == 0) {
      if (auto it = attributes.find(NSAttributedString::Key::paragraphStyle); it != attributes.end()) {
        if (const auto* style = std::any_cast<NSParagraphStyle>(&it->second)) in.paragraph = *style;
      }
    }
    for (const auto& [key, value] : attributes) {
      if (key == NSAttributedString::Key::font) {
        if (const auto* f = std::any_cast<UIFont>(&value)) {
          in.laysOut = in.laysOut && laysOut(*f);
          addFontAttributes(in.attributes, *f, start, end);
        }
      } else if (key == NSAttributedString::Key::foregroundColor) {
        if (const auto* c = std::any_cast<UIColor>(&value); c != nullptr && colour != nullptr) {
          addColour(in.attributes, *c, start, end);
        }
      } else if (key == NSAttributedString::Key::kern) {
        if (auto k = numberValue(value); k && std::isfinite(*k) && std::abs(*k) <= kLargestPointSize) {
          PangoAttribute* a = pango_attr_letter_spacing_new(pangoUnits(*k));
          a->start_index = start;
          a->end_index = end;
          pango_attr_list_change(in.attributes, a);
        }
      } else if (key == NSAttributedString::Key::underlineStyle) {
        if (auto style = numberValue(value); style && *style != 0) {
          PangoAttribute* a = pango_attr_underline_new(static_cast<std::int64_t>(*style) == NSUnderlineStyle::double_
                                                           ? PANGO_UNDERLINE_DOUBLE
                                                           : PANGO_UNDERLINE_SINGLE);
          a->start_index = start;
          a->end_index = end;
          pango_attr_list_change(in.attributes, a);
        }
      } else if (key == NSAttributedString::Key::strikethroughStyle) {
        if (auto style = numberValue(value); style && *style != 0) {
          PangoAttribute* a = pango_attr_strikethrough_new(TRUE);
          a->start_index = start;
          a->end_index = end;
          pango_attr_list_change(in.attributes, a);
        }
      }
    }
  }
  return in;
}

bool truncates(NSLineBreakMode mode) {
  return mode == NSLineBreakMode::byTruncatingHead || mode == NSLineBreakMode::byTruncatingMiddle ||
         mode == NSLineBreakMode::byTruncatingTail;
}

// The wrap width in Pango units, or -1 for none.
int wrapWidth(CGFloat width) {
  if (!std::isfinite(width) || !(width > 0) || width * PANGO_SCALE >= static_cast<double>(INT_MAX / 2)) return -1;
  return std::max(1, pangoUnits(width));
}

// A layout of `in` in `box`; the caller holds the stack's lock and unrefs the layout.
PangoLayout* makeLayout(FontStack& stack, const LayoutInput& in, TextBox box) {
  if (in.paragraph) {
    box.lineBreakMode = in.paragraph->lineBreakMode;
    box.alignment = in.paragraph->alignment;
  }
  PangoLayout* layout = pango_layout_new(stack.context);
  pango_layout_set_text(layout, in.text.data(), static_cast<int>(in.text.size()));
  pango_layout_set_attributes(layout, in.attributes);
  const bool oneLine = box.numberOfLines == 1;
  const bool ellipsize = truncates(box.lineBreakMode) && box.numberOfLines > 0;
  // One line wraps only to place an ellipsis; the other modes keep it whole and clip it.
  pango_layout_set_width(layout, oneLine && !ellipsize ? -1 : wrapWidth(box.width));
  pango_layout_set_wrap(layout, box.lineBreakMode == NSLineBreakMode::byCharWrapping ? PANGO_WRAP_CHAR
                                                                                      : PANGO_WRAP_WORD_CHAR);
  if (ellipsize) {
    pango_layout_set_ellipsize(layout, box.lineBreakMode == NSLineBreakMode::byTruncatingHead ? PANGO_ELLIPSIZE_START
                                       : box.lineBreakMode == NSLineBreakMode::byTruncatingMiddle
                                           ? PANGO_ELLIPSIZE_MIDDLE
                                           : PANGO_ELLIPSIZE_END);
    pango_layout_set_height(layout, static_cast<int>(-std::min<std::int64_t>(box.numberOfLines, INT_MAX)));
  }
  if (in.paragraph && std::isfinite(in.paragraph->lineSpacing) && in.paragraph->lineSpacing > 0) {
    pango_layout_set_spacing(layout, pangoUnits(std::min(in.paragraph->lineSpacing, kLargestPointSize)));
  }
  switch (box.alignment) {
    case NSTextAlignment::center: pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER); break;
    case NSTextAlignment::right: pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT); break;
    case NSTextAlignment::justified: pango_layout_set_justify(layout, TRUE); break;
    case NSTextAlignment::left:
    case NSTextAlignment::natural: break;
  }
  return layout;
}

// The logical box of the first `maxLines` lines (all for 0 or less), in points, from
// the layout's origin.
CGRect linesBox(PangoLayout* layout, std::int64_t maxLines) {
  PangoLayoutIter* iter = pango_layout_get_iter(layout);
  const ScopeExit freeIter([iter] { pango_layout_iter_free(iter); });
  int left = INT_MAX, right = INT_MIN, bottom = 0;
  std::int64_t lines = 0;
  do {
    PangoRectangle logical;
    pango_layout_iter_get_line_extents(iter, nullptr, &logical);
    int y0 = 0, y1 = 0;
    pango_layout_iter_get_line_yrange(iter, &y0, &y1);
    left = std::min(left, logical.x);
    right = std::max(right, logical.x + logical.width);
    bottom = y1;
    ++lines;
  } while ((maxLines <= 0 || lines < maxLines) && pango_layout_iter_next_line(iter));
  if (left > right) return CGRect();
  return CGRect(points(left), 0, points(right - left), points(bottom));
}

CGSize measureInput(const LayoutInput& in, const TextBox& box) {
  const ScopeExit freeAttributes([&in] { pango_attr_list_unref(in.attributes); });
  if (in.text.empty() || !in.laysOut) return CGSize();
  FontStack& stack = fontStack();
  const std::lock_guard lock(stack.mutex);
  if (stack.context == nullptr) return CGSize();
  PangoLayout* layout = makeLayout(stack, in, box);
  const ScopeExit freeLayout([layout] { g_object_unref(layout); });
  CGSize size = linesBox(layout, box.numberOfLines).size;
  // A single line that does not wrap is clipped to the width it is given.
  if (pango_layout_get_width(layout) < 0 && box.numberOfLines == 1 && wrapWidth(box.width) > 0) {
    size.width = std::min(size.width, box.width);
  }
  return size;
}

}  // namespace

void requireFontFile(std::string_view file, std::string_view package) {
  const std::string path(file);
  struct stat info {};
  if (!path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return;
  fatalError("text: the font file " + path + " is missing; install the Debian package " + std::string(package) +
             " (scripts/setup.sh installs every font the library draws with)");
}

FontMetrics fontMetrics(const UIFont& font) {
  if (!laysOut(font)) return {};
  FontStack& stack = fontStack();
  const std::lock_guard lock(stack.mutex);
  if (stack.map == nullptr) return {};
  PangoFontDescription* d = describe(font);
  const ScopeExit freeDescription([d] { pango_font_description_free(d); });
  PangoFont* loaded = pango_font_map_load_font(stack.map, stack.context, d);
  if (loaded == nullptr) return {};
  const ScopeExit freeFont([loaded] { g_object_unref(loaded); });
  PangoFontMetrics* m = pango_font_get_metrics(loaded, nullptr);
  const ScopeExit freeMetrics([m] { pango_font_metrics_unref(m); });
  FontMetrics result;
  result.ascender = points(pango_font_metrics_get_ascent(m));
  result.descender = -points(pango_font_metrics_get_descent(m));
  // A laid-out line is ascent plus descent high; the font's line gap is its leading.
  result.lineHeight = result.ascender - result.descender;
  result.leading = std::max(0.0, points(pango_font_metrics_get_height(m)) - result.lineHeight);
  // Cap and x heights in font units: the OS/2 table's, else the tops of "H" and "x".
  hb_face_t* face = hb_font_get_face(pango_font_get_hb_font(loaded));
  hb_font_t* unscaled = hb_font_create(face);
  const ScopeExit freeUnscaled([unscaled] { hb_font_destroy(unscaled); });
  const CGFloat perUnit = font.pointSize() / static_cast<CGFloat>(std::max(1u, hb_face_get_upem(face)));
  auto height = [unscaled, perUnit](hb_ot_metrics_tag_t tag, hb_codepoint_t letter) -> CGFloat {
    hb_position_t value = 0;
    if (hb_ot_metrics_get_position(unscaled, tag, &value) && value > 0) return value * perUnit;
    hb_codepoint_t glyph = 0;
    hb_glyph_extents_t extents{};
    if (hb_font_get_nominal_glyph(unscaled, letter, &glyph) && hb_font_get_glyph_extents(unscaled, glyph, &extents)) {
      return extents.y_bearing * perUnit;
    }
    return 0;
  };
  result.capHeight = height(HB_OT_METRICS_TAG_CAP_HEIGHT, 'H');
  result.xHeight = height(HB_OT_METRICS_TAG_X_HEIGHT, 'x');
  return result;
}

CGSize measure(const NSAttributedString& text, const UIFont& font, const TextBox& box) {
  return measureInput(attributedInput(text, font, nullptr), box);
}

CGSize measure(std::string_view text, const UIFont& font, const TextBox& box) {
  return measureInput(plainInput(text, font), box);
}

void draw(cairo_t* cr, const NSAttributedString& text, const UIFont& font, const UIColor& color, TextBox box,
          CGRect rect, VerticalPlacement placement) {
  if (!std::isfinite(rect.origin.x) || !std::isfinite(rect.origin.y) || !std::isfinite(rect.size.width) ||
      !std::isfinite(rect.size.height)) {
    return;
  }
  const LayoutInput in = attributedInput(text, font, &color);
  const ScopeExit freeAttributes([&in] { pango_attr_list_unref(in.attributes); });
  if (in.text.empty() || !in.laysOut) return;
  box.width = rect.size.width;
  FontStack& stack = fontStack();
  const std::lock_guard lock(stack.mutex);
  if (stack.context == nullptr) return;
  PangoLayout* layout = makeLayout(stack, in, box);
  const ScopeExit freeLayout([layout] { g_object_unref(layout); });
  const CGRect lines = linesBox(layout, box.numberOfLines);
  CGFloat x = rect.origin.x;
  if (pango_layout_get_width(layout) < 0) {  // unwrapped: align the line by hand
    const CGFloat room = rect.size.width - lines.size.width;
    if (box.alignment == NSTextAlignment::center) x += room / 2;
    if (box.alignment == NSTextAlignment::right) x += room;
    x = std::max(x, rect.origin.x) - lines.origin.x;
  }
  CGFloat y = rect.origin.y;
  if (placement == VerticalPlacement::center) y += std::max(0.0, (rect.size.height - lines.size.height) / 2);
  cairo_save(cr);
  const ScopeExit restore([cr] { cairo_restore(cr); });
  // Lines past the limit are not drawn, nor is the part of a clipped line beyond the
  // rectangle; glyphs that reach out of their line sideways (italics, swashes) are.
  double clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
  cairo_clip_extents(cr, &clipLeft, &clipTop, &clipRight, &clipBottom);
  if (pango_layout_get_width(layout) < 0 && box.numberOfLines == 1) {
    clipLeft = rect.origin.x;
    clipRight = rect.origin.x + std::max(0.0, rect.size.width);
  }
  cairo_new_path(cr);
  cairo_rectangle(cr, clipLeft, y, clipRight - clipLeft, lines.size.height);
  cairo_clip(cr);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);
}

}  // namespace ios::text_internal
