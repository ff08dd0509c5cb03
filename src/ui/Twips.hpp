#pragma once

#include "platform/ConsoleWindow.hpp"

#include <QRect>

namespace zorlo {

// Twips are 1/1440 inch; at the logical 96 dots per inch one pixel is 15 twips.
inline constexpr int kTwipsPerPixel = 15;

inline constexpr int toPixels(int twips) {
    return twipsToPixels(twips, kTwipsPerPixel);
}
inline QRect toPixels(const Rect& twips) {
    return QRect(toPixels(twips.left), toPixels(twips.top), toPixels(twips.width),
                 toPixels(twips.height));
}
inline constexpr int toTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

} // namespace zorlo
