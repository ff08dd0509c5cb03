#pragma once

namespace zorlo::win32 {

// Twips per pixel from the screen's logical resolution (15 at 96 dpi), and the
// conversions between the engine's twips and the window system's pixels.
class Twips {
  public:
    static int perPixelX();
    static int perPixelY();
    static int toPixelsX(int twips) { return toPixels(twips, perPixelX()); }
    static int toPixelsY(int twips) { return toPixels(twips, perPixelY()); }
    static int fromPixelsX(int pixels) { return pixels * perPixelX(); }
    static int fromPixelsY(int pixels) { return pixels * perPixelY(); }

  private:
    static int toPixels(int twips, int perPixel) {
        const int half = perPixel / 2;
        return twips >= 0 ? (twips + half) / perPixel : -((-twips + half) / perPixel);
    }
};

} // namespace zorlo::win32
