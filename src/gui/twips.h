#pragma once

#include <cmath>

namespace veldrune {

// The window is laid out in twips; on screen a pixel is 15 twips (96 dots per inch).
inline constexpr int TwipsPerPixel = 15;

inline int toPixels(double twips) {
    return int(std::lround(twips / TwipsPerPixel));
}

} // namespace veldrune
