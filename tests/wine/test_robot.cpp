// The robot against boxdemo.exe, whose boxes and controls are known.
#include <gtest/gtest.h>

#include "robot.h"
#include "support.h"

namespace {

using robot::Icon;
using robot::Millis;
using robot::Process;
using robot::Recording;

Process start_demo(const std::vector<std::string>& args, const std::string& cwd = {}) {
  return Process::start(wine_test::boxdemo_exe(), args, cwd);
}

std::vector<int> ids(const robot::Box& box) {
  std::vector<int> out;
  for (auto& b : box.buttons) out.push_back(b.id);
  return out;
}

// The demo window, once its children exist.
HWND demo_window(const Process& demo) {
  auto w = robot::wait_window({"BoxDemoWindow", "", demo.id()});
  if (!w) return nullptr;
  if (!robot::wait_control(w->hwnd, 105)) return nullptr;
  return w->hwnd;
}

}  // namespace

TEST(RobotProcess, PassesArgumentsAndWorkingFolderAndReadsTheExitCode) {
  std::string cwd = wine_test::scratch_folder("robot cwd");
  auto demo = start_demo({"echo", "plain", "with space", "quote\"inside", "trailing\\"}, cwd);
  ASSERT_TRUE(demo.started()) << demo.error();
  auto box = robot::wait_box(demo.id());
  ASSERT_TRUE(box) << robot::describe_windows(demo.id());
  EXPECT_EQ(box->text, "plain|with space|quote\"inside|trailing\\");
  EXPECT_EQ(box->title, cwd);
  EXPECT_FALSE(demo.exit_code()) << "still showing its box";
  ASSERT_TRUE(robot::press(box->hwnd, "OK"));
  ASSERT_TRUE(demo.wait_exit());
  EXPECT_EQ(demo.exit_code(), 0u);

  auto five = start_demo({"exit", "5"});
  ASSERT_TRUE(five.wait_exit());
  EXPECT_EQ(five.exit_code(), 5u);
}

TEST(RobotProcess, WaitTimesOutWhileRunningAndEndsWhatItStarted) {
  DWORD pid = 0;
  {
    auto demo = start_demo({"window"});
    ASSERT_TRUE(demo.started()) << demo.error();
    pid = demo.id();
    EXPECT_FALSE(demo.wait_exit(Millis{200}));
    EXPECT_TRUE(demo.running());
  }
  auto after = Process::attach(pid);
  EXPECT_TRUE(!after.started() || after.wait_exit(Millis{0})) << "pid " << pid << " survived";
  after.release();

  auto missing = Process::start("C:\\no\\such\\program.exe");
  EXPECT_FALSE(missing.started());
  EXPECT_NE(missing.error().find("C:\\no\\such\\program.exe failed, error "), std::string::npos)
      << missing.error();
}

TEST(RobotBoxes, RecordsTitleTextIconAndButtonsOfEveryBoxAndAnswersThem) {
  auto demo = start_demo({"boxes"});
  ASSERT_TRUE(demo.started()) << demo.error();
  auto rec = robot::record_boxes(demo, {"OK", "No", "Cancel", "retry", "&OK"});
  ASSERT_EQ(rec.end, Recording::End::exited) << rec.describe();
  ASSERT_EQ(rec.boxes.size(), 5u) << rec.describe();

  const auto& b = rec.boxes;
  EXPECT_EQ(b[0].title, "Demo information");
  EXPECT_EQ(b[0].text, "Contabilità «prova»\nSecond line");
  EXPECT_EQ(b[1].text, "Overwrite the file?");
  EXPECT_EQ(b[4].title, "Demo plain");

  std::vector<Icon> icons;
  for (auto& box : b) icons.push_back(box.icon);
  EXPECT_EQ(icons, (std::vector<Icon>{Icon::information, Icon::question, Icon::exclamation,
                                      Icon::critical, Icon::none}))
      << rec.describe();

  EXPECT_EQ(ids(b[0]), (std::vector<int>{IDOK}));
  EXPECT_EQ(ids(b[1]), (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(ids(b[2]), (std::vector<int>{IDOK, IDCANCEL}));
  EXPECT_EQ(ids(b[3]), (std::vector<int>{IDABORT, IDRETRY, IDIGNORE}));
  EXPECT_EQ(b[1].captions(), "Yes|No");

  // The demo's exit code is the ids it got back, one digit each.
  EXPECT_EQ(rec.exit_code,
            DWORD(IDOK * 10000 + IDNO * 1000 + IDCANCEL * 100 + IDRETRY * 10 + IDOK));
}

TEST(RobotBoxes, StopsAtABoxWithoutAnswerOrWithoutTheNamedButton) {
  auto demo = start_demo({"boxes"});
  auto rec = robot::record_boxes(demo, {"OK"});
  ASSERT_EQ(rec.end, Recording::End::unanswered) << rec.describe();
  ASSERT_EQ(rec.boxes.size(), 2u);
  EXPECT_EQ(rec.boxes[1].title, "Demo question");
  EXPECT_NE(rec.describe().find("Demo question"), std::string::npos);
  EXPECT_TRUE(IsWindowVisible(rec.boxes[1].hwnd)) << "an unanswered box stays open";

  rec = robot::record_boxes(demo, {"Maybe"});
  ASSERT_EQ(rec.end, Recording::End::unanswered);
  EXPECT_NE(rec.problem.find("\"Maybe\""), std::string::npos) << rec.problem;

  // Answering goes on where it stopped.
  rec = robot::record_boxes(demo, {"Yes", "OK", "Ignore", "OK"});
  EXPECT_EQ(rec.end, Recording::End::exited) << rec.describe();
  EXPECT_EQ(rec.boxes.size(), 4u);
  EXPECT_EQ(rec.exit_code, DWORD(IDOK * 10000 + IDYES * 1000 + IDOK * 100 + IDIGNORE * 10 + IDOK));
}

TEST(RobotWindows, WaitsForLateControlsAndReadsThem) {
  auto demo = start_demo({"window"});
  auto window = robot::wait_window({"BoxDemoWindow", "", demo.id()});
  ASSERT_TRUE(window) << robot::describe_windows(demo.id());
  EXPECT_EQ(window->title, "Box demo");
  // The demo adds its controls a moment after showing the window.
  auto edit = robot::wait_control(window->hwnd, 101);
  ASSERT_TRUE(edit) << robot::describe_windows(demo.id());
  EXPECT_EQ(edit->class_name, "Edit");
  EXPECT_EQ(edit->text, "Contabilità");
  EXPECT_EQ(edit->rect.left, 80);
  EXPECT_EQ(edit->rect.top, 10);
  EXPECT_EQ(edit->rect.width(), 200);
  EXPECT_EQ(edit->rect.height(), 22);
  EXPECT_EQ(edit->screen.left - window->rect.left >= edit->rect.left, true);

  ASSERT_TRUE(robot::wait_control(window->hwnd, 105));
  auto hidden = robot::find_control(window->hwnd, 104);
  ASSERT_TRUE(hidden);
  EXPECT_FALSE(hidden->visible);
  EXPECT_EQ(hidden->text, "Hidden");
  auto disabled = robot::find_control(window->hwnd, 105);
  ASSERT_TRUE(disabled);
  EXPECT_FALSE(disabled->enabled);
  auto next = robot::wait_control(window->hwnd, "Button", "&Next");
  ASSERT_TRUE(next);
  EXPECT_EQ(next->id, 102);

  std::string seen = robot::describe_windows(demo.id());
  EXPECT_NE(seen.find("\"Box demo\""), std::string::npos) << seen;
  EXPECT_NE(seen.find("[101] Edit \"Contabilità\""), std::string::npos) << seen;
}

TEST(RobotWindows, TypesPressesAndClosesAsAPersonWould) {
  auto demo = start_demo({"window"});
  HWND window = demo_window(demo);
  ASSERT_TRUE(window) << robot::describe_windows(demo.id());

  EXPECT_FALSE(robot::press(window, "Disabled")) << "a disabled button cannot be pressed";
  EXPECT_FALSE(robot::press(window, "Missing"));
  auto edit = robot::find_control(window, 101);
  ASSERT_TRUE(edit);
  ASSERT_TRUE(robot::set_text(edit->hwnd, "Grüße «1»"));
  EXPECT_EQ(robot::text_of(edit->hwnd), "Grüße «1»");
  ASSERT_TRUE(robot::press(window, "check"));
  ASSERT_TRUE(robot::press(window, "Next"));

  auto rec = robot::record_boxes(demo, {"OK"});
  ASSERT_EQ(rec.end, Recording::End::exited) << rec.describe();
  ASSERT_EQ(rec.boxes.size(), 1u);
  EXPECT_EQ(rec.boxes[0].text, "Next pressed: Grüße «1»");
  EXPECT_EQ(rec.exit_code, 42u) << "42: the check box was ticked";

  auto closed = start_demo({"window"});
  HWND other = demo_window(closed);
  ASSERT_TRUE(other);
  ASSERT_TRUE(robot::close_window(other));
  EXPECT_TRUE(robot::wait_gone(other));
  ASSERT_TRUE(closed.wait_exit());
  EXPECT_EQ(closed.exit_code(), 7u);
}

TEST(RobotWindows, RecordingStopsWhenTheAwaitedWindowAppears) {
  auto demo = start_demo({"window"});
  robot::RecordOptions options;
  options.until = robot::WindowQuery{"BoxDemoWindow", "Box demo"};
  auto rec = robot::record_boxes(demo, options);
  ASSERT_EQ(rec.end, Recording::End::window) << rec.describe();
  ASSERT_TRUE(rec.window);
  EXPECT_EQ(rec.window->pid, demo.id());
  EXPECT_TRUE(rec.boxes.empty());
  EXPECT_TRUE(demo.running());
}
