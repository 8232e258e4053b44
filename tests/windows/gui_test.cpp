// The windowing library against the real Win32 API: bitmaps read from BMP images, plain and
// stretched copies, painting order and colour keys, mouse routing to windowless controls, and
// the catch points of image presses and timer ticks.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "platform/error.h"
#include "gui/bitmap.h"
#include "gui/form.h"
#include "gui/image.h"
#include "gui/label.h"
#include "gui/timer.h"
#include "window_test_support.h"

namespace setup::gui {
namespace {

// No test waits on a modal error box: an unexpected one fails the test instead.
const auto* const kNoErrorBoxes = ::testing::AddGlobalTestEnvironment(new testing::FailOnErrorBox);

using testing::At;
using testing::CapturedErrors;

COLORREF Gradient(int x, int y) {
    return RGB(x * 10, y * 20, 7);
}

TEST(Bitmap, ReadsBottomUpAndTopDownImagesPixelForPixel) {
    for (bool top_down : {false, true}) {
        Bitmap b = ReadBmp(testing::Bmp24(5, 3, &Gradient, top_down));
        ASSERT_EQ(b.Width(), 5);
        ASSERT_EQ(b.Height(), 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) EXPECT_EQ(b.Pixel(x, y), Gradient(x, y)) << x << "," << y;
    }
}

TEST(Bitmap, DamagedImagesAreRejectedNotRead) {
    const auto good = testing::Bmp24(5, 3, &Gradient);
    auto expect_invalid = [](std::vector<std::uint8_t> data, const char* what) {
        try {
            ReadBmp(data);
            ADD_FAILURE() << what << " was accepted";
        } catch (const RuntimeError& e) {
            EXPECT_STREQ(e.what(), "Bitmap image is not valid") << what;
        }
    };
    auto patched = [&](int at, std::uint32_t value) {
        auto d = good;
        std::memcpy(&d[at], &value, 4);
        return d;
    };
    expect_invalid({good.begin(), good.end() - 1}, "pixel data cut short");
    expect_invalid({good.begin(), good.begin() + 30}, "header cut short");
    expect_invalid(patched(10, 0xFFFFFFF0u), "bits offset past the end");
    expect_invalid(patched(18, 100000), "huge width");
    expect_invalid(patched(22, 0), "zero height");
    expect_invalid(patched(30, BI_RLE8), "compressed data");
    auto bad_depth = good;
    bad_depth[28] = 7;
    expect_invalid(bad_depth, "7 bits per pixel");
    auto not_bmp = good;
    not_bmp[0] = 'X';
    expect_invalid(not_bmp, "no BM signature");
}

TEST(Bitmap, EmptyBitmapsCopyNothingAndNegativeSizesCountAsZero) {
    Bitmap empty(-4, 10);
    EXPECT_TRUE(empty.Empty());
    EXPECT_EQ(empty.Width(), 0);
    Bitmap target(3, 3);
    target.CopyFrom(empty, 0, 0, 3, 3, 0, 0);
    EXPECT_EQ(target.Pixel(1, 1), RGB(0, 0, 0));
    EXPECT_EQ(target.Pixel(3, 0), CLR_INVALID);
}

TEST(Bitmap, StretchRepeatsColumnsAndNeverBlendsThem) {
    Bitmap source = testing::SolidStrip(1, 4, {RGB(255, 0, 0), RGB(0, 0, 255)});
    Bitmap wide(9, 4);
    wide.StretchFrom(source, 0, 0, 2, 4, 0, 0, 9, 4);
    EXPECT_EQ(wide.Pixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(wide.Pixel(8, 3), RGB(0, 0, 255));
    for (int x = 0; x < 9; ++x) {
        COLORREF c = wide.Pixel(x, 2);
        EXPECT_TRUE(c == RGB(255, 0, 0) || c == RGB(0, 0, 255)) << x << " " << std::hex << c;
    }
}

// A windowless control that counts what reaches it.
class Probe : public Control {
public:
    using Control::Control;
    void Paint(HDC) override {}
    void WmMouseMove(int x, int, ShiftState) override { moves.push_back(x); }
    void WmMouseLeave() override { ++leaves; }
    std::vector<int> moves;
    int leaves = 0;
    int downs = 0, double_downs = 0;
    void Count() {
        OnMouseDown = [this](MouseButton, ShiftState s, int, int) {
            ++downs;
            if (s & ssDouble) ++double_downs;
        };
    }
};

class RoutingTest : public ::testing::Test {
protected:
    RoutingTest() {
        lower.SetBounds({0, 0, 100, 100});
        upper.SetBounds({50, 0, 100, 100});
        lower.Count();
        upper.Count();
    }
    CapturedErrors errors;
    Form form{"routing"};
    Probe lower{form};
    Probe upper{form};
};

TEST_F(RoutingTest, PressGoesToTheTopmostEnabledControlUnderTheCursor) {
    SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(60, 10));
    EXPECT_EQ(upper.downs, 1);
    EXPECT_EQ(lower.downs, 0);
    upper.SetEnabled(false);
    SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(60, 10));
    EXPECT_EQ(upper.downs, 1);
    EXPECT_EQ(lower.downs, 1);
    upper.SetVisible(false);
    upper.SetEnabled(true);
    SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(60, 10));
    EXPECT_EQ(lower.downs, 2);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(RoutingTest, DoubleClickIsItsOwnMessageAndPressesWithTheDoubleFlag) {
    EXPECT_TRUE(GetClassLongA(form.Handle(), GCL_STYLE) & CS_DBLCLKS);
    SendMessageA(form.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(10, 10));
    EXPECT_EQ(lower.downs, 1);
    EXPECT_EQ(lower.double_downs, 1);
}

TEST_F(RoutingTest, ControlTheCursorLeavesIsToldSo) {
    SendMessageA(form.Handle(), WM_MOUSEMOVE, 0, At(10, 10));
    SendMessageA(form.Handle(), WM_MOUSEMOVE, 0, At(20, 10));
    EXPECT_EQ(lower.leaves, 0);
    SendMessageA(form.Handle(), WM_MOUSEMOVE, 0, At(120, 10));
    EXPECT_EQ(lower.leaves, 1);
    EXPECT_EQ(upper.moves, std::vector<int>{70});
    SendMessageA(form.Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(upper.leaves, 1);
    EXPECT_EQ(lower.leaves, 1);
}

TEST(Image, EveryButtonsPressReachesTheHandlerAndItsErrorIsShownNotThrown) {
    CapturedErrors errors;
    Form form("image");
    Image image(form);
    image.SetBounds({0, 0, 50, 50});
    std::vector<MouseButton> presses;
    image.OnMouseDown = [&](MouseButton b, ShiftState, int, int) {
        presses.push_back(b);
        throw setup::ResourceNotFound("MyFile0007");
    };
    SendMessageA(form.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, At(5, 5));
    SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageA(form.Handle(), WM_MBUTTONDOWN, MK_MBUTTON, At(5, 5));
    EXPECT_EQ(presses, (std::vector<MouseButton>{MouseButton::Right, MouseButton::Left,
                                                 MouseButton::Middle}));
    ASSERT_EQ(errors.texts.size(), 3u);
    EXPECT_EQ(errors.texts[0], "Resource MyFile0007 not found");
}

TEST(Image, LaterControlsPaintOverEarlierOnesAndTheKeyColourShowsThrough) {
    Form form("paint order");
    form.SetColor(RGB(1, 2, 3));
    Image below(form), above(form);
    below.SetBounds({0, 0, 4, 4});
    below.SetPicture(std::make_shared<Bitmap>(testing::SolidStrip(4, 4, {RGB(200, 0, 0)})));
    // The key is the picture's bottom-left pixel: white there and at (1, 0).
    auto keyed = std::make_shared<Bitmap>(testing::SolidStrip(4, 4, {RGB(0, 200, 0)}));
    keyed->SetPixel(0, 3, RGB(255, 255, 255));
    keyed->SetPixel(1, 0, RGB(255, 255, 255));
    above.SetBounds({2, 0, 4, 4});
    above.SetPicture(keyed);
    above.SetTransparent(true);

    Bitmap out = testing::Render(form, {0, 0, 7, 4});
    EXPECT_EQ(out.Pixel(0, 0), RGB(200, 0, 0));
    EXPECT_EQ(out.Pixel(2, 0), RGB(0, 200, 0));
    EXPECT_EQ(out.Pixel(3, 0), RGB(200, 0, 0));  // key pixel: the image below shows
    EXPECT_EQ(out.Pixel(6, 0), RGB(1, 2, 3));    // beyond both: the form's colour
}

TEST(Label, AutoSizedLabelKeepsTheSizeOfItsTextWhenItIsPlaced) {
    Form form("label");
    Label label(form);
    label.SetAutoSize(true);
    label.SetCaption("TessikOne软件商贸版用户许可协议");
    const Bounds text_size = label.GetBounds();
    ASSERT_GT(text_size.width, 110);
    label.SetBounds({20, 45, 110, 60});
    EXPECT_EQ(label.GetBounds(), (Bounds{20, 45, text_size.width, text_size.height}));
    label.SetAutoSize(false);
    label.SetBounds({20, 45, 110, 60});
    EXPECT_EQ(label.Width(), 110);
}

TEST(Timer, TickErrorIsShownAndTheTimerKeepsRunning) {
    CapturedErrors errors;
    Form form("timer");
    Timer timer(form, 5, false);
    int ticks = 0;
    timer.OnTimer = [&] {
        if (++ticks == 1) throw setup::StreamReadError();
    };
    timer.SetEnabled(true);
    const DWORD start = GetTickCount();
    while (ticks < 3 && GetTickCount() - start < 5000) {
        MSG msg;
        if (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    }
    EXPECT_GE(ticks, 3);
    ASSERT_EQ(errors.texts.size(), 1u);
    EXPECT_EQ(errors.texts[0], "Stream read error");
    timer.SetEnabled(false);
    const int stopped_at = ticks;
    Sleep(30);
    testing::PumpMessages();
    EXPECT_EQ(ticks, stopped_at);
}

}  // namespace
}  // namespace setup::gui
