#pragma once

#include "platform/ConsoleWindow.hpp"

#include <QRect>

namespace zorlo {

class ConsoleEvents;
class Foreground;
class FrmMain;

// The engine's view of frmMain, in twips.
class QtConsoleWindow : public ConsoleWindow {
  public:
    QtConsoleWindow(FrmMain& window, Foreground& foreground);
    void setEvents(ConsoleEvents* events) { events_ = events; }
    // The display may be gone: from now on nothing here touches the window or
    // the display. The geometry reads give the frame last seen, and what the
    // engine sets only changes those values.
    void detach();
    // While held back, the engine's show and bring-to-front change nothing:
    // a start that stays hidden never maps the window.
    void holdBack(bool held) { heldBack_ = held; }

    void setCaption(const Text& caption) override;
    void show() override;
    void hide() override;
    bool isVisible() const override;
    bool isMinimized() const override;
    bool isForeground() const override;
    void bringToFront() override;
    void setForeground() override;
    void leaveTopmost() override;

    // A native Wayland window's place is the compositor's alone.
    bool knowsPosition() const override;
    int left() const override;
    int top() const override;
    int width() const override;
    int height() const override;
    // A negative size is refused with a Failure, as a window refuses it.
    void setLeft(int twips) override;
    void setTop(int twips) override;
    void setWidth(int twips) override;
    void setHeight(int twips) override;

    int screenWidth() const override;
    int screenHeight() const override;

    Rect textAreaRect() const override;
    void setTextAreaRect(const Rect& rect) override;
    Rect labelRect() const override;
    void setLabelRect(const Rect& rect) override;

    void unload() override;

  private:
    void setOuterSize(int width, int height);
    QRect frame() const;

    bool detached_ = false;
    bool heldBack_ = false;
    QRect frame_;
    QSize screen_;

    FrmMain& window_;
    Foreground& foreground_;
    ConsoleEvents* events_ = nullptr;
};

} // namespace zorlo
