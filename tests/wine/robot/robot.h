// The test robot: drives Windows programs from another process of the same
// prefix, the way a person would. It starts programs, finds their windows and
// message boxes, reads titles, texts, icons and controls, types into edits and
// presses buttons.
//
// Strings are UTF-8; they become UTF-16 only at the Windows call. Every wait
// polls with a time-out; nothing sleeps for a fixed time.
#pragma once

#include <windows.h>

#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "win32/wide.h"

namespace robot {

using Millis = std::chrono::milliseconds;
inline constexpr Millis kWait{10000};  // default time-out of the waits

// The programs' own conversions, under the robot's names.
inline std::wstring widen(std::string_view utf8) { return tessaro::Widen(std::string(utf8)); }
inline std::string narrow(std::wstring_view utf16) {
  return tessaro::Narrow(utf16.data(), utf16.size());
}

// Polls `ready` every few milliseconds until it holds or `timeout` passes.
bool poll_until(const std::function<bool()>& ready, Millis timeout);

// ---------------------------------------------------------------- processes

class Process {
 public:
  Process() = default;
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  // A program still running when its Process goes is ended: a test leaves
  // nothing behind for the next one. release() keeps it running.
  ~Process();

  // Starts `program` with `args` (quoted as the C runtime splits them) in the
  // folder `cwd` (empty: the robot's own). Check started(); error() says why not.
  static Process start(const std::string& program, const std::vector<std::string>& args = {},
                       const std::string& cwd = {});
  // The same with the arguments written as a person types them, unquoted.
  static Process start_line(const std::string& program, const std::string& arguments,
                            const std::string& cwd = {});
  // Takes hold of a program already running.
  static Process attach(DWORD pid);

  bool started() const { return handle_ != nullptr; }
  const std::string& error() const { return error_; }
  DWORD id() const { return pid_; }
  HANDLE handle() const { return handle_; }

  bool running() const;
  // True once the program has ended, false at the time-out.
  bool wait_exit(Millis timeout = kWait);
  // The exit code once the program has ended.
  std::optional<DWORD> exit_code() const;
  void terminate(UINT code = 0xDEAD);
  void release();

 private:
  void reset();
  static Process launch(const std::string& program, std::wstring line, const std::string& cwd);
  HANDLE handle_ = nullptr;
  DWORD pid_ = 0;
  std::string error_;
};

// Joins arguments into one command line that CommandLineToArgvW and the C
// runtime split back into the same arguments.
std::wstring command_line(const std::string& program, const std::vector<std::string>& args);

// ------------------------------------------------------------------ windows

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

struct Window {
  HWND hwnd = nullptr;
  DWORD pid = 0;
  std::string class_name;
  std::string title;
  bool visible = false;
  Rect rect;  // on the screen
};

struct WindowQuery {
  std::string class_name;  // empty: any class
  std::string title;       // empty: any title; otherwise the exact title
  DWORD pid = 0;           // 0: any process but the robot's own
  bool visible_only = true;
  bool matches(const Window& w) const;
};

Window read_window(HWND hwnd);
// Top-level windows in Z order (topmost first), owned windows included.
std::vector<Window> top_windows(DWORD pid = 0, bool visible_only = true);
std::optional<Window> find_window(const WindowQuery& query);
std::optional<Window> wait_window(const WindowQuery& query, Millis timeout = kWait);
// True once the window is destroyed or hidden.
bool wait_gone(HWND hwnd, Millis timeout = kWait);

// A window's text read with WM_GETTEXT (GetWindowText returns nothing for
// another process's controls). Empty when the window does not answer.
std::string text_of(HWND hwnd);
// WM_SETTEXT, as typing would leave it; an edit tells its parent (EN_CHANGE).
bool set_text(HWND hwnd, const std::string& text);
// A caption as shown: "&Yes" reads "Yes", "&&" reads "&".
std::string without_mnemonics(const std::string& text);
// Posts WM_CLOSE, as the title bar's close button does.
bool close_window(HWND hwnd);

// ----------------------------------------------------------------- controls

struct Control {
  HWND hwnd = nullptr;
  HWND parent = nullptr;
  int id = 0;
  std::string class_name;
  std::string text;
  LONG style = 0;
  bool visible = false;  // itself and its parents
  bool enabled = false;
  Rect rect;    // in the parent's client area
  Rect screen;  // on the screen
};

Control read_control(HWND hwnd);
// Every descendant of `window`, parents before their children.
std::vector<Control> controls(HWND window);
std::optional<Control> find_control(HWND window, int id);
// Waits for a child control: a window can be visible before its children exist.
std::optional<Control> wait_control(HWND window, int id, Millis timeout = kWait);
std::optional<Control> wait_control(HWND window, const std::string& class_name,
                                    const std::string& text, Millis timeout = kWait);

// A button of `window` named by its caption ("&" marks ignored, case ignored)
// or by a standard name: OK, Cancel, Abort, Retry, Ignore, Yes, No, Close,
// Help, TryAgain, Continue. Only visible buttons count.
std::optional<Control> find_button(HWND window, const std::string& name);
// Presses it as a click would (BM_CLICK, posted: a handler that opens a modal
// box does not block the robot). False when missing or disabled.
bool press(HWND window, const std::string& button);
bool press(HWND window, int id);
bool click(const Control& button);
// A left mouse click in the middle of any control (image buttons and other
// windows that react to the mouse rather than to BM_CLICK), posted.
bool mouse_click(HWND control);

// --------------------------------------------------------------------- keys

// Types `keys` into whatever has the focus once `window` (if given) is in
// front, as real key presses. Plain characters are typed as they are (a blank
// is the space bar);
// {TAB} {ENTER} {ESC} {SPACE} {UP} {DOWN} {LEFT} {RIGHT} {F4} name keys; a
// leading + (Shift), % (Alt) or ^ (Ctrl) holds that modifier for the next key:
// "+{TAB}" is Shift+Tab, "%c" Alt+C. False when a key cannot be sent.
bool send_keys(HWND window, const std::string& keys);
// The window that has the keyboard focus in `pid`'s thread, if any.
HWND focused_control(DWORD pid);

// -------------------------------------------------------------- message boxes

enum class Icon { none, critical, exclamation, question, information };
const char* to_string(Icon icon);

struct Button {
  int id = 0;
  std::string caption;  // as shown, without the "&" marks
};

// MessageBox itself is a <windows.h> macro.
struct Box {
  HWND hwnd = nullptr;
  DWORD pid = 0;
  std::string title;
  std::string text;
  Icon icon = Icon::none;
  std::vector<Button> buttons;   // left to right
  std::string captions() const;  // "Yes|No"
};

// A dialog of class "#32770" with the message text static (id 0xFFFF).
bool is_message_box(HWND hwnd);
std::optional<Box> read_box(HWND hwnd);
std::optional<Box> find_box(DWORD pid);
std::optional<Box> wait_box(DWORD pid, Millis timeout = kWait);

// The icon shown by a message box. Icon handles mean nothing outside their
// process, so the icon control's pixels are compared with the four standard
// icons drawn here on the same background; waits for the box to be painted.
Icon read_icon(HWND box, Millis timeout = Millis{3000});

// ----------------------------------------------------------- box recorder

struct Recording {
  enum class End { exited, window, unanswered, timed_out };
  End end = End::timed_out;
  DWORD pid = 0;
  std::vector<Box> boxes;          // every box seen, in order
  std::optional<Window> window;    // the window that ended the recording
  std::optional<DWORD> exit_code;  // when the program ended
  std::string problem;             // why a box could not be answered
  std::string windows;             // the program's windows when the recording ended
  std::string describe() const;    // all of the above, for a failing test
};

struct RecordOptions {
  // The button to press on each box, in order. A box with no answer left is
  // recorded and left open: the recording ends as `unanswered`.
  std::deque<std::string> answers;
  // Stop when a window like this is visible (its pid defaults to the process).
  std::optional<WindowQuery> until;
  Millis timeout{30000};
};

// Records and answers the message boxes of `process` until it ends, the
// `until` window appears, a box has no answer left, or the time is up.
Recording record_boxes(Process& process, RecordOptions options);
// The same with answers only.
Recording record_boxes(Process& process, std::deque<std::string> answers,
                       Millis timeout = Millis{30000});

// ---------------------------------------------------------------- floppies

// Puts the Unix folder `unix_folder` into drive A: as a floppy (Wine only),
// by redefining the drive through the mount manager: only then does Wine read
// the disk's label afresh. A folder that does not exist leaves A: empty. On
// failure `error` says why.
bool insert_floppy(const std::string& unix_folder, std::string& error);

// ----------------------------------------------------------------- reports

const char* to_string(Recording::End end);
std::string describe(const Box& box);
std::string describe(const Control& control);
std::string describe(const Window& window);
// Every visible top-level window of `pid` (0: all) and its controls.
std::string describe_windows(DWORD pid = 0);

}  // namespace robot
