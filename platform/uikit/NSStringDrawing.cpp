#include "platform/uikit/NSStringDrawing.h"

#include <algorithm>
#include <any>
#include <cstddef>

#include "platform/foundation/String.h"

namespace ios {
namespace {

CGFloat advanceOf(const UIFont& font) {
  return font.pointSize() * ((font.symbolicTraits() & UIFont::traitBold) != 0 ? 0.55 : 0.5);
}

bool isLineBreak(std::string_view c) { return c == "\n" || c == "\r\n" || c == "\r"; }

}  // namespace

CGSize sizeWithFont(std::string_view text, const UIFont& font) {
  if (text.empty()) return CGSize();
  const CGFloat size = font.pointSize();
  const CGFloat advance = advanceOf(font);
  std::size_t lines = 1;
  std::size_t widest = 0;
  std::size_t current = 0;
  const std::vector<std::size_t> bounds = characterBoundaries(text);
  for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
    const std::string_view c = text.substr(bounds[i], bounds[i + 1] - bounds[i]);
    if (isLineBreak(c)) {
      widest = std::max(widest, current);
      current = 0;
      ++lines;
    } else {
      ++current;
    }
  }
  widest = std::max(widest, current);
  return CGSize(static_cast<CGFloat>(widest) * advance, static_cast<CGFloat>(lines) * size * 1.5);
}

CGSize sizeWithAttributes(std::string_view text, const NSAttributedString::Attributes& attributes) {
  UIFont font = UIFont::systemFont(12);
  if (auto it = attributes.find(NSAttributedString::Key::font); it != attributes.end()) {
    if (const auto* f = std::any_cast<UIFont>(&it->second)) font = *f;
  }
  return sizeWithFont(text, font);
}

}  // namespace ios

namespace ios {

CGSize sizeWithFont(std::string_view text, const UIFont& font, CGFloat maxWidth, std::int64_t maxLines) {
  if (text.empty()) return CGSize();
  const CGFloat advance = advanceOf(font);
  // Characters a line holds; at least one, so that every line makes progress.
  const std::size_t perLine =
      advance > 0 && maxWidth / advance < 1e15 ? std::max<std::size_t>(1, static_cast<std::size_t>(maxWidth / advance))
                                               : static_cast<std::size_t>(-1);
  std::vector<std::size_t> lineLengths;
  std::size_t line = 0;     // characters on the current line
  std::size_t pending = 0;  // spaces waiting between the line and the next word
  std::size_t word = 0;     // characters of the word being read
  auto placeWord = [&] {
    if (word == 0) return;
    if (line > 0 && line + pending + word > perLine) {
      lineLengths.push_back(line);
      line = 0;
    } else if (line > 0) {
      line += pending;
    }
    while (word > perLine) {  // a word wider than a line is broken between characters
      lineLengths.push_back(perLine);
      word -= perLine;
    }
    line += word;
    word = 0;
    pending = 0;
  };
  const std::vector<std::size_t> bounds = characterBoundaries(text);
  for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
    const std::string_view c = text.substr(bounds[i], bounds[i + 1] - bounds[i]);
    if (isLineBreak(c)) {
      placeWord();
      lineLengths.push_back(line);
      line = 0;
      pending = 0;
    } else if (c == " ") {
      placeWord();
      if (line > 0) ++pending;
    } else {
      ++word;
    }
  }
  placeWord();
  lineLengths.push_back(line);
  if (maxLines > 0 && lineLengths.size() > static_cast<std::size_t>(maxLines)) {
    lineLengths.resize(static_cast<std::size_t>(maxLines));
  }
  const std::size_t widest = *std::max_element(lineLengths.begin(), lineLengths.end());
  return CGSize(static_cast<CGFloat>(widest) * advance,
                static_cast<CGFloat>(lineLengths.size()) * font.pointSize() * 1.5);
}

}  // namespace ios
