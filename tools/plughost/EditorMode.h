#pragma once
// The host tool's editor mode, the same for every plug-in format: after the render, a
// top-level window as a host makes one, the plug-in's editor opened inside it, a short script
// of pointer actions played, and what the window then shows saved as a PNG file, or the
// window left open for a person to use until they close it. Windows only: elsewhere there is
// no editor window.

#include "tools/plughost/CommandLine.h"

#include <ostream>
#include <string>

namespace plughost {

// What a format's session does for the editor mode.
class EditorSession
{
public:
  virtual ~EditorSession() = default;
  // Opens the plug-in's editor in the parent window and gives its size; false with a reason.
  virtual bool open(void* parent, int& width, int& height, std::string& error) = 0;
  // Between the window's messages, as a host's idle time.
  virtual void idle() {}
  virtual void close() = 0;
};

bool wantsEditor(const HostOptions& options);

// False with a reason when the editor cannot be opened or its picture not saved.
bool runEditor(const HostOptions& options, EditorSession& editor, std::ostream& out, std::string& error);

}  // namespace plughost
