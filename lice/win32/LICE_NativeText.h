#pragma once
// Direct GDI text for the x64 Windows modules: where the process is not running under Wine,
// fonts made for native drawing are drawn by GDI instead of from the glyph cache, and so is
// any font of line height 256 or more. Declared without windows.h.

#include "lice/LICE_CachedFont.h"

// True when GDI took the call (drawn or measured); *result is then DrawText's result. False:
// the glyph cache draws it.
bool LICE_NativeTextDraw(const LICE_NativeTextFont& font, LICE_IBitmap* bitmap, const char* text, int length,
                         LICE_TextRect* rect, int flags, int* result);

// The once-per-process registry test: does HKEY_LOCAL_MACHINE "Software\Wine" exist?
bool LICE_RunningUnderWine();
