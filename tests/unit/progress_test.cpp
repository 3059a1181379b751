#include "progress.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "fakes/fakes.h"

namespace tessaro {
namespace {

TEST(ProgressPercent, RoundsTheDonePartUpAndClampsToZeroToHundred) {
  EXPECT_EQ(ProgressPercent(0, 100), 0);
  EXPECT_EQ(ProgressPercent(100, 100), 100);
  EXPECT_EQ(ProgressPercent(1, 3), 34);
  EXPECT_EQ(ProgressPercent(2, 3), 67);
  EXPECT_EQ(ProgressPercent(1, 1000), 1);  // 0.1% already shows 1%
  EXPECT_EQ(ProgressPercent(-5, 100), 0);
  EXPECT_EQ(ProgressPercent(INT32_MIN, 100), 0);
}

TEST(ProgressPercent, ADoneValuePastTheTotalShowsNinetyNine) {
  EXPECT_EQ(ProgressPercent(101, 100), 99);
  EXPECT_EQ(ProgressPercent(INT32_MAX, 100), 99);
  // With a total of 1 there is no room below 100%: total - 1 is 0 done.
  EXPECT_EQ(ProgressPercent(2, 1), 0);
}

TEST(ProgressPercent, LargeCountsDoNotOverflow) {
  // (total - done) * 100 passes 32 bits in all of these.
  EXPECT_EQ(ProgressPercent(INT32_MAX / 2, INT32_MAX), 50);
  EXPECT_EQ(ProgressPercent(0, INT32_MAX), 0);
  EXPECT_EQ(ProgressPercent(INT32_MAX, INT32_MAX), 100);
  EXPECT_EQ(ProgressPercent(-1000000, 100), 0);  // far below the 16-bit range
}

TEST(ProgressPercent, ATotalOfZeroOrLessShowsZero) {
  EXPECT_EQ(ProgressPercent(0, 0), 0);
  EXPECT_EQ(ProgressPercent(5, 0), 0);
  EXPECT_EQ(ProgressPercent(-5, -10), 0);
}

struct Drawn {
  enum Kind { Fill, Outline, Text } kind;
  TwipBox box;
  uint32_t colour = 0;
  Pen pen = Pen::Copy;
  std::string text;
};

// A picture box of 1500 x 300 twips at 15 twips per pixel with a 30-twip
// border, recording what is drawn; text is 100 twips a character, 195 high.
class RecordingCanvas : public ProgressCanvas {
 public:
  void RemoveBorder() override {
    if (border) ++borderRemovals;
    border = false;
  }
  double InnerWidth() override { return border ? 1440 : 1500; }
  double InnerHeight() override { return border ? 240 : 300; }
  double TwipsPerPixel() override { return 15; }
  uint32_t BackColour() override { return kBack; }
  void FillBox(const TwipBox& box, uint32_t colour, Pen pen) override {
    drawn.push_back({Drawn::Fill, box, colour, pen, {}});
  }
  void Outline(const TwipBox& box, uint32_t colour) override {
    drawn.push_back({Drawn::Outline, box, colour, Pen::Copy, {}});
  }
  double TextWidth(const std::string& text) override { return 100.0 * text.size(); }
  double TextHeight(const std::string&) override { return 195; }
  void PrintText(double x, double y, const std::string& text) override {
    drawn.push_back({Drawn::Text, {x, y, x, y}, 0, Pen::Copy, text});
  }
  void SetTag(const std::string& text) override { tag = text; }
  bool StillShows(int percent) override { return percent == showing; }
  void BeginBar() override { brackets.push_back("begin " + std::to_string(drawn.size())); }
  void EndBar(int percent) override {
    brackets.push_back("end " + std::to_string(drawn.size()) + " " + std::to_string(percent));
  }

  static constexpr uint32_t kBack = 0xC0FFEE;
  int showing = -1;  // what StillShows answers true for
  std::vector<std::string> brackets;
  bool border = true;
  int borderRemovals = 0;
  std::string tag;
  std::vector<Drawn> drawn;

  std::vector<Drawn> Inverted() const {
    std::vector<Drawn> found;
    for (const Drawn& d : drawn)
      if (d.kind == Drawn::Fill && d.pen == Pen::Xor) found.push_back(d);
    return found;
  }
};

void ExpectBox(const TwipBox& box, double x1, double y1, double x2, double y2) {
  EXPECT_DOUBLE_EQ(box.x1, x1);
  EXPECT_DOUBLE_EQ(box.y1, y1);
  EXPECT_DOUBLE_EQ(box.x2, x2);
  EXPECT_DOUBLE_EQ(box.y2, y2);
}

struct DrawProgressTest : ::testing::Test {
  RecordingCanvas canvas;
  fakes::FakeUi ui;
  // Without its border the box is 1500 x 300: t = 15, w = 1485, h = 285.
  static constexpr double t = 15, w = 1485, h = 285;
};

TEST_F(DrawProgressTest, ZeroPercentClearsPrintsCentredTextAndInvertsNothing) {
  DrawProgress(canvas, ui, 0, 100);
  EXPECT_EQ(canvas.tag, "0");
  ASSERT_GE(canvas.drawn.size(), 2u);
  const Drawn& clear = canvas.drawn[0];
  EXPECT_EQ(clear.kind, Drawn::Fill);
  EXPECT_EQ(clear.colour, RecordingCanvas::kBack);
  EXPECT_EQ(clear.pen, Pen::Copy);
  ExpectBox(clear.box, t, t, w, h);
  const Drawn& text = canvas.drawn[1];
  EXPECT_EQ(text.kind, Drawn::Text);
  EXPECT_EQ(text.text, "0%");
  EXPECT_DOUBLE_EQ(text.box.x1, (1500 - 200) / 2.0);
  EXPECT_DOUBLE_EQ(text.box.y1, (300 - 195) / 2.0);
  EXPECT_TRUE(canvas.Inverted().empty());
}

TEST_F(DrawProgressTest, CompletedPartIsInvertedAfterTheTextUpToItsShareOfTheWidth) {
  DrawProgress(canvas, ui, 1, 3);
  EXPECT_EQ(canvas.tag, "34");
  EXPECT_EQ(canvas.drawn[1].text, "34%");
  auto inverted = canvas.Inverted();
  ASSERT_EQ(inverted.size(), 1u);
  EXPECT_EQ(inverted[0].colour, colour::White);  // white XOR inverts
  ExpectBox(inverted[0].box, t, t, w / 100 * 34, h);

  canvas.drawn.clear();
  DrawProgress(canvas, ui, 100, 100);
  EXPECT_EQ(canvas.tag, "100");
  inverted = canvas.Inverted();
  ASSERT_EQ(inverted.size(), 1u);
  ExpectBox(inverted[0].box, t, t, w, h);  // the whole interior
}

TEST_F(DrawProgressTest, SunkenBorderIsDrawnLastWithTheCopyPen) {
  DrawProgress(canvas, ui, 50, 100);
  ASSERT_GE(canvas.drawn.size(), 5u);
  std::vector<Drawn> border(canvas.drawn.end() - 5, canvas.drawn.end());
  // Lit from the bottom right; the shadow lines go last, so they own the
  // top-right and bottom-left corners.
  const uint32_t expected[] = {colour::White, colour::White, colour::DarkGrey, colour::DarkGrey,
                               colour::LightGrey};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(border[i].colour, expected[i]) << i;
    EXPECT_EQ(border[i].pen, Pen::Copy) << i;
  }
  ExpectBox(border[0].box, w, t, w, h);  // right
  ExpectBox(border[1].box, t, h, w, h);  // bottom
  ExpectBox(border[2].box, 0, 0, w, 0);  // top
  ExpectBox(border[3].box, 0, 0, 0, h);  // left
  EXPECT_EQ(border[4].kind, Drawn::Outline);
  ExpectBox(border[4].box, t, t, w - t, h - t);
}

TEST_F(DrawProgressTest, BorderGoesOnTheFirstCallAndTheGrownInteriorIsUsed) {
  DrawProgress(canvas, ui, 10, 100);
  DrawProgress(canvas, ui, 20, 100);
  EXPECT_FALSE(canvas.border);
  EXPECT_EQ(canvas.borderRemovals, 1);
  // Measured after the border went: 1500 x 300, not 1440 x 240.
  ExpectBox(canvas.drawn[0].box, t, t, w, h);
}

TEST_F(DrawProgressTest, PendingMessagesRunOnceAfterTheBarIsComplete) {
  std::vector<size_t> drawnAtPump;
  ui.onPump = [&] { drawnAtPump.push_back(canvas.drawn.size()); };
  DrawProgress(canvas, ui, 100, 100);
  ASSERT_EQ(drawnAtPump.size(), 1u);
  EXPECT_EQ(drawnAtPump[0], canvas.drawn.size());
  // The whole bar lies between BeginBar and EndBar, which learns what it shows.
  EXPECT_EQ(
      canvas.brackets,
      (std::vector<std::string>{"begin 0", "end " + std::to_string(canvas.drawn.size()) + " 100"}));

  // A bar the canvas still shows is not drawn again; Tag and messages go on.
  canvas.showing = 42;
  canvas.drawn.clear();
  canvas.brackets.clear();
  DrawProgress(canvas, ui, 42, 100);
  EXPECT_EQ(canvas.tag, "42");
  EXPECT_TRUE(canvas.drawn.empty());
  EXPECT_TRUE(canvas.brackets.empty());
  EXPECT_EQ(drawnAtPump.size(), 2u);
  DrawProgress(canvas, ui, 43, 100);
  EXPECT_FALSE(canvas.drawn.empty());
}

}  // namespace
}  // namespace tessaro
