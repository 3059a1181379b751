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
    wchar_t cls[64] = {};
    const int length = GetClassNameW(window, cls, 64);
    std::string line = "eccezione nella finestra ";
    line += Narrow(cls, length > 0 ? static_cast<size_t>(length) : 0);
    line += " (messaggio ";
    line += std::to_string(message);
    line += "): ";
    try {
      throw;
    } catch (const std::exception& error) {
      line += error.what();
    } catch (...) {
      line += "eccezione di tipo sconosciuto";
    }
    if (g_note) g_note(line);
    line += '\n';
    OutputDebugStringW(Widen(line).c_str());
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
