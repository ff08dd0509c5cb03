#pragma once

class QWidget;

namespace zorlo {

// Bringing a window in front of the desktop. The base asks the toolkit only;
// desktops that guard against focus stealing need a platform subclass.
class Foreground {
  public:
    virtual ~Foreground() = default;
    virtual bool isForeground(const QWidget& window) const;
    // Show the window on top and give it the keyboard, however the desktop guards that.
    virtual void bringToFront(QWidget& window);
    // One plain request for the foreground; the desktop may refuse it.
    virtual void setForeground(QWidget& window);
};

} // namespace zorlo
