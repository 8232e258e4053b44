// The bitmap button with real messages from its parent: strips cut into state images, caption
// placement read back from pixels, releases and double-clicks, errors in release handlers.
#include <gtest/gtest.h>

#include <set>

#include "controls/user_button.h"
#include "platform/error.h"
#include "gui/form.h"
#include "platform/win32/handles.h"
#include "window_test_support.h"

namespace setup::controls {
namespace {

using testing::At;
using testing::CapturedErrors;
using testing::Render;

constexpr COLORREF kFace = RGB(0, 128, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

class UserButtonTest : public ::testing::Test {
protected:
    UserButtonTest() {
        form.SetColor(RGB(10, 20, 30));
        button.SetBounds({10, 10, 1, 1});
        button.SetBmpTransParent(true);
        button.SetBmpTransParentColor(kWhite);
        button.OnMouseUp = [this](gui::MouseButton, gui::ShiftState s, int x, int y) {
            ups.push_back({x, y});
            EXPECT_EQ(s, 0u);
        };
        button.OnMouseDown = [this](gui::MouseButton, gui::ShiftState, int, int) { ++downs; };
    }
    void Send(UINT message, int x, int y) {
        SendMessageA(form.Handle(), message, message == WM_MOUSEMOVE ? 0 : MK_LBUTTON,
                     At(button.Left() + x, button.Top() + y));
    }
    // Pixels of the button's area that are neither the face nor the form.
    std::set<std::pair<int, int>> CaptionPixels() {
        gui::Bitmap shot = Render(form, button.GetBounds());
        std::set<std::pair<int, int>> pixels;
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x)
                if (shot.Pixel(x, y) != kFace) pixels.insert({x, y});
        return pixels;
    }

    CapturedErrors errors;
    gui::Form form{"button"};
    TUserButton button{form};
    std::vector<std::pair<int, int>> ups;
    int downs = 0;
};

TEST_F(UserButtonTest, StripWidthNotAMultipleOfFourLosesItsLastColumns) {
    // Each column has its own colour; column 0 is black.
    gui::Bitmap strip(222, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 222; ++x) strip.SetPixel(x, y, RGB(x, y, 1 + (x >= 256)));
    strip.SetPixel(0, 0, RGB(0, 0, 0));
    button.LoadFromStrip(strip);
    EXPECT_EQ(button.Width(), 55);
    EXPECT_EQ(button.Height(), 8);
    for (int i = 0; i < 4; ++i) {
        const gui::Bitmap& image = button.StateImage(static_cast<ButtonImage>(i));
        ASSERT_EQ(image.Width(), 55);
        EXPECT_EQ(image.Pixel(54, 7), RGB(i * 55 + 54, 7, 1)) << i;
    }
    // Columns 220 and 221 belong to no image. The black corner pixel of the normal image
    // turned into the key colour; no other image changed.
    EXPECT_EQ(button.StateImage(ButtonImage::Normal).Pixel(0, 0), kWhite);
    EXPECT_EQ(button.StateImage(ButtonImage::Normal).Pixel(1, 0), RGB(1, 0, 1));
    gui::Bitmap dark = testing::SolidStrip(10, 8, {0, 0, 0, 0});
    button.LoadFromStrip(dark);
    const gui::Bitmap& normal = button.StateImage(ButtonImage::Normal);
    EXPECT_EQ(normal.Pixel(5, 5), kWhite);
    EXPECT_EQ(normal.Pixel(6, 5), RGB(0, 0, 0));
    EXPECT_EQ(normal.Pixel(5, 6), RGB(0, 0, 0));
    EXPECT_EQ(button.StateImage(ButtonImage::Hot).Pixel(0, 0), RGB(0, 0, 0));
}

TEST_F(UserButtonTest, PressedCaptionMovesOnePixelRightAndDown) {
    button.LoadFromStrip(testing::SolidStrip(55, 23, {kFace, kFace, kFace, kFace}));
    button.SetCaption("同意");
    const auto before = CaptionPixels();
    ASSERT_GT(before.size(), 10u);
    Send(WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(button.State(), ButtonState::Down);
    std::set<std::pair<int, int>> shifted;
    for (auto [x, y] : before) shifted.insert({x + 1, y + 1});
    EXPECT_EQ(CaptionPixels(), shifted);
    Send(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(CaptionPixels(), before);
}

TEST_F(UserButtonTest, DoubleClickWithoutMovingFiresOneRelease) {
    button.LoadFromStrip(testing::SolidStrip(55, 23, {kFace, kFace, kFace, kFace}));
    Send(WM_LBUTTONDOWN, 5, 5);
    Send(WM_LBUTTONUP, 5, 5);
    Send(WM_LBUTTONDBLCLK, 5, 5);
    Send(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0], std::make_pair(0, 0));  // always (0, 0), wherever the release was
    EXPECT_EQ(downs, 2);                      // the double-click still fires the press event
    EXPECT_FALSE(button.Pressed());
}

// A right or middle click on a wizard button must not act like a left one (next, cancel).
TEST_F(UserButtonTest, OnlyTheLeftButtonPressesAndReleases) {
    button.LoadFromStrip(testing::SolidStrip(55, 23, {kFace, kFace, kFace, kFace}));
    for (auto [down, up] :
         {std::pair{WM_RBUTTONDOWN, WM_RBUTTONUP}, std::pair{WM_MBUTTONDOWN, WM_MBUTTONUP}}) {
        Send(down, 5, 5);
        Send(up, 5, 5);
    }
    EXPECT_TRUE(ups.empty());
    EXPECT_EQ(downs, 0);
    EXPECT_FALSE(button.Pressed());
}

TEST_F(UserButtonTest, ReleaseAfterLeavingGoesElsewhereAndTheButtonShowsNormal) {
    button.LoadFromStrip(testing::SolidStrip(55, 23, {kFace, kFace, kFace, kFace}));
    Send(WM_LBUTTONDOWN, 5, 5);
    Send(WM_MOUSEMOVE, 100, 100);  // off the button: it is told it was left
    EXPECT_EQ(button.State(), ButtonState::Left);
    EXPECT_FALSE(button.Pressed());
    Send(WM_LBUTTONUP, 100, 100);
    EXPECT_TRUE(ups.empty());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(UserButtonTest, ErrorsInTheReleaseHandlerAreDroppedSilently) {
    button.LoadFromStrip(testing::SolidStrip(55, 23, {kFace, kFace, kFace, kFace}));
    int clicks = 0;
    button.OnMouseUp = [](gui::MouseButton, gui::ShiftState, int, int) {
        throw setup::ResourceNotFound("MyFile0001");
    };
    button.OnClick = [&] { ++clicks; };
    Send(WM_LBUTTONDOWN, 5, 5);
    Send(WM_LBUTTONUP, 5, 5);
    EXPECT_TRUE(errors.texts.empty());
    EXPECT_EQ(clicks, 0);  // the error ends the release before the click event
    EXPECT_EQ(button.State(), ButtonState::Released);
}

TEST_F(UserButtonTest, DisabledButtonShowsItsDisabledImageAndGetsNoClicks) {
    const COLORREF grey = RGB(128, 128, 128);
    button.LoadFromStrip(testing::SolidStrip(55, 23, {kFace, kFace, kFace, grey}));
    button.SetEnabled(false);
    Send(WM_LBUTTONDOWN, 5, 5);
    Send(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(downs, 0);
    EXPECT_TRUE(ups.empty());
    EXPECT_EQ(Render(form, button.GetBounds()).Pixel(1, 1), grey);
}

TEST_F(UserButtonTest, UnloadedOpaqueButtonIsAGreyBoxWithBlackOutline) {
    button.SetBounds({10, 10, 40, 20});
    button.SetBmpTransParent(false);
    button.SetCaption("   ");  // blanks only: no text
    gui::Bitmap shot = Render(form, button.GetBounds());
    EXPECT_EQ(shot.Pixel(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(shot.Pixel(39, 19), RGB(0, 0, 0));
    for (int x = 1; x < 39; ++x) EXPECT_EQ(shot.Pixel(x, 10), RGB(240, 240, 240)) << x;
    button.SetBmpTransParent(true);
    EXPECT_EQ(Render(form, button.GetBounds()).Pixel(0, 0), RGB(10, 20, 30));
}

COLORREF Columns(int x, int) {
    return RGB(x, 0, 9);
}

TEST_F(UserButtonTest, StripFileIsCutIntoFourImagesWithoutTouchingTheCorner) {
    CreateDirectoryA("C:\\setup-tests", nullptr);
    CreateDirectoryA("C:\\setup-tests\\user-button", nullptr);
    const std::string base = "C:\\setup-tests\\user-button\\strip";
    const auto bytes = testing::Bmp24(43, 7, &Columns);
    {
        win32::UniqueHandle file(CreateFileA((base + ".bmp").c_str(), GENERIC_WRITE, 0, nullptr,
                                             CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    button.SetBmpPathAndName(base);
    DeleteFileA((base + ".bmp").c_str());
    RemoveDirectoryA("C:\\setup-tests\\user-button");
    EXPECT_TRUE(button.Loaded());
    EXPECT_EQ(button.Width(), 10);
    EXPECT_EQ(button.Height(), 7);
    EXPECT_EQ(button.StateImage(ButtonImage::Normal).Pixel(0, 0), RGB(0, 0, 9));
    EXPECT_EQ(button.StateImage(ButtonImage::Disabled).Pixel(9, 6), RGB(39, 0, 9));
}

TEST_F(UserButtonTest, MissingStripFileChangesNothing) {
    button.SetBmpPathAndName("C:\\setup-tests\\no-such-strip");
    EXPECT_FALSE(button.Loaded());
    EXPECT_EQ(button.BmpPathAndName(), "C:\\setup-tests\\no-such-strip");
}

}  // namespace
}  // namespace setup::controls
