#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "fakes/fakes.h"
#include "wizard/hover.h"
#include "wizard/outline.h"

namespace tessaro {
namespace {

TEST(Outline, DesignPixelsAreScreenPixelsAt96Dpi) {
  OutlineScale s;
  s.tx = s.ty = TwipsPerPixel(96);
  auto shapes = SetupOutline(s);
  ASSERT_EQ(shapes.size(), 8u);
  EXPECT_EQ(shapes[0].kind, OutlineShape::Kind::RoundRect);
  EXPECT_EQ(shapes[0].points[1].x, 547);
  EXPECT_EQ(shapes[0].ellipseWidth, 26);
  EXPECT_EQ(shapes[3].points.size(), 5u);
  EXPECT_EQ(shapes[4].points.size(), 7u);
  EXPECT_EQ(QuitOutline(s)[0].points[1].y, 379);
}

TEST(Outline, LargeFontScreenScalesAndRoundsHalfToEven) {
  OutlineScale s;
  s.tx = s.ty = TwipsPerPixel(120);
  ASSERT_EQ(s.tx, 12);
  OutlineShape panel = SetupOutline(s)[0];
  EXPECT_EQ(panel.points[0].x, 0);
  EXPECT_EQ(panel.points[0].y, 5);
  EXPECT_EQ(panel.points[1].x, 684);  // 683.75
  EXPECT_EQ(panel.points[1].y, 429);  // 428.75
  EXPECT_EQ(panel.ellipseHeight, 15);
  OutlineScale half;
  half.tx = half.ty = 6;                             // 2.5 screen pixels per design pixel
  EXPECT_EQ(SetupOutline(half)[0].points[0].y, 10);  // 4 * 2.5
  EXPECT_EQ(QuitOutline(half)[0].points[0].y, 2);    // 1 * 2.5 = 2.5 -> 2
}

// 7.5 and 8.57 twips per pixel are not rounded to 8 and 9: the outline keeps
// the size of the window and its controls, which scale by 2 and 1.75.
TEST(Outline, FractionalTwipsPerPixelScaleExactly) {
  OutlineScale s;
  s.tx = s.ty = TwipsPerPixel(192);
  EXPECT_EQ(SetupOutline(s)[0].points[1].x, 1094);
  EXPECT_EQ(QuitOutline(s)[0].points[1].x, 700);
  s.tx = s.ty = TwipsPerPixel(168);
  OutlineShape panel = SetupOutline(s)[0];
  EXPECT_EQ(panel.points[1].x, 957);               // 957.25
  EXPECT_EQ(panel.points[0].y, 7);                 // 4 * 1.75
  EXPECT_EQ(SetupOutline(s)[2].points[1].y, 623);  // 356 * 1.75
  EXPECT_EQ(QuitOutline(s)[0].points[0].y, 2);     // 1.75
  // A true half still goes to the even neighbour: 198 * 1.75 = 346.5.
  EXPECT_EQ(SetupOutline(s)[7].points[3].x, 346);
  s.tx = s.ty = TwipsPerPixel(144);                // 3 pixels for every 2
  EXPECT_EQ(QuitOutline(s)[0].points[0].y, 2);     // 1.5 -> 2
  EXPECT_EQ(SetupOutline(s)[1].points[1].y, 608);  // 405 * 1.5 = 607.5 -> 608
}

// The wizard's three button slots, topmost image first.
struct ImageStacks : ButtonImages {
  std::map<ButtonImage, bool> visible{
      {ButtonImage::Previous_Disabilitato, true}, {ButtonImage::Previous, false},
      {ButtonImage::Previus_Blu, true},           {ButtonImage::NextStep, true},
      {ButtonImage::Avanti_Blu, false},           {ButtonImage::EndSetup, true},
      {ButtonImage::EndSetup_giallo, true}};
  void SetVisible(ButtonImage image, bool v) override { visible[image] = v; }
  ButtonImage Seen(std::vector<ButtonImage> slot) {
    for (ButtonImage image : slot)
      if (visible[image]) return image;
    return slot.back();
  }
  ButtonImage Back() {
    return Seen(
        {ButtonImage::Previous_Disabilitato, ButtonImage::Previous, ButtonImage::Previus_Blu});
  }
  ButtonImage Next() { return Seen({ButtonImage::NextStep, ButtonImage::Avanti_Blu}); }
  ButtonImage Cancel() { return Seen({ButtonImage::EndSetup, ButtonImage::EndSetup_giallo}); }
};

TEST(Hover, NextLightsUpAndGoesOutOnTheBackground) {
  fakes::FakeUi ui;
  ImageStacks s;
  s.visible[ButtonImage::Previous_Disabilitato] = false;  // a page after the first
  WizardPointerOnPrevious(s);
  EXPECT_EQ(s.Back(), ButtonImage::Previus_Blu);
  WizardPointerOnNext(s);
  EXPECT_EQ(s.Next(), ButtonImage::Avanti_Blu);
  EXPECT_EQ(s.Back(), ButtonImage::Previous);
  WizardPointerAtRest(s, ui, 1);
  EXPECT_EQ(s.Next(), ButtonImage::NextStep);
  EXPECT_EQ(s.Back(), ButtonImage::Previous);
  WizardPointerOnEndSetup(s);
  EXPECT_EQ(s.Cancel(), ButtonImage::EndSetup_giallo);
  WizardPointerAtRest(s, ui, 1);
  EXPECT_EQ(s.Cancel(), ButtonImage::EndSetup);
}

TEST(Hover, FirstPageKeepsTheDisabledBackImage) {
  fakes::FakeUi ui;
  int pumps = 0;
  ui.onPump = [&] { ++pumps; };
  ImageStacks s;
  WizardPointerOnNext(s);
  WizardPointerAtRest(s, ui, 0);
  EXPECT_EQ(s.Back(), ButtonImage::Previous_Disabilitato);
  EXPECT_EQ(s.Next(), ButtonImage::NextStep);
  EXPECT_EQ(pumps, 2);
}

TEST(Hover, DuringTheInstallationHiddenButtonsStayHiddenAndNothingRuns) {
  fakes::FakeUi ui;
  int pumps = 0;
  ui.onPump = [&] { ++pumps; };
  ImageStacks s;
  s.visible[ButtonImage::NextStep] = false;
  s.visible[ButtonImage::Previous] = false;
  s.visible[ButtonImage::EndSetup] = false;
  WizardPointerAtRest(s, ui, 6);
  EXPECT_FALSE(s.visible[ButtonImage::NextStep]);
  EXPECT_FALSE(s.visible[ButtonImage::Avanti_Blu]);
  EXPECT_FALSE(s.visible[ButtonImage::Previous]);
  EXPECT_TRUE(s.visible[ButtonImage::EndSetup]);
  EXPECT_EQ(pumps, 0);
}

}  // namespace
}  // namespace tessaro
