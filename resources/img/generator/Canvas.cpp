#include "Canvas.h"

Canvas::Canvas(int width, int height, int samples)
  : mWidth(width),
    mHeight(height),
    mSamples(samples),
    mData(std::size_t(width) * std::size_t(height) * std::size_t(samples * samples) * 4, 0.0f)
{}

void Canvas::Stamp(const Coverage& coverage, int x, int y, Rgba colour)
{
  const int s = mSamples;
  for (int cy = 0; cy < coverage.height; ++cy)
    for (int cx = 0; cx < coverage.width; ++cx)
    {
      const int px = x + cx, py = y + cy;
      const std::uint8_t a = coverage.alpha[std::size_t(cy) * std::size_t(coverage.width) + std::size_t(cx)];
      if (a == 0 || px < 0 || py < 0 || px >= mWidth || py >= mHeight)
        continue;
      const Rgba c = WithAlpha(colour, float(a) / 255.0f);
      for (int sy = 0; sy < s; ++sy)
        for (int sx = 0; sx < s; ++sx)
          Over(std::size_t(py * s + sy) * std::size_t(mWidth * s) + std::size_t(px * s + sx), c);
    }
}

Image Canvas::Resolve() const
{
  Image out(mWidth, mHeight);
  const int s = mSamples;
  const float count = float(s * s);
  for (int y = 0; y < mHeight; ++y)
    for (int x = 0; x < mWidth; ++x)
    {
      float sum[4] = {0, 0, 0, 0};
      for (int sy = 0; sy < s; ++sy)
        for (int sx = 0; sx < s; ++sx)
        {
          const float* p = &mData[(std::size_t(y * s + sy) * std::size_t(mWidth * s) + std::size_t(x * s + sx)) * 4];
          for (int c = 0; c < 4; ++c)
            sum[c] += p[c];
        }
      const float a = sum[3] / count;
      const auto byte = [](float v) { return std::uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
      std::uint8_t* px = out.At(x, y);
      px[3] = byte(a);
      if (px[3] == 0)
        continue;
      // Straight alpha: the editor blends by the stored alpha.
      for (int c = 0; c < 3; ++c)
        px[c] = byte(sum[c] / count / a);
    }
  return out;
}
