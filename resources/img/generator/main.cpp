// Draws the editor's eight images into a folder, and on request a picture of them all.
//   tq_image_generator OUT_FOLDER [--font FILE] [--montage FILE]
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "Artwork.h"
#include "Layout.h"
#include "Montage.h"

int main(int argc, char** argv)
{
  std::string folder, font = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf", montage;
  for (int i = 1; i < argc; ++i)
  {
    if (!std::strcmp(argv[i], "--font") && i + 1 < argc)
      font = argv[++i];
    else if (!std::strcmp(argv[i], "--montage") && i + 1 < argc)
      montage = argv[++i];
    else if (argv[i][0] != '-' && folder.empty())
      folder = argv[i];
    else
    {
      std::fprintf(stderr, "usage: %s OUT_FOLDER [--font FILE] [--montage FILE]\n", argv[0]);
      return 2;
    }
  }
  if (folder.empty())
  {
    std::fprintf(stderr, "usage: %s OUT_FOLDER [--font FILE] [--montage FILE]\n", argv[0]);
    return 2;
  }
  try
  {
    const Typeface bold(font);
    WritePng(folder + "/bkg.png", DrawBackdrop(bold));
    WritePng(folder + "/big-knob.png", DrawKnobStrip(kBigKnobSize, true));
    WritePng(folder + "/small-knob.png", DrawKnobStrip(kSmallKnobSize, false));
    WritePng(folder + "/gain-meter.png", DrawGainMeterStrip());
    WritePng(folder + "/peak-meter.png", DrawPeakMeterStrip());
    WritePng(folder + "/button.png", DrawButtonStrip());
    WritePng(folder + "/up-limit-fader.png", DrawUpperLimitHandle(bold));
    WritePng(folder + "/low-limit-fader.png", DrawLowerLimitHandle(bold));
    if (!montage.empty())
      WriteMontage(folder, montage);
  }
  catch (const std::exception& e)
  {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
