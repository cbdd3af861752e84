// editorshot: draws the plug-in's editor for given settings and meter levels into a PNG.
#include "tools/editorshot/EditorShot.h"

#include <iostream>

int main(int argc, char** argv)
{
  const std::vector<std::string> args(argv + 1, argv + argc);
  editorshot::ShotOptions options;
  std::string error;
  if (!editorshot::ParseShotOptions(args, &options, &error))
  {
    std::cerr << "editorshot: " << error << "\n" << editorshot::UsageText();
    return 1;
  }
  if (options.help)
  {
    std::cout << editorshot::UsageText();
    return 0;
  }
  return editorshot::RenderEditorShot(options, std::cerr);
}
