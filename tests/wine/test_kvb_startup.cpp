// The backup program's start-up and main window, driven as a person would:
// the refusals without a usable data file and as a second copy, the window
// as designed, and closing it.
#include <gtest/gtest.h>

#include "kvb_control_ids.h"
#include "robot.h"
#include "support.h"

namespace {

using robot::Icon;
using robot::Recording;

const robot::WindowQuery kFrmSplit{"TessaroFrmSplit", "", 0, true};

void WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileW(robot::widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

robot::Process StartKvb(const std::vector<std::string>& args) {
  robot::Process p = robot::Process::start(wine_test::kvb_exe(), args, "C:\\");
  EXPECT_TRUE(p.started()) << p.error();
  return p;
}

// A data file of the application, ready to be protected.
std::string DataFile() {
  std::string folder = wine_test::scratch_folder("kvb-startup");
  std::string file = folder + "\\archivio.mdb";
  WriteBytes(file, std::string(5000, 'd'));
  return file;
}

// Starts KVB on the data file and waits for its window.
HWND OpenWindow(robot::Process& kvb) {
  Recording r = robot::record_boxes(kvb, {{}, kFrmSplit, robot::Millis{20000}});
  EXPECT_EQ(r.end, Recording::End::window) << r.describe();
  EXPECT_TRUE(r.boxes.empty()) << r.describe();
  return r.window ? r.window->hwnd : nullptr;
}

// Waits for the program's next box, checks it is the question asked, and answers.
void Answer(robot::Process& kvb, const std::string& question, const std::string& button) {
  auto box = robot::wait_box(kvb.id());
  ASSERT_TRUE(box) << robot::describe_windows(kvb.id());
  EXPECT_EQ(box->title, "Tessaro Backup");
  EXPECT_EQ(box->text, question);
  EXPECT_EQ(box->icon, Icon::question);
  EXPECT_EQ(box->captions(), "Yes|No");
  ASSERT_TRUE(robot::press(box->hwnd, button));
  ASSERT_TRUE(robot::wait_gone(box->hwnd));
}

TEST(KvbStartup, WithoutAUsableDataFileItRefusesToRun) {
  ASSERT_FALSE(wine_test::kvb_exe().empty());
  std::string folder = wine_test::scratch_folder("kvb-refusals");
  WriteBytes(folder + "\\vuoto.mdb", "");
  // No command line, a missing file, an empty file, a folder.
  const std::vector<std::vector<std::string>> commandLines = {
      {}, {folder + "\\manca.mdb"}, {folder + "\\vuoto.mdb"}, {folder}};
  for (const auto& args : commandLines) {
    robot::Process kvb = StartKvb(args);
    Recording r = robot::record_boxes(kvb, {{"OK"}, kFrmSplit, robot::Millis{20000}});
    ASSERT_EQ(r.end, Recording::End::exited) << r.describe();
    ASSERT_EQ(r.boxes.size(), 1u) << r.describe();
    EXPECT_EQ(r.boxes[0].title, "Tessaro Backup");
    EXPECT_EQ(r.boxes[0].text, "Questo programma NON può essere eseguito autonomamente.");
    EXPECT_EQ(r.boxes[0].icon, Icon::critical);
    EXPECT_EQ(r.boxes[0].captions(), "OK");
  }
}

TEST(KvbStartup, TheWindowIsAsDesignedOnTopAndTheOnlyCopy) {
  ASSERT_FALSE(wine_test::kvb_exe().empty());
  robot::Process kvb = StartKvb({DataFile()});
  HWND form = OpenWindow(kvb);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(robot::read_window(form).title, "Tessaro Backup");
  EXPECT_TRUE(GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT client{};
  GetClientRect(form, &client);
  // 6270 x 1890 twips at 15 twips per pixel.
  EXPECT_EQ(client.right, 418);
  EXPECT_EQ(client.bottom, 126);

  struct Expected {
    int id;
    std::string text;
    robot::Rect rect;
  };
  const std::vector<Expected> buttons = {
      {tessaro::kvb::ids::MakeBackup, "Crea Set di &Backup", {298, 8, 411, 37}},
      {tessaro::kvb::ids::RestoreBackup, "&Ripristina Backup", {298, 44, 411, 73}},
      {tessaro::kvb::ids::Chiudi, "&Chiudi", {298, 90, 411, 119}}};
  for (const Expected& e : buttons) {
    auto c = robot::wait_control(form, e.id);
    ASSERT_TRUE(c) << e.text;
    EXPECT_EQ(c->text, e.text);
    EXPECT_TRUE(c->enabled) << e.text;
    EXPECT_EQ(c->rect.left, e.rect.left) << e.text;
    EXPECT_EQ(c->rect.top, e.rect.top) << e.text;
    EXPECT_EQ(c->rect.width(), e.rect.width()) << e.text;
    EXPECT_EQ(c->rect.height(), e.rect.height()) << e.text;
  }
  for (int id : {tessaro::kvb::ids::picAnim, tessaro::kvb::ids::picStatusTotal,
                 tessaro::kvb::ids::picStatusPartial, tessaro::kvb::ids::lblStatus}) {
    auto c = robot::find_control(form, id);
    ASSERT_TRUE(c) << id;
    EXPECT_TRUE(c->visible) << id;
  }
  EXPECT_EQ(robot::find_control(form, tessaro::kvb::ids::picAnim)->rect.width(), 260);
  EXPECT_EQ(robot::find_control(form, tessaro::kvb::ids::picStatusTotal)->rect.width(), 229);

  // A second copy, even with a good command line, is refused and ends.
  robot::Process second = StartKvb({DataFile()});
  Recording r = robot::record_boxes(second, {{"OK"}, std::nullopt, robot::Millis{20000}});
  ASSERT_EQ(r.end, Recording::End::exited) << r.describe();
  ASSERT_EQ(r.boxes.size(), 1u) << r.describe();
  EXPECT_EQ(r.boxes[0].title, "Tessaro Backup");
  EXPECT_EQ(r.boxes[0].text, "Attenzione rilevata un'altra sessione di installazione.");
  EXPECT_EQ(r.boxes[0].icon, Icon::critical);
  EXPECT_TRUE(kvb.running());
}

TEST(KvbStartup, ChiudiAndTheCloseBoxAskBeforeEnding) {
  ASSERT_FALSE(wine_test::kvb_exe().empty());
  {
    robot::Process kvb = StartKvb({DataFile()});
    HWND form = OpenWindow(kvb);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(robot::press(form, "Chiudi"));
    Answer(kvb, "Uscire adesso?", "No");
    EXPECT_TRUE(kvb.running());
    ASSERT_TRUE(robot::press(form, "Chiudi"));
    Answer(kvb, "Uscire adesso?", "Yes");
    ASSERT_TRUE(kvb.wait_exit()) << robot::describe_windows(kvb.id());
    EXPECT_EQ(kvb.exit_code(), 0u);
  }
  {
    robot::Process kvb = StartKvb({DataFile()});
    HWND form = OpenWindow(kvb);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(robot::close_window(form));
    Answer(kvb, "Uscire adesso?", "No");
    EXPECT_TRUE(robot::find_window(kFrmSplit).has_value());
    ASSERT_TRUE(robot::close_window(form));
    Answer(kvb, "Uscire adesso?", "Yes");
    ASSERT_TRUE(kvb.wait_exit()) << robot::describe_windows(kvb.id());
    EXPECT_EQ(kvb.exit_code(), 0u);
  }
}

}  // namespace
