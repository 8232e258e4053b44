// The flat check box without any drawing: its check and state, the accelerator of its caption,
// and where its box, caption, check mark and focus rectangle go.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "platform/geometry.h"

namespace setup::controls {

enum class CheckBoxState { Unchecked, Checked, Grayed };

class CheckModel {
public:
    bool Checked() const { return checked_; }
    CheckBoxState State() const { return state_; }

    // Writing the check: a grayed box set to unchecked stays grayed. Every write counts as a
    // click, also one that changes nothing.
    void WriteChecked(bool value);
    void WriteState(CheckBoxState state);
    void Toggle() { WriteChecked(!checked_); }

private:
    bool checked_ = false;
    CheckBoxState state_ = CheckBoxState::Unchecked;
};

using setup::Point;

// The 14 x 14 box, centred on the control's height.
Edges CheckBoxRect(int height);
// The caption's single line of text size (tw, th): at x 22, centred on the height, its right
// edge cut at width - 2.
Edges CheckCaptionRect(int width, int height, int tw, int th);
// The focus rectangle around a caption rectangle.
Edges CheckFocusRect(const Edges& caption);
// The three strokes of the check mark, stroke i = 0, 1, 2 a polyline of three points.
std::array<Point, 3> CheckMarkStroke(int height, int i);

// The letter marked with "&" in a caption, folded to upper case; "&&" is a plain ampersand.
std::optional<char> AcceleratorOf(std::string_view caption);
bool IsAccelerator(char key, std::string_view caption);

}  // namespace setup::controls
