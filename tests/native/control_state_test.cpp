// The bitmap button's state machine and caption placement, and the flat check box's check
// model, geometry and accelerator.
#include <gtest/gtest.h>

#include "controls/button_state.h"
#include "controls/check_box_state.h"

namespace setup::controls {
namespace {

constexpr int kW = 55, kH = 23;

TEST(ButtonModel, ClickGoesDownThenReleasedWithTheHotImage) {
    ButtonModel b;
    EXPECT_TRUE(b.Press(10, 10, kW, kH));
    EXPECT_EQ(b.State(), ButtonState::Down);
    EXPECT_TRUE(b.Pressed());
    EXPECT_EQ(ImageForState(b.State(), b.Pressed()), ButtonImage::Down);
    EXPECT_TRUE(b.Release());
    EXPECT_EQ(b.State(), ButtonState::Released);
    EXPECT_FALSE(b.Pressed());
    EXPECT_EQ(ImageForState(b.State(), b.Pressed()), ButtonImage::Hot);
}

TEST(ButtonModel, DoubleClickWithoutMovingCountsOneRelease) {
    ButtonModel b;
    int releases = 0;
    b.Press(5, 5, kW, kH);
    releases += b.Release();
    // The double-click message does not press the button; its release finds state 3.
    releases += b.Release();
    EXPECT_EQ(releases, 1);
    // A move between the clicks makes the second release count again.
    b.Move(6, 6, kW, kH);
    EXPECT_TRUE(b.Release());
}

TEST(ButtonModel, MoveWhilePressedKeepsTheDownImageOnScreen) {
    ButtonModel b;
    b.Press(5, 5, kW, kH);
    EXPECT_TRUE(b.Move(6, 5, kW, kH));
    EXPECT_EQ(b.State(), ButtonState::Hot);
    EXPECT_EQ(ImageForState(b.State(), b.Pressed()), ButtonImage::None);
    EXPECT_FALSE(b.Move(7, 5, kW, kH));  // already hot: nothing to draw
}

TEST(ButtonModel, LeavingClearsThePressAndShowsTheNormalImage) {
    ButtonModel b;
    b.Press(5, 5, kW, kH);
    EXPECT_TRUE(b.Leave());
    EXPECT_FALSE(b.Pressed());
    EXPECT_EQ(ImageForState(b.State(), b.Pressed()), ButtonImage::Normal);
    EXPECT_FALSE(b.Leave());
    // A later release still counts: the button never checks where the press happened.
    EXPECT_TRUE(b.Release());
}

TEST(ButtonModel, InsideIncludesRightAndBottomEdges) {
    ButtonModel b;
    EXPECT_TRUE(b.Press(kW, kH, kW, kH));
    ButtonModel c;
    EXPECT_FALSE(c.Press(kW + 1, 0, kW, kH));
    EXPECT_FALSE(c.Press(-1, 0, kW, kH));
    EXPECT_FALSE(c.Move(0, kH + 1, kW, kH));
    EXPECT_EQ(c.State(), ButtonState::Normal);
}

TEST(ButtonCaption, CentredWithTruncatingHalvesAndShiftedWhilePressed) {
    EXPECT_EQ(CaptionPosition(55, 23, 24, 13, false).x, 27 - 12);
    EXPECT_EQ(CaptionPosition(55, 23, 24, 13, false).y, 11 - 6);
    EXPECT_EQ(CaptionPosition(55, 23, 24, 13, true).x, 16);
    EXPECT_EQ(CaptionPosition(55, 23, 24, 13, true).y, 6);
    // Wider than the button: halves truncate toward zero.
    EXPECT_EQ(CaptionPosition(10, 10, 25, 13, false).x, 5 - 12);
}

TEST(ButtonStrip, WidthNotAMultipleOfFourLosesItsLastColumns) {
    EXPECT_EQ(StripFrameWidth(220), 55);
    EXPECT_EQ(StripFrameWidth(223), 55);
    EXPECT_EQ(StripFrameWidth(3), 0);
}

TEST(CheckModel, GrayedBoxSetToUncheckedStaysGrayed) {
    CheckModel m;
    m.WriteState(CheckBoxState::Grayed);
    EXPECT_FALSE(m.Checked());
    m.WriteChecked(false);
    EXPECT_EQ(m.State(), CheckBoxState::Grayed);
    m.WriteChecked(true);
    EXPECT_EQ(m.State(), CheckBoxState::Checked);
    m.Toggle();
    EXPECT_EQ(m.State(), CheckBoxState::Unchecked);
    m.WriteState(CheckBoxState::Checked);
    EXPECT_TRUE(m.Checked());
}

TEST(CheckGeometry, BoxOfA22PixelHighControlSpansColumns3To16AndRows4To17) {
    Edges box = CheckBoxRect(22);
    EXPECT_EQ(box, (Edges{3, 4, 17, 18}));  // right and bottom exclusive
    EXPECT_EQ(CheckBoxRect(21), (Edges{3, 3, 17, 17}));
}

TEST(CheckGeometry, CaptionStartsAt22AndIsCutTwoPixelsBeforeTheRightEdge) {
    EXPECT_EQ(CheckCaptionRect(225, 22, 100, 16), (Edges{22, 3, 122, 19}));
    EXPECT_EQ(CheckCaptionRect(100, 22, 300, 16).right, 98);
    EXPECT_EQ(CheckFocusRect(Edges{22, 3, 122, 19}), (Edges{20, 2, 125, 20}));
}

TEST(CheckGeometry, CheckMarkStrokesStepUpOnePixelEach) {
    auto s0 = CheckMarkStroke(22, 0);
    EXPECT_EQ(s0[0], (Point{7, 12}));
    EXPECT_EQ(s0[1], (Point{9, 14}));
    EXPECT_EQ(s0[2], (Point{14, 9}));
    auto s2 = CheckMarkStroke(22, 2);
    EXPECT_EQ(s2[0], (Point{7, 10}));
    EXPECT_EQ(s2[2], (Point{14, 7}));
}

TEST(CheckAccelerator, MarkedLetterMatchesEitherCaseAndDoubledAmpersandIsText) {
    EXPECT_TRUE(IsAccelerator('n', "&Next"));
    EXPECT_TRUE(IsAccelerator('N', "&next"));
    EXPECT_FALSE(IsAccelerator('a', "A&&B"));
    EXPECT_TRUE(IsAccelerator('c', "A&&&C"));
    EXPECT_TRUE(IsAccelerator('s', "保存(&S)"));
    EXPECT_FALSE(IsAccelerator('x', "添加到快速启动"));
    EXPECT_FALSE(AcceleratorOf("trailing&"));
}

}  // namespace
}  // namespace setup::controls
