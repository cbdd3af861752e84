#pragma once

// What the plug-in object needs of its editor. The editor framework implements it; the
// plug-in owns the editor once attached and deletes it through this interface.
//
// The most-derived plug-in class deletes its editor first thing in its destructor
// (IPlugBase::DeleteEditor), so the editor may still call the plug-in while it goes. An
// editor left to IPlugBase is deleted after the binding and the effect are gone and must
// not call back.
class IPlugEditor
{
public:
  virtual ~IPlugEditor() = default;

  // Moves every control bound to the parameter (and every auxiliary binding of it) to the
  // value; a plain value is first normalised by the parameter.
  virtual void PushParamToControls(int paramIdx, double value, bool normalised) = 0;

  // Makes the drawing surfaces at the editor's current size.
  virtual void CreateDrawSurfaces() = 0;

  // Greys out (or enables again) every control bound to the parameter.
  virtual void GreyControlsOfParam(int /*paramIdx*/, bool /*grey*/) {}

  // ---- The editor's window, opened by a binding when the host shows the editor ----

  // The kind of host window the editor can open its own window in ("HWND"); null when this
  // system gives the editor no window.
  virtual const char* ParentWindowType() const { return nullptr; }
  // Opens the editor's window inside the host's; returns it, or null.
  virtual void* OpenInParent(void* /*parent*/) { return nullptr; }
  virtual void CloseView() {}
  virtual int Width() const { return 0; }
  virtual int Height() const { return 0; }
};
