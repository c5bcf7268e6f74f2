// Label measurement: 10,000 sizeThatFits calls on labels of varied text, one line and
// wrapped, beside raw Pango laying out and measuring the same strings in the same font.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>

#include <memory>
#include <string>
#include <vector>

#include "KPQuaslet/views/UILabel+KPExt.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace {

constexpr int kMeasurements = 10000;

// A hundred texts of different lengths and scripts.
std::vector<std::string> texts() {
  const std::vector<std::string> words = {"Settings", "profile", "follow", "中文", "iiii", "WWWW", "done", "é"};
  std::vector<std::string> out;
  for (int i = 0; i < 100; ++i) {
    std::string t;
    for (int w = 0; w <= i % 9; ++w) t += words[(i + w) % words.size()] + " ";
    out.push_back(t + std::to_string(i));
  }
  return out;
}

void BM_LabelSizeThatFits(benchmark::State& state) {
  const bool wrapped = state.range(0) != 0;
  std::vector<std::shared_ptr<ios::UILabel>> labels;
  for (const std::string& t : texts()) {
    auto label = kp::makeLabel(0, 0, 120, 20, 17);
    label->numberOfLines = wrapped ? 0 : 1;
    label->setText(t);
    labels.push_back(label);
  }
  for (auto _ : state) {
    for (int i = 0; i < kMeasurements; ++i) {
      benchmark::DoNotOptimize(labels[i % labels.size()]->sizeThatFits(ios::CGSize(120, 1e9)));
    }
  }
  state.SetItemsProcessed(state.iterations() * kMeasurements);
}
BENCHMARK(BM_LabelSizeThatFits)->Arg(0)->Arg(1)->ArgNames({"wrapped"})->Unit(benchmark::kMillisecond);

// Anchor: a Pango layout per measurement over the default font map, in DejaVu Sans at
// 17 points (the system font's stand-in), wrapped at 120 points or not.
void BM_RawPangoLayoutExtents(benchmark::State& state) {
  const bool wrapped = state.range(0) != 0;
  const std::vector<std::string> strings = texts();
  PangoFontMap* map = pango_cairo_font_map_new();
  PangoContext* context = pango_font_map_create_context(map);
  PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans");
  pango_font_description_set_absolute_size(font, 17 * PANGO_SCALE);
  for (auto _ : state) {
    for (int i = 0; i < kMeasurements; ++i) {
      const std::string& t = strings[i % strings.size()];
      PangoLayout* layout = pango_layout_new(context);
      pango_layout_set_font_description(layout, font);
      pango_layout_set_text(layout, t.data(), static_cast<int>(t.size()));
      if (wrapped) {
        pango_layout_set_width(layout, 120 * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
      }
      PangoRectangle logical;
      pango_layout_get_extents(layout, nullptr, &logical);
      benchmark::DoNotOptimize(logical);
      g_object_unref(layout);
    }
  }
  state.SetItemsProcessed(state.iterations() * kMeasurements);
  pango_font_description_free(font);
  g_object_unref(context);
  g_object_unref(map);
}
BENCHMARK(BM_RawPangoLayoutExtents)->Arg(0)->Arg(1)->ArgNames({"wrapped"})->Unit(benchmark::kMillisecond);

}  // namespace
