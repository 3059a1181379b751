#pragma once
// A one-line label for a text that a copy changes with every block ("Bytes
// copiati: 32.000"). It looks like a STATIC with SS_LEFTNOWORDWRAP and
// SS_NOPREFIX: the text from the left on one line, tabs expanded, "&" shown
// as it is, colours and brush from the parent's WM_CTLCOLORSTATIC, the font
// given by WM_SETFONT. Unlike a STATIC it keeps its text in the program:
// WM_SETTEXT and WM_GETTEXT answer from it (under Wine a STATIC's text is
// kept by the window server, one round trip per change), and what changes is
// drawn at most once per frame (FramePacer).
#include <windows.h>

namespace tessaro {

inline constexpr const wchar_t* kStatusLabelClass = L"TessaroStatusLabel";

// Registers the window class kStatusLabelClass once; false when it cannot.
bool RegisterStatusLabel();

// Draws at once a text the label still holds back, so that it shows while
// the program stops letting messages through.
void ShowHeldBackText(HWND label);

}  // namespace tessaro
