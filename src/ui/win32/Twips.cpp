#include "ui/win32/Twips.hpp"

#include <windows.h>

namespace zorlo::win32 {

namespace {

constexpr int kTwipsPerInch = 1440;

int perPixel(int capability) {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, capability) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? kTwipsPerInch / dpi : kTwipsPerInch / 96;
}

} // namespace

int Twips::perPixelX() {
    static const int value = perPixel(LOGPIXELSX);
    return value;
}

int Twips::perPixelY() {
    static const int value = perPixel(LOGPIXELSY);
    return value;
}

} // namespace zorlo::win32
