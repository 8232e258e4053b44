// Bitmaps with 24 bits per pixel: a DIB section kept selected in its own memory device context,
// so it can be drawn on, copied from and read pixel by pixel. A bitmap of width or height 0 is
// empty: it has no handle and every copy from or onto it does nothing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/win32/handles.h"

namespace setup::gui {

class Bitmap {
public:
    Bitmap() = default;
    // Black pixels. Throws RuntimeError "Out of memory" when the system cannot make it.
    Bitmap(int width, int height);
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(Bitmap&& other) noexcept;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    ~Bitmap();

    Bitmap Clone() const;
    // Replaces the contents by black pixels of the new size; negative sizes count as 0.
    void SetSize(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return dc_.get() == nullptr; }
    // The memory DC that holds the bitmap; nullptr when empty.
    HDC Dc() const { return dc_.get(); }

    // RGB value of a pixel; CLR_INVALID outside the bitmap.
    COLORREF Pixel(int x, int y) const;
    // Ignored outside the bitmap.
    void SetPixel(int x, int y, COLORREF color);

    // Plain source copy of a w x h rectangle of src at (sx, sy) to (dx, dy).
    void CopyFrom(const Bitmap& src, int sx, int sy, int w, int h, int dx, int dy);
    // Stretched source copy that repeats or drops whole rows and columns, never blends them.
    void StretchFrom(const Bitmap& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                     int dh);

private:
    void Swap(Bitmap& other) noexcept;

    int width_ = 0, height_ = 0;
    win32::UniqueBitmap bitmap_;
    win32::UniqueMemoryDc dc_;  // declared after bitmap_: the DC goes first
    HGDIOBJ original_ = nullptr;
    std::uint8_t* bits_ = nullptr;
    int stride_ = 0;
};

// Reads a Windows bitmap file image (uncompressed or bit-field BMP of 1, 4, 8, 16, 24 or 32 bits
// per pixel) into a 24-bit bitmap. Anything else, and any size or offset that points outside the
// data, throws RuntimeError "Bitmap image is not valid".
Bitmap ReadBmp(std::span<const std::uint8_t> data);

// Reads a bitmap file; nothing when the file does not exist or cannot be opened.
std::optional<Bitmap> ReadBmpFile(const std::string& path);

}  // namespace setup::gui
