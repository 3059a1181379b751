// Finding windows of other processes, reading and pressing their controls.
#include <algorithm>

#include "robot.h"

namespace robot {

namespace {

// A hung program must not hang the robot: every message it sends to another
// process gives up after this long.
constexpr UINT kAnswerMs = 2000;

std::string class_of(HWND hwnd) {
  wchar_t name[257];  // class names are at most 256 characters
  int n = GetClassNameW(hwnd, name, 257);
  return narrow(std::wstring_view(name, n > 0 ? n : 0));
}

Rect screen_rect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return {r.left, r.top, r.right, r.bottom};
}

bool same_text_ignoring_case(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) ==
         CSTR_EQUAL;
}

struct StandardButton {
  const wchar_t* name;
  int id;
};
constexpr StandardButton kStandardButtons[] = {
    {L"OK", IDOK},
    {L"Cancel", IDCANCEL},
    {L"Abort", IDABORT},
    {L"Retry", IDRETRY},
    {L"Ignore", IDIGNORE},
    {L"Yes", IDYES},
    {L"No", IDNO},
    {L"Close", IDCLOSE},
    {L"Help", IDHELP},
    {L"TryAgain", IDTRYAGAIN},
    {L"Continue", IDCONTINUE},
};

struct Search {
  DWORD pid;
  bool visible_only;
  std::vector<HWND> found;
};

BOOL CALLBACK add_top_window(HWND hwnd, LPARAM lp) {
  auto& s = *reinterpret_cast<Search*>(lp);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  bool wanted = s.pid ? owner == s.pid : owner != GetCurrentProcessId();
  if (wanted && (!s.visible_only || IsWindowVisible(hwnd))) s.found.push_back(hwnd);
  return TRUE;
}

BOOL CALLBACK add_child(HWND hwnd, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
  return TRUE;
}

bool is_button(const Control& c) {
  return c.visible &&
         CompareStringOrdinal(widen(c.class_name).c_str(), -1, L"Button", -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

std::string without_mnemonics(const std::string& text) {
  // "&&" shows a literal "&"; a single "&" only underlines the next letter.
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') out += '&', ++i;
      continue;
    }
    out += text[i];
  }
  return out;
}

bool WindowQuery::matches(const Window& w) const {
  if (pid ? w.pid != pid : w.pid == GetCurrentProcessId()) return false;
  if (visible_only && !w.visible) return false;
  if (!class_name.empty() && w.class_name != class_name) return false;
  if (!title.empty() && w.title != title) return false;
  return true;
}

Window read_window(HWND hwnd) {
  Window w;
  w.hwnd = hwnd;
  GetWindowThreadProcessId(hwnd, &w.pid);
  w.class_name = class_of(hwnd);
  w.title = text_of(hwnd);
  w.visible = IsWindowVisible(hwnd) != FALSE;
  w.rect = screen_rect(hwnd);
  return w;
}

std::vector<Window> top_windows(DWORD pid, bool visible_only) {
  Search search{pid, visible_only, {}};
  EnumWindows(add_top_window, reinterpret_cast<LPARAM>(&search));
  std::vector<Window> windows;
  for (HWND h : search.found) windows.push_back(read_window(h));
  return windows;
}

std::optional<Window> find_window(const WindowQuery& query) {
  for (auto& w : top_windows(query.pid, query.visible_only))
    if (query.matches(w)) return w;
  return std::nullopt;
}

std::optional<Window> wait_window(const WindowQuery& query, Millis timeout) {
  std::optional<Window> found;
  poll_until([&] { return (found = find_window(query)).has_value(); }, timeout);
  return found;
}

bool wait_gone(HWND hwnd, Millis timeout) {
  return poll_until([&] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }, timeout);
}

std::string text_of(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &length))
    return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kAnswerMs, &copied))
    return {};
  text.resize(std::min<size_t>(copied, length));
  return narrow(text);
}

bool set_text(HWND hwnd, const std::string& text) {
  std::wstring wide = widen(text);
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                             SMTO_ABORTIFHUNG, kAnswerMs, &result) &&
         result == TRUE;
}

bool close_window(HWND hwnd) { return PostMessageW(hwnd, WM_CLOSE, 0, 0) != FALSE; }

Control read_control(HWND hwnd) {
  Control c;
  c.hwnd = hwnd;
  c.parent = GetParent(hwnd);
  c.id = int(GetWindowLongPtrW(hwnd, GWLP_ID));
  c.class_name = class_of(hwnd);
  c.text = text_of(hwnd);
  c.style = LONG(GetWindowLongPtrW(hwnd, GWL_STYLE));
  c.visible = IsWindowVisible(hwnd) != FALSE;
  c.enabled = IsWindowEnabled(hwnd) != FALSE;
  c.screen = screen_rect(hwnd);
  POINT corners[2] = {{c.screen.left, c.screen.top}, {c.screen.right, c.screen.bottom}};
  MapWindowPoints(nullptr, c.parent, corners, 2);
  c.rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
  return c;
}

std::vector<Control> controls(HWND window) {
  std::vector<HWND> found;
  EnumChildWindows(window, add_child, reinterpret_cast<LPARAM>(&found));
  std::vector<Control> list;
  for (HWND h : found) list.push_back(read_control(h));
  return list;
}

std::optional<Control> find_control(HWND window, int id) {
  for (auto& c : controls(window))
    if (c.id == id) return c;
  return std::nullopt;
}

std::optional<Control> wait_control(HWND window, int id, Millis timeout) {
  std::optional<Control> found;
  poll_until([&] { return (found = find_control(window, id)).has_value(); }, timeout);
  return found;
}

std::optional<Control> wait_control(HWND window, const std::string& class_name,
                                    const std::string& text, Millis timeout) {
  std::optional<Control> found;
  poll_until(
      [&] {
        for (auto& c : controls(window))
          if ((class_name.empty() || c.class_name == class_name) &&
              (text.empty() || c.text == text))
            return (found = c).has_value();
        return false;
      },
      timeout);
  return found;
}

std::optional<Control> find_button(HWND window, const std::string& name) {
  std::wstring wanted = widen(without_mnemonics(name));
  auto all = controls(window);
  for (auto& c : all)
    if (is_button(c) && same_text_ignoring_case(widen(without_mnemonics(c.text)), wanted)) return c;
  // A standard name finds the button by id whatever the language of its caption.
  for (auto& standard : kStandardButtons) {
    if (!same_text_ignoring_case(standard.name, wanted)) continue;
    for (auto& c : all)
      if (is_button(c) && c.id == standard.id) return c;
  }
  return std::nullopt;
}

bool click(const Control& button) {
  if (!IsWindowVisible(button.hwnd) || !IsWindowEnabled(button.hwnd)) return false;
  return PostMessageW(button.hwnd, BM_CLICK, 0, 0) != FALSE;
}

bool mouse_click(HWND control) {
  RECT r;
  if (!IsWindowVisible(control) || !GetClientRect(control, &r)) return false;
  LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
  return PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at) &&
         PostMessageW(control, WM_LBUTTONUP, 0, at);
}

bool press(HWND window, const std::string& button) {
  auto found = find_button(window, button);
  return found && click(*found);
}

bool press(HWND window, int id) {
  auto found = find_control(window, id);
  return found && click(*found);
}

}  // namespace robot
