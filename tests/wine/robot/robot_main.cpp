// robot.exe: the robot for shell scripts. Prints what it sees as plain lines.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "robot.h"

namespace {

constexpr char kUsage[] =
    "usage: robot.exe COMMAND [OPTIONS]\n"
    "  windows [--pid N]            visible top-level windows and their controls\n"
    "  run [--cwd DIR] [--answer BUTTON]... [--until-class C] [--until-title T]\n"
    "      [--timeout S] PROGRAM [ARG]...\n"
    "                               starts PROGRAM and answers its message boxes in\n"
    "                               order; ends with 'exit N', or with 'window ...'\n"
    "                               leaving PROGRAM running\n"
    "  boxes --pid N [--answer BUTTON]... [--timeout S]\n"
    "                               the same for a program already running\n"
    "  wait-window WINDOW           waits for the window and prints it\n"
    "  controls WINDOW              the window's controls\n"
    "  press WINDOW --button B      presses a button (caption or OK, Cancel, Yes...)\n"
    "  set-text WINDOW --id N --text T\n"
    "  click WINDOW --id N           a mouse click in the middle of a control\n"
    "  keys WINDOW --text KEYS       types KEYS into the window: {TAB} {ENTER} {ESC}\n"
    "                               {SPACE} {UP}...; +, %, ^ before a key: Shift, Alt, Ctrl\n"
    "  close WINDOW                 posts WM_CLOSE\n"
    "  wait-exit --pid N [--timeout S]\n"
    "  wait-box --pid N [--timeout S]\n"
    "                               waits for a message box of the program and prints\n"
    "                               it, leaving it open\n"
    "  floppy --path UNIX_FOLDER    puts the folder into drive A: as a floppy (a\n"
    "                               missing folder empties the drive)\n"
    "WINDOW is --hwnd 0xHANDLE, or any of --pid N --class C --title T (waited for\n"
    "up to --timeout seconds, default 10). Exit status: 0 done, 1 not seen in\n"
    "time or failed, 2 usage.\n";

struct Options {
  std::string command;
  std::string cwd, button, text, until_class, until_title, path;
  std::deque<std::string> answers;
  robot::WindowQuery window;
  HWND hwnd = nullptr;
  int id = 0;
  bool has_id = false;
  robot::Millis timeout = robot::kWait;
  std::vector<std::string> rest;  // program and its arguments
};

void out(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

bool set_option(Options& o, const std::string& name, const std::string& v) {
  static const std::pair<const char*, std::string Options::*> kTexts[] = {
      {"--cwd", &Options::cwd},
      {"--button", &Options::button},
      {"--text", &Options::text},
      {"--until-class", &Options::until_class},
      {"--until-title", &Options::until_title},
      {"--path", &Options::path}};
  for (auto& [option, member] : kTexts) {
    if (name == option) {
      o.*member = v;
      return true;
    }
  }
  if (name == "--answer")
    o.answers.push_back(v);
  else if (name == "--class")
    o.window.class_name = v;
  else if (name == "--title")
    o.window.title = v;
  else if (name == "--pid")
    o.window.pid = std::strtoul(v.c_str(), nullptr, 0);
  else if (name == "--hwnd")
    o.hwnd = reinterpret_cast<HWND>(std::strtoull(v.c_str(), nullptr, 0));
  else if (name == "--id")
    o.id = int(std::strtol(v.c_str(), nullptr, 0)), o.has_id = true;
  else if (name == "--timeout")
    o.timeout = robot::Millis(long(std::strtod(v.c_str(), nullptr) * 1000));
  else
    return false;
  return true;
}

std::optional<Options> parse(int argc, wchar_t** argv) {
  if (argc < 2) return std::nullopt;
  Options o;
  o.command = robot::narrow(argv[1]);
  int i = 2;
  auto value = [&](std::string& into) {
    if (i + 1 >= argc) return false;
    into = robot::narrow(argv[++i]);
    return true;
  };
  for (; i < argc; ++i) {
    std::string arg = robot::narrow(argv[i]), v;
    if (arg.rfind("--", 0) != 0) break;  // the program to run and its arguments
    if (!value(v)) return std::nullopt;
    if (!set_option(o, arg, v)) return std::nullopt;
  }
  for (; i < argc; ++i) o.rest.push_back(robot::narrow(argv[i]));
  return o;
}

std::optional<HWND> select_window(const Options& o) {
  if (o.hwnd) {
    if (IsWindow(o.hwnd)) return o.hwnd;
    out("no such window\n");
    return std::nullopt;
  }
  if (auto w = robot::wait_window(o.window, o.timeout)) return w->hwnd;
  out("no window with class \"" + o.window.class_name + "\" title \"" + o.window.title +
      "\" in time\n" + robot::describe_windows(o.window.pid));
  return std::nullopt;
}

int report(const robot::Recording& rec, const std::deque<std::string>& answers) {
  bool last_answered =
      rec.end == robot::Recording::End::exited || rec.end == robot::Recording::End::window;
  for (size_t i = 0; i < rec.boxes.size(); ++i) {
    out(robot::describe(rec.boxes[i]));
    bool answered = i + 1 < rec.boxes.size() || last_answered;
    if (answered && i < answers.size()) out("answer " + answers[i] + "\n");
  }
  switch (rec.end) {
    case robot::Recording::End::exited:
      out("exit " + std::to_string(rec.exit_code.value_or(0)) + "\n");
      return 0;
    case robot::Recording::End::window:
      out(robot::describe(*rec.window) + "\n");
      return 0;
    default:
      out(rec.describe());
      return 1;
  }
}

int run(const Options& o) {
  if (o.rest.empty()) return 2;
  std::vector<std::string> args(o.rest.begin() + 1, o.rest.end());
  auto process = robot::Process::start(o.rest[0], args, o.cwd);
  if (!process.started()) {
    out(process.error() + "\n");
    return 1;
  }
  out("pid " + std::to_string(process.id()) + "\n");
  robot::RecordOptions ro;
  ro.answers = o.answers;
  ro.timeout = o.timeout;
  if (!o.until_class.empty() || !o.until_title.empty())
    ro.until = robot::WindowQuery{o.until_class, o.until_title};
  auto rec = robot::record_boxes(process, ro);
  // Once its window is up the program is the script's to drive.
  if (rec.end == robot::Recording::End::window) process.release();
  return report(rec, o.answers);
}

int boxes(const Options& o) {
  auto process = robot::Process::attach(o.window.pid);
  if (!process.started()) {
    out(process.error() + "\n");
    return 1;
  }
  robot::RecordOptions ro;
  ro.answers = o.answers;
  ro.timeout = o.timeout;
  auto rec = robot::record_boxes(process, ro);
  process.release();  // attached, not started here: never ended by the robot
  return report(rec, o.answers);
}

int command(const Options& o) {
  const std::string& c = o.command;
  if (c == "run") return run(o);
  if (c == "boxes") return o.window.pid ? boxes(o) : 2;
  if (c == "windows") {
    out(robot::describe_windows(o.window.pid));
    return 0;
  }
  if (c == "wait-exit") {
    auto process = robot::Process::attach(o.window.pid);
    bool ended = process.started() && process.wait_exit(o.timeout);
    out(ended ? "exit " + std::to_string(process.exit_code().value_or(0)) + "\n"
              : "still running\n");
    process.release();
    return ended ? 0 : 1;
  }
  if (c == "wait-box") {
    if (!o.window.pid) return 2;
    auto box = robot::wait_box(o.window.pid, o.timeout);
    out(box ? robot::describe(*box) : "no box in time\n" + robot::describe_windows(o.window.pid));
    return box ? 0 : 1;
  }
  if (c == "floppy") {
    if (o.path.empty()) return 2;
    std::string error;
    bool done = robot::insert_floppy(o.path, error);
    out(done ? "floppy " + o.path + " in A:\n" : error + "\n");
    return done ? 0 : 1;
  }
  if (c != "wait-window" && c != "controls" && c != "press" && c != "set-text" && c != "close" &&
      c != "click" && c != "keys")
    return 2;
  auto hwnd = select_window(o);
  if (!hwnd) return 1;
  if (c == "wait-window") {
    out(robot::describe(robot::read_window(*hwnd)) + "\n");
    return 0;
  }
  if (c == "controls") {
    for (auto& control : robot::controls(*hwnd)) out(robot::describe(control) + "\n");
    return 0;
  }
  if (c == "press") {
    if (o.button.empty()) return 2;
    bool done = robot::press(*hwnd, o.button);
    out(done ? "pressed " + o.button + "\n" : "no enabled button \"" + o.button + "\"\n");
    return done ? 0 : 1;
  }
  if (c == "click") {
    if (!o.has_id) return 2;
    auto control = robot::wait_control(*hwnd, o.id, o.timeout);
    bool done = control && robot::mouse_click(control->hwnd);
    out(done ? "clicked " + std::to_string(o.id) + "\n"
             : "no visible control " + std::to_string(o.id) + "\n");
    return done ? 0 : 1;
  }
  if (c == "keys") {
    bool done = !o.text.empty() && robot::send_keys(*hwnd, o.text);
    out(done ? "typed\n" : "keys not sent\n");
    return done ? 0 : 1;
  }
  if (c == "set-text") {
    if (!o.has_id) return 2;
    auto control = robot::wait_control(*hwnd, o.id, o.timeout);
    bool done = control && robot::set_text(control->hwnd, o.text);
    out(done ? "text set\n" : "no control " + std::to_string(o.id) + "\n");
    return done ? 0 : 1;
  }
  robot::close_window(*hwnd);
  out("close posted\n");
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Plain LF lines for the Unix side.
  _setmode(_fileno(stdout), _O_BINARY);
  auto options = parse(argc, argv);
  int status = options ? command(*options) : 2;
  if (status == 2) std::fputs(kUsage, stderr);
  return status;
}
