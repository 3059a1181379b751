// Message boxes: reading them, answering them, recording a program's boxes,
// and the plain-text reports a failing test prints.
#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "robot.h"

namespace robot {

namespace {

// The message text is the static control with this id, on Windows and Wine.
constexpr int kTextId = 0xFFFF;

std::string hex(const void* handle) {
  char buf[2 + 2 * sizeof(void*) + 1];
  std::snprintf(buf, sizeof buf, "0x%lx",
                static_cast<unsigned long>(reinterpret_cast<uintptr_t>(handle)));
  return buf;
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\t')
      out += "\\t";
    else if (c == '"')
      out += "\\\"";
    else
      out += c;
  }
  return out + "\"";
}

std::string rect_text(const Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width()) +
         "x" + std::to_string(r.height());
}

}  // namespace

std::string Box::captions() const {
  std::string out;
  for (auto& b : buttons) out += (out.empty() ? "" : "|") + b.caption;
  return out;
}

bool is_message_box(HWND hwnd) {
  wchar_t name[8];
  int n = GetClassNameW(hwnd, name, 8);
  if (n != 6 || std::wstring_view(name, n) != L"#32770") return false;
  HWND text = GetDlgItem(hwnd, kTextId);
  return text && GetClassNameW(text, name, 8) == 6 && std::wstring_view(name, 6) == L"Static";
}

std::optional<Box> read_box(HWND hwnd) {
  if (!is_message_box(hwnd)) return std::nullopt;
  Box box;
  box.hwnd = hwnd;
  GetWindowThreadProcessId(hwnd, &box.pid);
  box.title = text_of(hwnd);
  box.text = text_of(GetDlgItem(hwnd, kTextId));
  std::vector<Control> buttons;
  for (auto& c : controls(hwnd))
    if (c.visible && c.class_name == "Button") buttons.push_back(c);
  std::sort(buttons.begin(), buttons.end(),
            [](const Control& a, const Control& b) { return a.screen.left < b.screen.left; });
  for (auto& b : buttons) box.buttons.push_back({b.id, without_mnemonics(b.text)});
  box.icon = read_icon(hwnd);
  return box;
}

std::optional<Box> find_box(DWORD pid) {
  for (auto& w : top_windows(pid))
    if (is_message_box(w.hwnd)) return read_box(w.hwnd);
  return std::nullopt;
}

std::optional<Box> wait_box(DWORD pid, Millis timeout) {
  std::optional<Box> found;
  poll_until([&] { return (found = find_box(pid)).has_value(); }, timeout);
  return found;
}

Recording record_boxes(Process& process, RecordOptions options) {
  Recording rec;
  rec.pid = process.id();
  std::optional<WindowQuery> until = options.until;
  if (until && !until->pid) until->pid = process.id();
  auto deadline = std::chrono::steady_clock::now() + options.timeout;
  auto finish = [&](Recording::End end) {
    rec.end = end;
    if (end == Recording::End::exited)
      rec.exit_code = process.exit_code();
    else
      rec.windows = describe_windows(process.id());
    return rec;
  };
  for (;;) {
    if (auto box = find_box(process.id())) {
      rec.boxes.push_back(*box);
      if (options.answers.empty()) return finish(Recording::End::unanswered);
      std::string answer = options.answers.front();
      options.answers.pop_front();
      if (!press(box->hwnd, answer)) {
        rec.problem = "no button " + quoted(answer) + " to press on box " + quoted(box->title);
        return finish(Recording::End::unanswered);
      }
      if (!wait_gone(box->hwnd, Millis{5000})) {
        rec.problem = "box " + quoted(box->title) + " stayed after " + quoted(answer);
        return finish(Recording::End::timed_out);
      }
      continue;
    }
    if (!process.running()) return finish(Recording::End::exited);
    if (until) {
      if (auto w = find_window(*until)) {
        rec.window = w;
        return finish(Recording::End::window);
      }
    }
    if (std::chrono::steady_clock::now() >= deadline) return finish(Recording::End::timed_out);
    Sleep(20);
  }
}

Recording record_boxes(Process& process, std::deque<std::string> answers, Millis timeout) {
  RecordOptions options;
  options.answers = std::move(answers);
  options.timeout = timeout;
  return record_boxes(process, std::move(options));
}

const char* to_string(Recording::End end) {
  switch (end) {
    case Recording::End::exited:
      return "exited";
    case Recording::End::window:
      return "window appeared";
    case Recording::End::unanswered:
      return "box left unanswered";
    case Recording::End::timed_out:
      return "timed out";
  }
  return "?";
}

std::string describe(const Box& box) {
  std::string out = "box " + quoted(box.title) + " icon=" + to_string(box.icon) +
                    " buttons=" + box.captions() + "\n  text " + quoted(box.text) + "\n";
  return out;
}

std::string describe(const Control& c) {
  return "[" + std::to_string(c.id) + "] " + c.class_name + " " + quoted(c.text) + " at " +
         rect_text(c.rect) + (c.visible ? "" : " hidden") + (c.enabled ? "" : " disabled") + " " +
         hex(c.hwnd);
}

std::string describe(const Window& w) {
  return "window " + hex(w.hwnd) + " pid " + std::to_string(w.pid) + " class " +
         quoted(w.class_name) + " title " + quoted(w.title) + " at " + rect_text(w.rect);
}

std::string describe_windows(DWORD pid) {
  std::string out;
  for (auto& w : top_windows(pid)) {
    out += describe(w) + "\n";
    if (auto box = read_box(w.hwnd)) out += "  " + describe(*box);
    for (auto& c : controls(w.hwnd)) out += "  " + describe(c) + "\n";
  }
  return out.empty() ? "no visible windows\n" : out;
}

std::string Recording::describe() const {
  std::string out = "recording of pid " + std::to_string(pid) + ": " + to_string(end);
  if (exit_code) out += ", exit code " + std::to_string(*exit_code);
  if (window) out += ", window " + quoted(window->title) + " class " + quoted(window->class_name);
  out += "\n";
  if (!problem.empty()) out += "problem: " + problem + "\n";
  for (size_t i = 0; i < boxes.size(); ++i)
    out += std::to_string(i + 1) + ". " + robot::describe(boxes[i]);
  if (boxes.empty()) out += "no message boxes\n";
  if (!windows.empty()) out += "windows at the end:\n" + windows;
  return out;
}

}  // namespace robot
