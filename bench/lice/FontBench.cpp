// Text drawing as the editor does it: "Arial" at 16 px, a measuring pass, then centred drawing;
// the glyph loops alone; and the first rendering of a glyph.
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include "lice/LICE_CachedFont.h"
#include "lice/glyphs/LICE_GlyphBlend.h"

namespace {
const char* const KnobText = "-12.5 dB 30%";  // 12 characters

void BM_DrawKnobString(benchmark::State& state)
{
  LICE_CachedFont font;
  font.AssignFont(LICE_CreateFont("Arial", 16, 400, false, 0, 0), LICE_FontOwnsHandle | LICE_FontNativeDraw);
  font.ChangeTextColour(0xFFFFC83F);
  LICE_SysBitmap surface(650, 410);
  for (auto _ : state)
  {
    LICE_TextRect measured{0, 0, 0, 0};
    font.PaintText(&surface, KnobText, -1, &measured, 0x524);
    LICE_TextRect rect{100, 200, 220, 220};
    benchmark::DoNotOptimize(font.PaintText(&surface, KnobText, -1, &rect, 0x125));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(std::strlen(KnobText)));
}
BENCHMARK(BM_DrawKnobString);

// One 8 x 16 glyph mask with ramps of coverage, blended in one family at one weight.
void BM_GlyphLoop(benchmark::State& state, LICE_GlyphFamily family, float alpha)
{
  std::vector<unsigned char> mask(8 * 16);
  for (size_t i = 0; i < mask.size(); ++i)
    mask[i] = family == LICE_GlyphFamily::Plain ? static_cast<unsigned char>(i * 37) : (i % 3 ? 255 : 128);
  std::vector<Pixel32> pixels(8 * 16, 0xFF203040);
  const LICE_GlyphSpan span{mask.data(), 8, pixels.data(), 8, 8, 16};
  for (auto _ : state)
  {
    LICE_BlendGlyphSpan(span, family, BlendCopy, alpha, 0xFFFFC83F, 0xFF808080);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(mask.size()));
}
BENCHMARK_CAPTURE(BM_GlyphLoop, plain_full, LICE_GlyphFamily::Plain, 1.0f);
BENCHMARK_CAPTURE(BM_GlyphLoop, plain_0_75, LICE_GlyphFamily::Plain, 0.75f);
BENCHMARK_CAPTURE(BM_GlyphLoop, mono_0_75, LICE_GlyphFamily::Mono, 0.75f);
BENCHMARK_CAPTURE(BM_GlyphLoop, effect_0_75, LICE_GlyphFamily::Effect, 0.75f);

// Rendering ten digits from scratch: the rasteriser's cost per glyph.
void BM_FirstRender(benchmark::State& state)
{
  LICE_CachedFont font;
  LICE_FontHandle handle = LICE_CreateFont("Arial", 16, 400, false, 0, 0);
  for (auto _ : state)
  {
    font.AssignFont(handle, 0);
    for (int c = '0'; c <= '9'; ++c)
      benchmark::DoNotOptimize(font.CacheGlyph(c));
  }
  state.SetItemsProcessed(state.iterations() * 10);
  font.AssignFont(nullptr, 0);
  LICE_DeleteFont(handle);
}
BENCHMARK(BM_FirstRender);

}  // namespace
