#pragma once

#include <cmath>

namespace veldrune {

// The window is laid out in twips; on screen a pixel is 15 twips (96 dots per inch), and a
// point is 20 twips.
inline constexpr int TwipsPerPixel = 15;
inline constexpr int TwipsPerPoint = 20;

inline int toPixels(double twips) {
    return int(std::lround(twips / TwipsPerPixel));
}

} // namespace veldrune
