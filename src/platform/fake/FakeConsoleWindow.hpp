#pragma once

#include "platform/ConsoleWindow.hpp"
#include "platform/fake/FakeEvent.hpp"

namespace zorlo {

class ConsoleEvents;

// The console window on a pretend Windows desktop. It starts hidden and not in
// front; what the console does to it is recorded as events, and the user's own
// actions (resize, minimise, close, switching windows) are its extra methods.
class FakeConsoleWindow : public ConsoleWindow {
  public:
    explicit FakeConsoleWindow(FakeEventLog& log) : log_(log) {}
    void attach(ConsoleEvents* console) { console_ = console; }

    // Before the console is created: the outer frame and the screen.
    void setFrame(const Rect& frame) { frame_ = frame; }
    void setScreen(int width, int height);

    void setCaption(const Text& caption) override { caption_ = caption; }
    const Text& caption() const { return caption_; }
    void show() override;
    void hide() override;
    bool isVisible() const override { return visible_; }
    bool isMinimized() const override { return minimized_; }
    bool isForeground() const override { return foreground_; }
    void bringToFront() override { takeForeground(); }
    void setForeground() override { takeForeground(); }
    void leaveTopmost() override { log_.record("notopmost"); }

    bool knowsPosition() const override { return positionKnown_; }
    int left() const override { return frame_.left; }
    int top() const override { return frame_.top; }
    int width() const override { return frame_.width; }
    int height() const override { return frame_.height; }
    void setLeft(int twips) override { frame_.left = twips; }
    void setTop(int twips) override { frame_.top = twips; }
    void setWidth(int twips) override;
    void setHeight(int twips) override;

    int screenWidth() const override { return screenWidth_; }
    int screenHeight() const override { return screenHeight_; }

    Rect textAreaRect() const override { return textArea_; }
    void setTextAreaRect(const Rect& rect) override { textArea_ = rect; }
    Rect labelRect() const override { return label_; }
    void setLabelRect(const Rect& rect) override { label_ = rect; }

    void unload() override;
    bool unloaded() const { return unloaded_; }
    const Rect& frame() const { return frame_; }

    // ---- The user's side ----
    void userSetForeground(bool console) { foreground_ = console; }
    // The desktop shows or hides the window without the console's doing.
    void desktopSetVisible(bool visible);
    // Whether the window's place is the program's to know (true, as on
    // Windows) or the desktop's alone (a Wayland compositor).
    void setPositionKnown(bool known) { positionKnown_ = known; }
    void userResize(int width, int height);
    void userMinimize(bool minimized);
    void userClose() { unload(); }

  private:
    void takeForeground();
    void resized();

    FakeEventLog& log_;
    ConsoleEvents* console_ = nullptr;
    Text caption_;
    bool visible_ = false;
    bool minimized_ = false;
    bool foreground_ = false;
    bool unloading_ = false;
    bool unloaded_ = false;
    bool positionKnown_ = true;
    Rect frame_{1200, 1200, 4125, 2400};
    int screenWidth_ = 19200;
    int screenHeight_ = 14400;
    // The design-time places of the two controls, until the first layout.
    Rect textArea_ = kDesignTextArea;
    Rect label_ = kDesignLabel;
};

} // namespace zorlo
