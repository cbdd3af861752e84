#pragma once

class IGraphics;
class IPlugBase;

// The editor of this build: a window on Windows, none elsewhere. Which one is a choice of
// the build (framework/gui/CMakeLists.txt), made once for every module.
IGraphics* MakePlatformGraphics(IPlugBase* plug, int width, int height, int fps = 0);
