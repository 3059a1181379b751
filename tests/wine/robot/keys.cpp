// Keys typed as a person types them: real input (SendInput) into the window
// that has the focus, after bringing the target window to the front.
#include <cctype>
#include <thread>
#include <vector>

#include "robot.h"

namespace robot {

namespace {

INPUT Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

INPUT Unicode(wchar_t ch, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wScan = ch;
  in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
  return in;
}

struct Named {
  const char* name;
  WORD vk;
};
constexpr Named kNamed[] = {{"TAB", VK_TAB},     {"ENTER", VK_RETURN}, {"ESC", VK_ESCAPE},
                            {"SPACE", VK_SPACE}, {"UP", VK_UP},        {"DOWN", VK_DOWN},
                            {"LEFT", VK_LEFT},   {"RIGHT", VK_RIGHT},  {"F4", VK_F4}};

}  // namespace

bool send_keys(HWND window, const std::string& keys) {
  if (window) {
    SetForegroundWindow(window);
    poll_until([&] { return GetForegroundWindow() == window; }, Millis{2000});
  }
  const std::wstring text = widen(keys);
  std::vector<INPUT> inputs;
  std::vector<WORD> held;  // modifiers for the next key
  for (size_t i = 0; i < text.size(); ++i) {
    wchar_t c = text[i];
    if (c == L'+' || c == L'%' || c == L'^') {
      WORD vk = c == L'+' ? VK_SHIFT : c == L'%' ? VK_MENU : VK_CONTROL;
      inputs.push_back(Key(vk, false));
      held.push_back(vk);
      continue;
    }
    if (c == L'{') {
      size_t end = text.find(L'}', i);
      if (end == std::wstring::npos) return false;
      const std::string name = narrow(text.substr(i + 1, end - i - 1));
      WORD vk = 0;
      for (const Named& n : kNamed)
        if (name == n.name) vk = n.vk;
      if (!vk) return false;
      inputs.push_back(Key(vk, false));
      inputs.push_back(Key(vk, true));
      i = end;
    } else if (c == L' ') {
      // The space bar itself: buttons answer its key, not the character.
      inputs.push_back(Key(VK_SPACE, false));
      inputs.push_back(Key(VK_SPACE, true));
    } else if (!held.empty() && c < 0x80 && std::isalnum(static_cast<unsigned char>(c))) {
      // With a modifier a letter is its key, as Alt+C is.
      WORD vk = static_cast<WORD>(std::toupper(static_cast<unsigned char>(c)));
      inputs.push_back(Key(vk, false));
      inputs.push_back(Key(vk, true));
    } else {
      inputs.push_back(Unicode(c, false));
      inputs.push_back(Unicode(c, true));
    }
    for (auto it = held.rbegin(); it != held.rend(); ++it) inputs.push_back(Key(*it, true));
    held.clear();
  }
  // One key at a time, as typed: each handler runs before the next key.
  for (INPUT& in : inputs) {
    if (SendInput(1, &in, sizeof(INPUT)) != 1) return false;
    std::this_thread::sleep_for(Millis{5});
  }
  return true;
}

HWND focused_control(DWORD pid) {
  for (const Window& w : top_windows(pid)) {
    DWORD thread = GetWindowThreadProcessId(w.hwnd, nullptr);
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (GetGUIThreadInfo(thread, &info) && info.hwndFocus) return info.hwndFocus;
  }
  return nullptr;
}

}  // namespace robot
