#include "controls/button_state.h"

namespace setup::controls {

ButtonImage ImageForState(ButtonState state, bool pressed) {
    switch (state) {
        case ButtonState::Normal:
        case ButtonState::Left:
            return ButtonImage::Normal;
        case ButtonState::Down:
            return ButtonImage::Down;
        case ButtonState::Hot:
            return pressed ? ButtonImage::None : ButtonImage::Hot;
        case ButtonState::Released:
            return ButtonImage::Hot;
    }
    return ButtonImage::None;
}

bool ButtonModel::Press(int x, int y, int width, int height) {
    if (!InsideButton(x, y, width, height) || state_ == ButtonState::Down) return false;
    state_ = ButtonState::Down;
    pressed_ = true;
    return true;
}

bool ButtonModel::Move(int x, int y, int width, int height) {
    if (!InsideButton(x, y, width, height) || state_ == ButtonState::Hot) return false;
    state_ = ButtonState::Hot;
    return true;
}

bool ButtonModel::Release() {
    if (state_ == ButtonState::Released) return false;
    state_ = ButtonState::Released;
    pressed_ = false;
    return true;
}

bool ButtonModel::Leave() {
    if (state_ == ButtonState::Left) return false;
    state_ = ButtonState::Left;
    pressed_ = false;
    return true;
}

}  // namespace setup::controls
