// The flat check box with real messages: its outline and mark read back from pixels over a
// skinned background, clicks, double-clicks, the space key and accelerators, and every write of
// its check reported.
#include <gtest/gtest.h>

#include "controls/flat_check_box.h"
#include "platform/error.h"
#include "gui/form.h"
#include "gui/image.h"
#include "window_test_support.h"

namespace setup::controls {
namespace {

using testing::At;
using testing::CapturedErrors;

constexpr COLORREF kSkin = RGB(200, 60, 60);

class FlatCheckBoxTest : public ::testing::Test {
protected:
    FlatCheckBoxTest() {
        // A skin image lies under the box, as the page backgrounds do.
        skin.SetBounds({0, 0, 300, 100});
        skin.SetPicture(std::make_shared<gui::Bitmap>(testing::SolidStrip(300, 100, {kSkin})));
        SetWindowPos(form.Handle(), nullptr, 700, 700, 320, 140, SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
        box.OnClick = [this] { ++clicks; };
    }
    gui::Bitmap Shot() {
        gui::Bitmap shot(box.GetBounds().width, box.GetBounds().height);
        box.PaintTo(shot.Dc());
        return shot;
    }
    void Send(UINT message, WPARAM w = MK_LBUTTON, LPARAM l = At(5, 5)) {
        SendMessageA(box.Handle(), message, w, l);
    }

    CapturedErrors errors;
    gui::Form form{"check box"};
    gui::Image skin{form};
    TFlatCheckBox box{form, {40, 30, 120, 22}, "Tick"};
    int clicks = 0;
};

TEST_F(FlatCheckBoxTest, OutlineOfA22PixelBoxSpansColumns3To16AndRows4To17) {
    gui::Bitmap shot = Shot();
    const COLORREF outline = gui::clBtnShadow();
    for (int i = 3; i <= 16; ++i) {
        EXPECT_EQ(shot.Pixel(i, 4), outline) << i;
        EXPECT_EQ(shot.Pixel(i, 17), outline) << i;
    }
    for (int i = 4; i <= 17; ++i) {
        EXPECT_EQ(shot.Pixel(3, i), outline) << i;
        EXPECT_EQ(shot.Pixel(16, i), outline) << i;
    }
    // Outside the outline and inside the unticked box the skin shows through.
    EXPECT_EQ(shot.Pixel(2, 4), kSkin);
    EXPECT_EQ(shot.Pixel(17, 4), kSkin);
    EXPECT_EQ(shot.Pixel(3, 3), kSkin);
    EXPECT_EQ(shot.Pixel(3, 18), kSkin);
    EXPECT_EQ(shot.Pixel(10, 10), kSkin);
    EXPECT_EQ(shot.Pixel(0, 0), kSkin);
}

TEST_F(FlatCheckBoxTest, HoverOutlineIsNavyAndTheMarkIsThreeStrokes) {
    Send(WM_MOUSEMOVE, 0);
    EXPECT_TRUE(box.MouseIn());
    box.SetChecked(true);
    gui::Bitmap shot = Shot();
    EXPECT_EQ(shot.Pixel(3, 4), gui::clNavy);
    // Stroke 0 runs (7,12)-(9,14)-(14,9) without its end point; strokes 1 and 2 one row up each.
    for (auto [x, y] : {std::pair{7, 12}, {9, 14}, {13, 10}, {7, 10}, {13, 8}})
        EXPECT_EQ(shot.Pixel(x, y), RGB(0, 0, 0)) << x << "," << y;
    EXPECT_EQ(shot.Pixel(14, 9), kSkin);
    box.SetEnabled(false);
    EXPECT_FALSE(box.MouseIn());
    shot = Shot();
    EXPECT_EQ(shot.Pixel(7, 12), gui::clBtnShadow());
    EXPECT_EQ(shot.Pixel(3, 4), gui::clBtnShadow());
}

TEST_F(FlatCheckBoxTest, DoubleClickTogglesTwice) {
    Send(WM_LBUTTONDOWN);
    Send(WM_LBUTTONUP);
    EXPECT_TRUE(box.Checked());
    Send(WM_LBUTTONDBLCLK);
    Send(WM_LBUTTONUP);
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(GetFocus(), box.Handle());
    // The focus rectangle runs around the caption, 2 pixels left of its start at x 22.
    gui::Bitmap shot = Shot();
    int dotted = 0;
    for (int y = 0; y < 22; ++y) dotted += shot.Pixel(20, y) != kSkin;
    EXPECT_GT(dotted, 3);
    SetFocus(form.Handle());
    shot = Shot();
    for (int y = 0; y < 22; ++y) EXPECT_EQ(shot.Pixel(20, y), kSkin) << y;
}

TEST_F(FlatCheckBoxTest, ReleaseAfterTheMouseLeftDoesNotToggle) {
    Send(WM_LBUTTONDOWN);
    Send(WM_MOUSELEAVE, 0, 0);
    Send(WM_LBUTTONUP);
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(clicks, 0);
}

TEST_F(FlatCheckBoxTest, SpaceTogglesOnKeyUpOnly) {
    SetFocus(box.Handle());
    Send(WM_KEYDOWN, VK_SPACE, 0);
    Send(WM_KEYDOWN, VK_SPACE, 0x40000000);  // auto-repeat
    EXPECT_EQ(clicks, 0);
    Send(WM_KEYUP, VK_SPACE, 0xC0000000);
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(clicks, 1);
}

TEST_F(FlatCheckBoxTest, AcceleratorTakesFocusAndToggles) {
    box.SetCaption("&Go");
    SetFocus(form.Handle());
    SendMessageA(form.Handle(), WM_SYSCHAR, 'g', 0);
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(GetFocus(), box.Handle());
    SendMessageA(form.Handle(), WM_SYSCHAR, 'x', 0);
    EXPECT_EQ(clicks, 1);
}

TEST_F(FlatCheckBoxTest, EveryWriteOfTheCheckFiresOnClickAndErrorsAreShown) {
    box.SetChecked(false);
    box.SetChecked(false);
    EXPECT_EQ(clicks, 2);
    box.SetState(CheckBoxState::Checked);
    EXPECT_TRUE(box.Checked());
    box.OnClick = [] { throw setup::GenericError(); };
    box.Toggle();
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(errors.texts, std::vector<std::string>{"Error"});
}

TEST_F(FlatCheckBoxTest, LongCaptionIsCutTwoPixelsBeforeTheRightEdge) {
    box.SetCaption(std::string(60, 'W'));
    gui::Bitmap shot = Shot();
    bool text_before_cut = false;
    for (int y = 0; y < 22; ++y) {
        EXPECT_EQ(shot.Pixel(118, y), kSkin) << y;
        EXPECT_EQ(shot.Pixel(119, y), kSkin) << y;
        text_before_cut |= shot.Pixel(116, y) != kSkin || shot.Pixel(117, y) != kSkin;
    }
    EXPECT_TRUE(text_before_cut);
}

}  // namespace
}  // namespace setup::controls
