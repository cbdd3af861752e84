#include "tools/plughost/EditorMode.h"

#include "hosts/window/HostWindow.h"
#include "lice/LICE_Bitmap.h"
#include "tools/common/PngFile.h"

#include <chrono>
#include <thread>

namespace plughost {
namespace {

// How long the window's messages run before the picture is taken: a few of an editor's
// redraw periods, as a host's window lives.
constexpr auto kSettleTime = std::chrono::milliseconds(250);

void runMessages(const hostwindow::HostWindow& window, EditorSession& editor)
{
  const auto end = std::chrono::steady_clock::now() + kSettleTime;
  while (std::chrono::steady_clock::now() < end)
  {
    window.pump();
    editor.idle();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

bool savePicture(const hostwindow::WindowPicture& picture, const std::string& path, std::string& error)
{
  if (picture.pixels.empty())
  {
    error = "the editor's window could not be read";
    return false;
  }
  LICE_MemBitmap bitmap(picture.width, picture.height);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
    {
      const std::uint32_t p = picture.at(x, y);
      bitmap.PixelData()[y * bitmap.RowPitch() + x] = LICE_Rgba((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF, 255);
    }
  return toolcommon::WritePngFile(path.c_str(), bitmap, &error);
}

}  // namespace

bool wantsEditor(const HostOptions& options)
{
  return options.showEditor || !options.editorPicturePath.empty();
}

bool runEditor(const HostOptions& options, EditorSession& editor, std::ostream& out, std::string& error)
{
  hostwindow::HostWindow window(400, 300, ("plughost: " + options.modulePath).c_str());
  if (!window.handle())
  {
    error = "plug-in editors have no window on this system (run the Windows build, under Wine here)";
    return false;
  }
  int width = 0;
  int height = 0;
  if (!editor.open(window.handle(), width, height, error))
    return false;
  window.resizeClient(width, height);
  out << "editor: " << width << " x " << height << "\n";
  // The editor's own window, where the pointer acts; the host's when the plug-in made none.
  void* view = window.findChild(nullptr);
  view = view ? view : window.handle();
  runMessages(window, editor);
  for (const hostwindow::PointerAction& action : options.pointerActions)
  {
    hostwindow::playPointerAction(view, action);
    runMessages(window, editor);
  }
  bool ok = true;
  if (!options.editorPicturePath.empty())
  {
    ok = savePicture(hostwindow::captureWindow(view), options.editorPicturePath, error);
    if (ok)
      out << "editor picture saved to " << options.editorPicturePath << "\n";
  }
  if (ok && options.showEditor)
  {
    out << "close the editor's window to go on\n";
    window.runUntilClosed();
  }
  editor.close();
  return ok;
}

}  // namespace plughost
