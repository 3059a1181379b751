#pragma once
// FrmRegistry, the small waiting window shown while the run imports the
// registry settings, and while a cancelled run deletes its files.
#include <windows.h>

#include <string>

#include "win32/handles.h"

namespace tessaro {

class FrmRegistry {
 public:
  // Shows the window, not modal, centred over `owner`, with the label Attesa
  // at its design caption.
  void Show(HWND owner);
  // Sets Attesa's caption and paints it at once: the caller may block next.
  void SetText(const std::string& text);
  void Close();

 private:
  void Fit();
  HWND hwnd_ = nullptr;
  GdiObject font_;
};

}  // namespace tessaro
