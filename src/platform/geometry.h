// Plain geometry shared by the window's layout, its controls and the windowing library.
#pragma once

namespace setup {

// A place in a parent's client area: left, top, outer width and height.
struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;

    int right() const { return left + width; }
    int bottom() const { return top + height; }
    // Right and bottom edges excluded.
    bool Contains(int x, int y) const {
        return x >= left && x < right() && y >= top && y < bottom();
    }
    bool Intersects(const Bounds& o) const {
        return left < o.right() && o.left < right() && top < o.bottom() && o.top < bottom();
    }
    bool operator==(const Bounds&) const = default;
};

// A rectangle by its edges, as the system draws and clips: right and bottom exclusive.
struct Edges {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Edges&) const = default;
};

struct Size {
    int width = 0, height = 0;
    bool operator==(const Size&) const = default;
};

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

}  // namespace setup
