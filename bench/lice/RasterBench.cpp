// Pixel throughput of the blit and fill loops (items = pixels), and PNG decoding of images the
// size of the editor's background and of a knob strip.
#include <png.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "platform/cpu/CpuFeatures.h"
#include "lice/LICE_Blit.h"
#include "lice/LICE_Png.h"

namespace {

// A control-like source: a third transparent, a third opaque, the rest partly covered.
void FillControl(LICE_IBitmap& bitmap, unsigned seed)
{
  std::mt19937 rng(seed);
  for (int y = 0; y < bitmap.PixelHeight(); ++y)
    for (int x = 0; x < bitmap.PixelWidth(); ++x)
    {
      const unsigned kind = rng() % 3;
      const Pixel32 alpha = kind == 0 ? 0 : kind == 1 ? 255 : 1 + rng() % 254;
      bitmap.PixelData()[y * bitmap.RowPitch() + x] = (alpha << 24) | (rng() & 0xFFFFFF);
    }
}

void BM_CopyRect(benchmark::State& state, BlendMode mode, float alpha)
{
  LICE_SysBitmap surface(650, 410);
  LICE_MemBitmap control(256, 256);
  FillControl(surface, 1);
  FillControl(control, 2);
  for (auto _ : state)
  {
    LICE_CopyRect(&surface, &control, 120, 80, nullptr, alpha, mode);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 256 * 256);
}

// The same on the 128-bit loops (what a processor without AVX2 runs) and on the portable ones.
void BM_CopyRectNarrow(benchmark::State& state, BlendMode mode, float alpha, bool sse2)
{
  CpuFeatures& cpu = ProcessorFeatures();
  const CpuFeatures saved = cpu;
  cpu.avx2 = false;
  cpu.sse2 = sse2 && saved.sse2;
  BM_CopyRect(state, mode, alpha);
  cpu = saved;
}

void BM_PaintRect(benchmark::State& state, BlendMode mode, float alpha)
{
  LICE_SysBitmap surface(650, 410);
  FillControl(surface, 3);
  for (auto _ : state)
  {
    LICE_PaintRect(&surface, 10, 10, 256, 256, 0xC0FFC83F, alpha, mode);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 256 * 256);
}

void Append(png_structp png, png_bytep data, png_size_t size)
{
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}

void NoFlush(png_structp) {}

// An RGBA image with smooth shading and a little noise, compressed as an editor asset would be.
std::vector<unsigned char> MakePng(int width, int height)
{
  std::mt19937 rng(9);
  std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
    {
      unsigned char* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
      const double r = std::hypot(x % 128 - 64.0, y % 128 - 64.0);
      p[0] = static_cast<unsigned char>(x * 255 / width);
      p[1] = static_cast<unsigned char>(y % 256);
      p[2] = static_cast<unsigned char>(128 + (rng() % 8));
      p[3] = r < 56 ? 255 : r < 60 ? static_cast<unsigned char>((60 - r) * 63) : 0;
    }
  std::vector<png_bytep> rows;
  for (int y = 0; y < height; ++y)
    rows.push_back(&pixels[static_cast<std::size_t>(y) * width * 4]);
  std::vector<unsigned char> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png)))
    return {};
  png_set_write_fn(png, &out, Append, NoFlush);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

void BM_DecodePng(benchmark::State& state, int width, int height)
{
  const std::vector<unsigned char> file = MakePng(width, height);
  for (auto _ : state)
  {
    LICE_MemBitmap* bitmap = LICE_DecodePngMemory(file.data(), static_cast<int>(file.size()));
    if (!bitmap)
      state.SkipWithError("decoding failed");
    delete bitmap;
  }
  state.SetItemsProcessed(state.iterations() * width * height);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
}

}  // namespace

BENCHMARK_CAPTURE(BM_CopyRect, copy_1_0, 0, 1.0f);
BENCHMARK_CAPTURE(BM_CopyRect, copy_0_5, 0, 0.5f);
BENCHMARK_CAPTURE(BM_CopyRect, copy_0_6, 0, 0.6f);
BENCHMARK_CAPTURE(BM_CopyRect, add_0_6, BlendAdd, 0.6f);
BENCHMARK_CAPTURE(BM_CopyRect, dodge_0_6, BlendDodge, 0.6f);
BENCHMARK_CAPTURE(BM_CopyRect, multiply_0_6, BlendMultiply, 0.6f);
BENCHMARK_CAPTURE(BM_CopyRect, overlay_0_6, BlendOverlay, 0.6f);
BENCHMARK_CAPTURE(BM_CopyRect, hsv_0_6, BlendHsvAdjust, 0.6f);
BENCHMARK_CAPTURE(BM_CopyRect, alpha_copy_1_0, BlendUseSourceAlpha, 1.0f);
BENCHMARK_CAPTURE(BM_CopyRect, alpha_copy_0_25, BlendUseSourceAlpha, 0.25f);
BENCHMARK_CAPTURE(BM_CopyRect, alpha_add_1_0, BlendUseSourceAlpha | BlendAdd, 1.0f);
BENCHMARK_CAPTURE(BM_CopyRect, alpha_dodge_1_0, BlendUseSourceAlpha | BlendDodge, 1.0f);
BENCHMARK_CAPTURE(BM_CopyRect, alpha_multiply_1_0, BlendUseSourceAlpha | BlendMultiply, 1.0f);
BENCHMARK_CAPTURE(BM_CopyRect, alpha_overlay_1_0, BlendUseSourceAlpha | BlendOverlay, 1.0f);
BENCHMARK_CAPTURE(BM_CopyRect, alpha_hsv_1_0, BlendUseSourceAlpha | BlendHsvAdjust, 1.0f);
BENCHMARK_CAPTURE(BM_CopyRect, channel_copy, 0xF6, 1.0f);
BENCHMARK_CAPTURE(BM_CopyRectNarrow, copy_0_6_sse2, 0, 0.6f, true);
BENCHMARK_CAPTURE(BM_CopyRectNarrow, alpha_copy_1_0_sse2, BlendUseSourceAlpha, 1.0f, true);
BENCHMARK_CAPTURE(BM_CopyRectNarrow, alpha_copy_0_25_sse2, BlendUseSourceAlpha, 0.25f, true);
BENCHMARK_CAPTURE(BM_CopyRectNarrow, copy_0_6_portable, 0, 0.6f, false);
BENCHMARK_CAPTURE(BM_CopyRectNarrow, alpha_copy_1_0_portable, BlendUseSourceAlpha, 1.0f, false);
BENCHMARK_CAPTURE(BM_CopyRectNarrow, alpha_copy_0_25_portable, BlendUseSourceAlpha, 0.25f, false);

BENCHMARK_CAPTURE(BM_PaintRect, copy_1_0, 0, 1.0f);
BENCHMARK_CAPTURE(BM_PaintRect, copy_0_5, 0, 0.5f);
BENCHMARK_CAPTURE(BM_PaintRect, copy_0_3, 0, 0.3f);
BENCHMARK_CAPTURE(BM_PaintRect, add_0_6, BlendAdd, 0.6f);
BENCHMARK_CAPTURE(BM_PaintRect, multiply_0_6, BlendMultiply, 0.6f);
BENCHMARK_CAPTURE(BM_PaintRect, overlay_0_6, BlendOverlay, 0.6f);
BENCHMARK_CAPTURE(BM_PaintRect, hsv_0_6, BlendHsvAdjust, 0.6f);

BENCHMARK_CAPTURE(BM_DecodePng, background_650x410, 650, 410);
BENCHMARK_CAPTURE(BM_DecodePng, knob_strip_128x12800, 128, 12800);
