#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/cpu/CpuFeatures.h"
#include "lice/LICE_BlendRows.h"

namespace {

// Random pixels whose alpha is often one of the values with cases of their own.
std::vector<Pixel32> RandomPixels(std::mt19937& rng, std::size_t count)
{
  static const Pixel32 kAlphas[] = {0, 1, 2, 127, 128, 254, 255};
  std::vector<Pixel32> out(count);
  for (Pixel32& p : out)
  {
    p = static_cast<Pixel32>(rng());
    const unsigned pick = rng() % 10;
    if (pick < std::size(kAlphas))
      p = (p & 0x00FFFFFF) | (kAlphas[pick] << 24);
  }
  return out;
}

struct NamedRow
{
  const char* name;
  LICE_BlendRowFn LICE_BlendRowSet::*row;
};
const NamedRow kRows[] = {
  {"copy", &LICE_BlendRowSet::copy}, {"alpha full", &LICE_BlendRowSet::alphaFull}, {"alpha", &LICE_BlendRowSet::alpha}};

}  // namespace

// Each vector path against the portable loops over every weight (those outside 1..255 too,
// which the vector loops pass on), widths around the vector lengths, and rows starting at
// every pixel alignment, with a guard pixel after the row.
TEST(BlendRows, VectorPathsGiveThePortablePixels)
{
  const CpuFeatures& cpu = ProcessorFeatures();
  const struct
  {
    LICE_BlendPath path;
    bool runs;
  } paths[] = {{LICE_BlendPath::Sse2, cpu.sse2}, {LICE_BlendPath::Avx2, cpu.avx2}};
  const LICE_BlendRowSet& portable = LICE_BlendRowsFor(LICE_BlendPath::Portable);
  const int widths[] = {1, 3, 4, 7, 8, 9, 15, 16, 17, 31, 69};
  const int offsets[][2] = {{0, 0}, {1, 3}, {3, 1}, {2, 2}, {5, 6}};
  std::mt19937 rng(11);
  for (const auto& p : paths)
  {
    if (!p.runs)
      continue;
    const LICE_BlendRowSet& vector = LICE_BlendRowsFor(p.path);
    for (const NamedRow& kind : kRows)
      for (int w = -2; w <= 258; ++w)
        for (int width : widths)
          for (const auto& offset : offsets)
          {
            const std::vector<Pixel32> src = RandomPixels(rng, width + 8);
            std::vector<Pixel32> expected = RandomPixels(rng, width + 8);
            std::vector<Pixel32> got = expected;
            (portable.*kind.row)(expected.data() + offset[0], src.data() + offset[1], width, w);
            (vector.*kind.row)(got.data() + offset[0], src.data() + offset[1], width, w);
            ASSERT_EQ(got, expected) << kind.name << " path " << int(p.path) << " w " << w << " width " << width
                                     << " offsets " << offset[0] << "," << offset[1];
          }
  }
}

// A processor without AVX2, or without SSE2 as well, never runs the wider loops.
TEST(BlendRows, ProcessorProbeChoosesThePath)
{
  CpuFeatures& cpu = ProcessorFeatures();
  const CpuFeatures saved = cpu;
  cpu.avx2 = false;
  EXPECT_EQ(LICE_BlendRows().copy,
            LICE_BlendRowsFor(saved.sse2 ? LICE_BlendPath::Sse2 : LICE_BlendPath::Portable).copy);
  cpu.sse2 = false;
  EXPECT_EQ(LICE_BlendRows().alpha, LICE_BlendRowsFor(LICE_BlendPath::Portable).alpha);
  cpu = saved;
  if (cpu.avx2)
  {
    EXPECT_EQ(LICE_BlendRows().alphaFull, LICE_BlendRowsFor(LICE_BlendPath::Avx2).alphaFull);
  }
}
