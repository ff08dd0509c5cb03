#pragma once

#include "text/Text.hpp"

namespace zorlo {

// A place and size in twips (15 twips per logical pixel).
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

// Pixels for twips, perPixel twips to a pixel (15 at 96 dots per inch), a half
// rounded away from zero.
inline constexpr int twipsToPixels(int twips, int perPixel) {
    const int half = perPixel / 2;
    return twips >= 0 ? (twips + half) / perPixel : -((-twips + half) / perPixel);
}

// The console window as designed, in twips: its client area, and the places of
// the status line and the text area until the first layout.
inline constexpr int kDesignClientWidth = 4005;
inline constexpr int kDesignClientHeight = 1980;
inline constexpr Rect kDesignLabel{15, -15, 3975, 255};
inline constexpr Rect kDesignTextArea{0, 270, 3990, 1710};

// The console window as the engine needs it. All places and sizes in twips;
// left/top/width/height are the window's outer frame.
class ConsoleWindow {
  public:
    virtual ~ConsoleWindow() = default;

    virtual void setCaption(const Text& caption) = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual bool isVisible() const = 0;
    virtual bool isMinimized() const = 0;
    // Whether the console is the window in front of the desktop.
    virtual bool isForeground() const = 0;
    // Makes the console the foreground window, even where the desktop guards
    // against focus stealing (on Windows: the AttachThreadInput dance).
    virtual void bringToFront() = 0;
    // A plain request to take the foreground (SetForegroundWindow), result not used.
    virtual void setForeground() = 0;
    // Takes the window out of the topmost band without moving or sizing it.
    virtual void leaveTopmost() = 0;

    // Whether the window's place on the screen is the program's to know and
    // set. Where it is not (a Wayland compositor places its windows and tells
    // no program where), left() and top() mean nothing and setLeft/setTop do
    // nothing, and the console neither stores nor applies a place.
    virtual bool knowsPosition() const { return true; }
    virtual int left() const = 0;
    virtual int top() const = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // Size changes raise the engine's resize handling (Console::formResize) at once.
    virtual void setLeft(int twips) = 0;
    virtual void setTop(int twips) = 0;
    virtual void setWidth(int twips) = 0;
    virtual void setHeight(int twips) = 0;

    virtual int screenWidth() const = 0;
    virtual int screenHeight() const = 0;

    // The two controls: the text area and the status label, in client twips.
    virtual Rect textAreaRect() const = 0;
    virtual void setTextAreaRect(const Rect& rect) = 0;
    virtual Rect labelRect() const = 0;
    virtual void setLabelRect(const Rect& rect) = 0;

    // Closes the window for good: the front end runs ConsoleEvents::formUnload as its
    // unload handling, then the program ends.
    virtual void unload() = 0;
};

} // namespace zorlo
