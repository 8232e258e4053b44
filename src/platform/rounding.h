// Rounding to the nearest integer with halves going to the even neighbour, as the progress bar
// and its percentage round, whatever the floating-point unit's rounding mode.
#pragma once

#include <cmath>

namespace setup {

inline long long RoundHalfEven(double value) {
    const double below = std::floor(value);
    const double rest = value - below;
    const long long whole = static_cast<long long>(below);
    if (rest > 0.5 || (rest == 0.5 && whole % 2 != 0)) return whole + 1;
    return whole;
}

}  // namespace setup
