#pragma once

#include <cmath>

namespace zorlo {

// Twips are 1/1440 inch; at the logical 96 dots per inch one pixel is 15 twips.
inline constexpr int kTwipsPerPixel = 15;

inline int toPixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}
inline constexpr int toTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

} // namespace zorlo
