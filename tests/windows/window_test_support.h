// Helpers for the window tests: error boxes captured instead of shown, rendering a container's
// area into a bitmap to read its pixels, strips of known colours, and the shipped resources with
// the generated skin atlas.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/gui/bitmap.h"
#include "platform/win32/gui/container.h"
#include "platform/win32/gui/errors.h"
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
