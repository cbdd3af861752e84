#pragma once

#include "framework/core/IColour.h"
#include "framework/core/IPlugEditor.h"
#include "framework/core/IRectangle.h"
#include "framework/gui/ITextStyle.h"
#include "framework/core/PtrList.h"
#include "framework/gui/IBitmapRef.h"
#include "framework/gui/IBlendSpec.h"
#include "framework/gui/PointerModifiers.h"

#include <memory>

class IControl;
class IMenu;
class IPlugBase;
class IPlugParameter;
class LICE_CachedFont;
class LICE_IBitmap;
class LICE_SysBitmap;
class StringBuffer;

// A host that wants the first look at clicks on parameter controls (it may handle its own
// modifier clicks on parameters). Set on the editor by the binding that needs it.
class IHostClickFilter
{
public:
  virtual ~IHostClickFilter() = default;
  // True when the host took the click: the control then gets neither the press nor a gesture.
  virtual bool HostTakesClick(int paramIdx, const PointerModifiers& mods) = 0;
};

// The framework's optional behaviours, fixed when the editor is made. A plug-in's editor
// takes the defaults: no hover tracking, strict drawing, no tooltips, no bounds overlay.
struct IGraphicsFlags
{
  // Pointer moves without a button reach the control under the pointer.
  bool hoverHandling = false;
  // A paint draws the area it was asked for; otherwise each changed control's own area.
  bool strictDrawing = true;
  // Controls' tooltips are shown by the window (with hover handling).
  bool tooltips = false;
  // A debug overlay: every control's outline and the pointer's position, redrawn each frame.
  bool showBounds = false;
};

// The platform-neutral half of the editor: the controls (owned, drawn in list order, the
// last on top), the area that changed since the last frame, drawing into one off-screen
// bitmap, the pointer and key dispatch with the host's edit gestures, and the process-wide
// caches of decoded bitmaps and fonts. A platform window derives from it and implements the
// window slots.
//
// Threads: the editor's own calls run on the user-interface thread. The audio thread may
// push values and greying into controls at any time (PushParamToControls,
// GreyControlsOfParam, a control's ApplyPlugValue); controls make those safe, and the
// control list never changes once the editor is built.
class IGraphics : public IPlugEditor
{
public:
  static constexpr int kDefaultFps = 25;

  // fps <= 0 means the default frame rate.
  IGraphics(IPlugBase* plug, int width, int height, int fps = 0, const IGraphicsFlags& flags = IGraphicsFlags());
  ~IGraphics() override;

  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // ---- Building ----------------------------------------------------------------------------

  // Appends the control and takes ownership; returns its index, or -1 (the control deleted)
  // when the list cannot grow.
  int AddControl(IControl* control);
  // Makes the image the background: control 0, drawn as a plain copy.
  void SetBackdrop(int resourceId, const char* name);
  // A bitmap from the cache, loaded on first use. Empty when the image cannot be had.
  IBitmapRef FetchBitmap(int resourceId, const char* name, int frames = 1, bool framesSideBySide = false);

  int NControls() const { return mControls.Count(); }
  IControl* ControlAt(int idx) const { return mControls.At(idx); }
  IPlugBase* Plug() const { return mPlug; }
  int Width() const override { return mWidth; }
  int Height() const override { return mHeight; }
  int FPS() const { return mFps; }
  const IGraphicsFlags& Flags() const { return mFlags; }

  // Takes ownership of the control that gets the keys pressed over no control or over the
  // backdrop; a catcher set before is deleted.
  void SetKeyboardCatcher(IControl* catcher);
  IControl* KeyboardCatcher() const { return mKeyboardCatcher.get(); }

  // ---- The plug-in's side ----------------------------------------------------------------

  void CreateDrawSurfaces() override;
  void PushParamToControls(int paramIdx, double value, bool normalised) override;
  void GreyControlsOfParam(int paramIdx, bool greyed) override;

  // ---- Drawing -----------------------------------------------------------------------------

  // Every control gets drawn on the next frame (a window that just opened).
  void MarkAllChanged();
  // Adds the rectangles of the controls that need drawing to out; true when there were any.
  bool CollectDirtyRect(IRectangle* out) const;
  // Brings the draw bitmap up to date inside r and presents r. Controls lying wholly inside
  // r count as drawn; others keep their changes for a later frame. False when there are no
  // controls: nothing is drawn or presented, and the window must validate r itself.
  bool RedrawRect(const IRectangle& r);
  // Copies the part of dest that lies in the area being drawn, from sx, sy of the bitmap.
  bool BlitBitmap(const IBitmapRef& bitmap, const IRectangle& dest, int sx, int sy, const IBlendSpec* blend);
  // The rectangle's outline, edges included, in the overlay's opaque green whatever the
  // colour asked for (the overlay is its only user); clipped to the area being drawn.
  bool OutlineRect(const IColour& colour, const IRectangle& rect);
  // Draws one line of text centred vertically in rect, aligned by the style, clipped to the
  // area being drawn; with measureOnly the rectangle is fitted to the text instead. False
  // when no font can be had.
  bool RenderText(ITextStyle& style, const char* text, IRectangle* rect, bool measureOnly);
  // The style's font from the font cache, made on first use; stored into the style.
  LICE_CachedFont* ObtainFont(ITextStyle& style);

  LICE_SysBitmap* DrawBitmap() const { return mDrawBitmap.get(); }
  const IRectangle& RedrawRectangle() const { return mRedrawRect; }

  // ---- Input (IGraphicsDispatch.cpp) ----------------------------------------------------------

  // Key codes offered to the controls.
  enum EKeyCode
  {
    kKeySpace = 0,
    kKeyUp = 1,
    kKeyDown = 2,
    kKeyLeft = 3,
    kKeyRight = 4,
    kKeyDigit0 = 5,   // 5..14 for 0..9
    kKeyLetterA = 15  // 15..40 for A..Z
  };

  // The control holding the pointer, else the topmost shown control under it (greyed ones
  // only in hover mode and when they ask for it); -1 for none.
  int FindControlAt(int x, int y, bool hoverMode) const;
  void DispatchPress(int x, int y, const PointerModifiers& mods);
  void DispatchRelease(int x, int y, const PointerModifiers& mods);
  void DispatchDrag(int x, int y, const PointerModifiers& mods);
  // True when the window is to capture the pointer.
  bool DispatchDoubleClick(int x, int y, const PointerModifiers& mods);
  // A wheel turn over the control under the pointer, as one edit of its parameter.
  void DispatchWheel(int x, int y, const PointerModifiers& mods, int notches);
  // A pointer move without buttons: the control under it (greyed ones that ask for hover
  // included) gets it, and the one it left its leave. False, doing nothing, without hover
  // handling; true when the window is to track the pointer's leaving.
  bool DispatchHover(int x, int y, const PointerModifiers& mods);
  void DispatchHoverLeave();
  // True when a control handled the key: the one under the pointer, or over the backdrop
  // or over nothing, the keyboard catcher.
  bool DispatchKey(int x, int y, int keyCode);

  // The value prompt: a menu of the parameter's display texts, or a text entry.
  void AskValueForControl(IControl* control, IPlugParameter* param, const IRectangle& rect);
  // What the window's text entry gave: the text read as the parameter's value (a display
  // text, or a number), sent as one edit; a control without a parameter gets the text.
  void CommitTextEntry(IControl* control, IPlugParameter* param, const char* text);

  // The pointer's press is over without a release (its window went away, or a menu took the
  // mouse): the control lets go and the host's gesture ends.
  void CancelPointer();

  void SetHostClickFilter(IHostClickFilter* filter) { mHostClickFilter = filter; }
  int CaptureIndex() const { return mCaptureIdx; }
  int HoverIndex() const { return mHoverIdx; }

  // ---- Process-wide caches -------------------------------------------------------------------

  static LICE_IBitmap* FindCachedBitmap(int resourceId);
  // The cache takes ownership; when the record cannot be stored the object is freed, and
  // a lookup finds nothing.
  static void CacheBitmap(LICE_IBitmap* bitmap, int resourceId);
  static LICE_CachedFont* FindCachedFont(const ITextStyle& style);
  static void CacheFont(LICE_CachedFont* font, const ITextStyle& style);
  // Frees every cached font, for a program that changes the glyph rasteriser. No editor may
  // be alive: their styles hold the fonts.
  static void ReleaseCachedFonts();

  // ---- Window slots ----------------------------------------------------------------------------

  // Copies that area of the draw bitmap to the screen.
  virtual bool PresentRect(const IRectangle& r) = 0;
  virtual bool MeasureTextRect(ITextStyle& style, const char* text, IRectangle* rect);
  virtual void CancelTextEntry() = 0;
  // Deletes every control and remakes the draw bitmap at the new size.
  virtual void ChangeSize(int width, int height);
  virtual bool HasWindow() const { return NativeWindow() != nullptr; }
  virtual const char* DrawingApiName() const { return ""; }
  virtual int ShowMessage(const char* text, const char* caption, int type) = 0;
  // The (sub)menu holding the chosen item, or null.
  virtual IMenu* RunPopupMenu(IMenu* menu, const IRectangle& rect) = 0;
  // Opens a text entry over rect; its result comes back through CommitTextEntry.
  virtual void BeginTextEntry(IControl* control, const ITextStyle& style, const IRectangle& rect, const char* text,
                              IPlugParameter* param) = 0;
  virtual void HostDirectory(StringBuffer& out) = 0;
  virtual void PlugDirectory(StringBuffer& out) = 0;
  virtual void DesktopDirectory(StringBuffer& out) = 0;
  virtual void AppDataDirectory(StringBuffer& out, bool allUsers) = 0;
  virtual void UserAppDataDirectory(StringBuffer& out) { AppDataDirectory(out, false); }
  // action 1 saves, any other opens.
  virtual void AskForFile(StringBuffer& file, int action, StringBuffer& directory, const char* extensions) = 0;
  virtual bool AskForColour(IColour& colour, const char* title) = 0;
  virtual bool LaunchUrl(const char* url, const char* title, const char* confirm, const char* error) = 0;
  // Reserved slots with no use yet; a platform window leaves them be.
  virtual int QueryStub(void* /*a*/, void* /*b*/, void* /*c*/, void* /*d*/) { return 0; }
  void* OpenInParent(void* parent) override = 0;
  virtual void OneArgStub(void* /*a*/) {}
  virtual void NoArgStub() {}
  void CloseView() override = 0;
  virtual void* NativeWindow() const = 0;
  virtual bool ReadClipboardText(StringBuffer& out) = 0;
  virtual void ConcealCursor() {}
  virtual void RevealCursor() {}
  virtual void PlatformStub() = 0;
  // A newly decoded image owned by the caller, or null.
  virtual LICE_IBitmap* LoadImageResource(int resourceId, const char* name) = 0;

protected:
  // A window whose tooltips cannot be made goes on without them.
  void DropTooltips() { mFlags.tooltips = false; }

  bool mCursorHidden = false;
  // Where the pointer was when the cursor was hidden; -1, -1 before.
  int mSavedCursorX = -1;
  int mSavedCursorY = -1;

private:
  // Each changed control's whole area; a changed backdrop redraws everything.
  void RedrawChangedControls(const IRectangle& r);
  void DrawBoundsOverlay();
  // Draws every shown control that meets the area, clipped to it.
  void DrawArea(const IRectangle& area);
  // The cached bitmap for the id, loaded into the cache when absent.
  LICE_IBitmap* LoadBitmap(int resourceId, const char* name);
  void BeginGesture(int paramIdx);
  void EndGesture();
  // Runs an edit of the parameter inside a host gesture: the open one when it is that
  // parameter's, else one of its own.
  template <class Edit>
  void EditInGesture(int paramIdx, Edit edit);
  void ReleasePointer();

  IPlugBase* mPlug;
  PtrList<IControl> mControls;
  IRectangle mRedrawRect;
  std::unique_ptr<LICE_SysBitmap> mDrawBitmap;
  int mWidth;
  int mHeight;
  int mFps;
  int mCaptureIdx = -1;
  int mHoverIdx = -1;
  int mLastX = 0;
  int mLastY = 0;
  // The parameter whose host gesture was begun and not yet ended; -1 for none.
  int mGestureParam = -1;
  IHostClickFilter* mHostClickFilter = nullptr;
  IGraphicsFlags mFlags;
  std::unique_ptr<IControl> mKeyboardCatcher;
  // The overlay's text style, which keeps its font once made.
  ITextStyle mOverlayStyle;
};
