#pragma once

#include "platform/ConsoleWindow.hpp"

namespace zorlo::win32 {

// Twips per pixel from the screen's logical resolution (15 at 96 dpi), and the
// conversions between the engine's twips and the window system's pixels.
class Twips {
  public:
    static int perPixelX();
    static int perPixelY();
    static int toPixelsX(int twips) { return twipsToPixels(twips, perPixelX()); }
    static int toPixelsY(int twips) { return twipsToPixels(twips, perPixelY()); }
    static int fromPixelsX(int pixels) { return pixels * perPixelX(); }
    static int fromPixelsY(int pixels) { return pixels * perPixelY(); }
};

} // namespace zorlo::win32
