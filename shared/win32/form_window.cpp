#include "form_window.h"

#include <exception>

#include "wide.h"

namespace tessaro {

namespace {

HandlerFailureNote g_note = nullptr;

}  // namespace

void SetHandlerFailureNote(HandlerFailureNote note) { g_note = note; }

void NoteHandlerFailure(HWND window, UINT message) noexcept {
  try {
    std::string what = "eccezione di tipo sconosciuto";
    try {
      throw;
    } catch (const std::exception& error) {
      what = error.what();
    } catch (...) {
    }
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 63);
    const std::string line = "eccezione nella finestra " + Narrow(cls, wcslen(cls)) +
                             " (messaggio " + std::to_string(message) + "): " + what;
    OutputDebugStringW(Widen(line + "\n").c_str());
    if (g_note) g_note(line);
  } catch (...) {
    // Out of memory while writing it down: nothing more can be done here.
  }
}

bool RegisterWindowClassOnce(const wchar_t* name, WNDPROC proc, const WindowClassLook& look) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, name, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, look.cursor);
  // The system's own copy of the icon, freed with the program; the small
  // icon comes from the same resource at the small size.
  if (look.icon) wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(look.icon));
  wc.hbrBackground = look.background;
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace tessaro
