#include "platform/fake/FakeConsoleWindow.hpp"

#include "platform/ConsoleEvents.hpp"

namespace zorlo {

void FakeConsoleWindow::setScreen(int width, int height) {
    screenWidth_ = width;
    screenHeight_ = height;
}

void FakeConsoleWindow::show() {
    visible_ = true;
    log_.record("show");
}

void FakeConsoleWindow::hide() {
    visible_ = false;
    // As on Windows, a hidden window hands the foreground to another one.
    foreground_ = false;
    log_.record("hide");
}

void FakeConsoleWindow::desktopSetVisible(bool visible) {
    visible_ = visible;
    if (!visible) {
        foreground_ = false;
    }
}

void FakeConsoleWindow::takeForeground() {
    foreground_ = true;
    log_.record("foreground");
}

// Like a real window, only an actual change of size raises the resize handling.
void FakeConsoleWindow::setWidth(int twips) {
    if (frame_.width != twips) {
        frame_.width = twips;
        resized();
    }
}

void FakeConsoleWindow::setHeight(int twips) {
    if (frame_.height != twips) {
        frame_.height = twips;
        resized();
    }
}

void FakeConsoleWindow::resized() {
    if (console_ != nullptr && !unloaded_) {
        console_->formResize();
    }
}

void FakeConsoleWindow::userResize(int width, int height) {
    frame_.width = width;
    frame_.height = height;
    resized();
}

void FakeConsoleWindow::userMinimize(bool minimized) {
    minimized_ = minimized;
    resized();
}

void FakeConsoleWindow::unload() {
    if (unloaded_ || unloading_) {
        return;
    }
    unloading_ = true;
    if (console_ != nullptr && !console_->formUnload()) {
        // The user kept the console after a failed save.
        unloading_ = false;
        return;
    }
    unloaded_ = true;
    visible_ = false;
    log_.record("unload");
}

} // namespace zorlo
