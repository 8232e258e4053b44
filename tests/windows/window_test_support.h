// Helpers for the window tests: error boxes captured instead of shown, rendering a container's
// area into a bitmap to read its pixels, strips of known colours, and the shipped resources with
// the generated skin atlas.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gui/bitmap.h"
#include "gui/container.h"
#include "gui/errors.h"
#include "shipped_resources.h"

namespace setup::testing {

// Error boxes that a test provokes are collected; any other one fails the test.
class CapturedErrors {
public:
    CapturedErrors() {
        previous_ =
            gui::SetErrorReporter([this](HWND, const std::string& text) { texts.push_back(text); });
    }
    ~CapturedErrors() { gui::SetErrorReporter(previous_); }
    std::vector<std::string> texts;

private:
    gui::ErrorReporter previous_;
};

class FailOnErrorBox : public ::testing::Environment {
public:
    void SetUp() override {
        gui::SetErrorReporter(
            [](HWND, const std::string& text) { ADD_FAILURE() << "error box: " << text; });
    }
};

inline gui::Bitmap Render(const gui::Container& container, const gui::Bounds& area) {
    gui::Bitmap out(area.width, area.height);
    container.PaintUnder(out.Dc(), area);
    return out;
}

// A strip of `frames` frames of w x h, frame i filled with colors[i].
inline gui::Bitmap SolidStrip(int w, int h, std::vector<COLORREF> colors) {
    gui::Bitmap strip(w * static_cast<int>(colors.size()), h);
    for (int i = 0; i < static_cast<int>(colors.size()); ++i)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) strip.SetPixel(i * w + x, y, colors[i]);
    return strip;
}

// A BMP file image: 24 bits, bottom-up unless top_down, rows padded to 4 bytes.
inline std::vector<std::uint8_t> Bmp24(int w, int h, COLORREF (*pixel)(int, int),
                                       bool top_down = false) {
    const int stride = (w * 3 + 3) & ~3;
    std::vector<std::uint8_t> data(54 + stride * h, 0);
    auto put32 = [&](int at, std::uint32_t v) { std::memcpy(&data[at], &v, 4); };
    data[0] = 'B';
    data[1] = 'M';
    put32(2, static_cast<std::uint32_t>(data.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(w));
    put32(22, static_cast<std::uint32_t>(top_down ? -h : h));
    data[26] = 1;
    data[28] = 24;
    for (int y = 0; y < h; ++y) {
        const int row = top_down ? y : h - 1 - y;
        for (int x = 0; x < w; ++x) {
            COLORREF c = pixel(x, y);
            std::uint8_t* p = &data[54 + row * stride + x * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    }
    return data;
}

inline void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

inline LPARAM At(int x, int y) {
    return MAKELPARAM(x, y);
}

}  // namespace setup::testing
