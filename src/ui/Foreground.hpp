#pragma once

#include <string>

class QWidget;

namespace zorlo {

// Bringing a window in front of the desktop. The base asks the toolkit only;
// desktops that guard against focus stealing need a platform subclass.
class Foreground {
  public:
    virtual ~Foreground() = default;
    virtual bool isForeground(const QWidget& window) const;
    // Show the window on top and give it the keyboard, however the desktop
    // guards that. Under a Wayland compositor a window comes forward only with
    // an activation token, and some compositors (sway by default) only mark it
    // urgent even then; a window that appears anew gets the keyboard. So there,
    // a window still not in front a moment after the request is hidden and
    // shown again, once.
    virtual void bringToFront(QWidget& window);
    // One plain request for the foreground; the desktop may refuse it.
    virtual void setForeground(QWidget& window);
    // The activation token that came with the press being handled (another
    // start hands one over), used by the next bringToFront; empty: none.
    void offerToken(std::string token) { token_ = std::move(token); }
    // The window has just been shown from hidden: the next bringToFront asks
    // once and does not show it anew (it is new already).
    void appeared(bool yes = true) { appeared_ = yes; }

  protected:
    // Asks the toolkit to raise and activate the window, with the offered
    // token where the toolkit takes one (a native Wayland window).
    void requestActivation(QWidget& window);

  private:
    void checkArrived(QWidget& window);

    std::string token_;
    bool checkPending_ = false;
    bool appeared_ = false;
};

// The desktop runs on a Wayland compositor: the console's window is a Wayland
// one, or an X11 one through XWayland.
bool onWaylandCompositor();
// The console's own window is a native Wayland window.
bool nativeWayland();

} // namespace zorlo
