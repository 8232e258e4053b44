// State machine of the bitmap button, without any drawing: which state it is in, whether the
// left button went down inside it, and which of its images a state shows.
#pragma once

namespace setup::controls {

// Button states, numbered as the button has always stored them.
enum class ButtonState { Normal = 0, Down = 1, Hot = 2, Released = 3, Left = 4 };

// State images of a strip, left to right.
enum class ButtonImage { Normal = 0, Hot = 1, Down = 2, Disabled = 3, None = -1 };

// Inside the button: both right and bottom edges count.
constexpr bool InsideButton(int x, int y, int width, int height) {
    return x >= 0 && x <= width && y >= 0 && y <= height;
}

// The image drawn for a state of an enabled button; while pressed, a move keeps the down image
// on screen by drawing nothing over it.
ButtonImage ImageForState(ButtonState state, bool pressed);

class ButtonModel {
public:
    ButtonState State() const { return state_; }
    bool Pressed() const { return pressed_; }

    // Each returns true when the state changed and the button must be drawn in its new state.
    bool Press(int x, int y, int width, int height);
    bool Move(int x, int y, int width, int height);
    // True when the release counts: the events fire. A second release in a row does nothing.
    bool Release();
    bool Leave();

private:
    ButtonState state_ = ButtonState::Normal;
    bool pressed_ = false;
};

// The top-left corner of a caption of text size (tw, th) centred on a button, one pixel right
// and down while pressed. Halves drop their remainder toward zero.
struct CaptionOrigin {
    int x, y;
};
constexpr CaptionOrigin CaptionPosition(int width, int height, int tw, int th, bool pressed) {
    const int shift = pressed ? 1 : 0;
    return {width / 2 - tw / 2 + shift, height / 2 - th / 2 + shift};
}

// Width of one of the four frames of a strip; the last columns of a strip whose width is not a
// multiple of four belong to no frame.
constexpr int StripFrameWidth(int strip_width) {
    return strip_width / 4;
}

}  // namespace setup::controls
