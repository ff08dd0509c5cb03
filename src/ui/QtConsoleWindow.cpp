#include "ui/QtConsoleWindow.hpp"

#include "platform/ConsoleEvents.hpp"
#include "text/Failure.hpp"
#include "ui/CliTextEdit.hpp"
#include "ui/Foreground.hpp"
#include "ui/FrmMain.hpp"
#include "ui/Twips.hpp"

#include <QGuiApplication>
#include <QScreen>

namespace zorlo {

namespace {

Rect toTwipsRect(const QRect& pixels) {
    return {toTwips(pixels.x()), toTwips(pixels.y()), toTwips(pixels.width()),
            toTwips(pixels.height())};
}

// A control refuses a negative size and keeps the one it had.
QRect toPixelRect(const Rect& twips, const QRect& current) {
    return {toPixels(twips.left), toPixels(twips.top),
            twips.width >= 0 ? toPixels(twips.width) : current.width(),
            twips.height >= 0 ? toPixels(twips.height) : current.height()};
}

QRect screenPixels() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry() : QRect();
}

void refuseNegative(int twips) {
    if (twips < 0) {
        throw Failure(u"Invalid property value");
    }
}

} // namespace

QtConsoleWindow::QtConsoleWindow(FrmMain& window, Foreground& foreground)
    : window_(window), foreground_(foreground) {}

void QtConsoleWindow::detach() {
    frame_ = window_.knownFrame();
    screen_ = screenPixels().size();
    detached_ = true;
}

QRect QtConsoleWindow::frame() const {
    return detached_ ? frame_ : window_.frameGeometry();
}

void QtConsoleWindow::setCaption(const Text& caption) {
    if (detached_) {
        return;
    }
    window_.setWindowTitle(QString::fromStdU16String(caption));
}

void QtConsoleWindow::show() {
    if (detached_ || heldBack_) {
        return;
    }
    foreground_.appeared(!window_.isVisible());
    window_.show();
}

void QtConsoleWindow::hide() {
    if (detached_) {
        return;
    }
    window_.hide();
}

bool QtConsoleWindow::isVisible() const {
    return !detached_ && window_.isVisible();
}

bool QtConsoleWindow::isMinimized() const {
    return !detached_ && window_.isMinimized();
}

bool QtConsoleWindow::isForeground() const {
    return !detached_ && foreground_.isForeground(window_);
}

void QtConsoleWindow::bringToFront() {
    if (detached_ || heldBack_) {
        return;
    }
    foreground_.bringToFront(window_);
}

void QtConsoleWindow::setForeground() {
    if (detached_) {
        return;
    }
    foreground_.setForeground(window_);
}

void QtConsoleWindow::leaveTopmost() {
    if (detached_ || !window_.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        return;
    }
    // Changing a window's flags hides it; put it back as it was.
    const bool visible = window_.isVisible();
    window_.setWindowFlag(Qt::WindowStaysOnTopHint, false);
    if (visible) {
        window_.show();
    }
}

bool QtConsoleWindow::knowsPosition() const {
    return !nativeWayland();
}

int QtConsoleWindow::left() const {
    return toTwips(frame().x());
}

int QtConsoleWindow::top() const {
    return toTwips(frame().y());
}

int QtConsoleWindow::width() const {
    return toTwips(frame().width());
}

int QtConsoleWindow::height() const {
    return toTwips(frame().height());
}

void QtConsoleWindow::setLeft(int twips) {
    if (detached_) {
        frame_.moveLeft(toPixels(twips));
        return;
    }
    window_.move(toPixels(twips), window_.pos().y());
}

void QtConsoleWindow::setTop(int twips) {
    if (detached_) {
        frame_.moveTop(toPixels(twips));
        return;
    }
    window_.move(window_.pos().x(), toPixels(twips));
}

void QtConsoleWindow::setWidth(int twips) {
    refuseNegative(twips);
    setOuterSize(toPixels(twips), frame().height());
}

void QtConsoleWindow::setHeight(int twips) {
    refuseNegative(twips);
    setOuterSize(frame().width(), toPixels(twips));
}

void QtConsoleWindow::setOuterSize(int width, int height) {
    if (detached_) {
        frame_.setSize({width, height});
        return;
    }
    if (!window_.resizeOuterForEngine({width, height})) {
        return;
    }
    if (events_ != nullptr) {
        events_->formResize();
    }
}

int QtConsoleWindow::screenWidth() const {
    return toTwips(detached_ ? screen_.width() : screenPixels().width());
}

int QtConsoleWindow::screenHeight() const {
    return toTwips(detached_ ? screen_.height() : screenPixels().height());
}

Rect QtConsoleWindow::textAreaRect() const {
    if (detached_) {
        return {};
    }
    return toTwipsRect(window_.txtCLI().geometry());
}

void QtConsoleWindow::setTextAreaRect(const Rect& rect) {
    if (detached_) {
        return;
    }
    // The engine's sizes leave room for a Windows frame inside the outer size;
    // a Qt client area has no such frame, so the text area runs to its right
    // and bottom edges instead of leaving an empty strip there.
    const QRect place = toPixelRect(rect, window_.txtCLI().geometry());
    window_.txtCLI().setGeometry(place.x(), place.y(), std::max(window_.width() - place.x(), 0),
                                 std::max(window_.height() - place.y(), 0));
}

Rect QtConsoleWindow::labelRect() const {
    if (detached_) {
        return {};
    }
    return toTwipsRect(window_.lblInfo().geometry());
}

void QtConsoleWindow::setLabelRect(const Rect& rect) {
    if (detached_) {
        return;
    }
    window_.lblInfo().setGeometry(toPixelRect(rect, window_.lblInfo().geometry()));
}

void QtConsoleWindow::unload() {
    if (!detached_) {
        window_.unload();
    }
}

} // namespace zorlo
