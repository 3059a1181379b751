#pragma once
// The picture on the right of the wizard's pages: the application's name over
// a ledger guarded by a shield, drawn in the wizard's colours. It is a
// picture, not a control: nothing in it looks like a button.
#include <windows.h>

#include <string>

#include "win32/text_fit_win.h"

namespace tessaro {

// Where it goes on the form, in twips: beside the page panel, as tall as the
// page's text box.
inline constexpr int kPictureLeft = 5040;
inline constexpr int kPictureTop = 1290;
inline constexpr int kPictureWidth = 2880;
inline constexpr int kPictureHeight = 3165;

void DrawWizardPicture(HDC dc, const RECT& area, const std::wstring& name, FontBook& fonts);

}  // namespace tessaro
