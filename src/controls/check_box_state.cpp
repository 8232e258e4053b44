#include "controls/check_box_state.h"

#include <algorithm>

#include "platform/text.h"

namespace setup::controls {

void CheckModel::WriteChecked(bool value) {
    checked_ = value;
    if (value || state_ == CheckBoxState::Checked)
        state_ = value ? CheckBoxState::Checked : CheckBoxState::Unchecked;
}

void CheckModel::WriteState(CheckBoxState state) {
    state_ = state;
    checked_ = state == CheckBoxState::Checked;
}

Edges CheckBoxRect(int height) {
    const int m = height / 2;
    return {3, m - 7, 17, m + 7};
}

Edges CheckCaptionRect(int width, int height, int tw, int th) {
    const int m = height / 2;
    Edges r{22, m - th / 2, 22 + tw, m - th / 2 + th};
    r.right = std::min(r.right, width - 2);
    return r;
}

Edges CheckFocusRect(const Edges& caption) {
    return {caption.left - 2, caption.top - 1, caption.right + 3, caption.bottom + 1};
}

std::array<Point, 3> CheckMarkStroke(int height, int i) {
    const int m = height / 2;
    return {Point{7, m + 1 - i}, Point{9, m + 3 - i}, Point{14, m - 2 - i}};
}

std::optional<char> AcceleratorOf(std::string_view caption) {
    // Scan by characters, so the second byte of a Chinese character is never taken for "&".
    for (std::size_t pos = text::FindChar(caption, '&'); pos != std::string_view::npos;
         pos = text::FindChar(caption, '&', pos + 2)) {
        if (pos + 1 >= caption.size()) return std::nullopt;
        const char next = caption[pos + 1];
        if (next != '&') {
            if (text::IsLeadByte(static_cast<unsigned char>(next))) return std::nullopt;
            return text::AsciiUpper(std::string_view(&next, 1))[0];
        }
    }
    return std::nullopt;
}

bool IsAccelerator(char key, std::string_view caption) {
    auto accel = AcceleratorOf(caption);
    return accel && *accel == text::AsciiUpper(std::string_view(&key, 1))[0];
}

}  // namespace setup::controls
