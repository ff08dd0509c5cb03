#include "ui/x11/X11Foreground.hpp"

#include "platform/x11/XDisplay.hpp"

#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace zorlo {

namespace {

constexpr int kRetryMs = 150;

bool onX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

void askWindowManager(const x11::XDisplay& display, QWidget& window) {
    if (onX11() && window.isVisible() && !window.isActiveWindow()) {
        display.requestActivation(static_cast<unsigned long>(window.winId()));
    }
}

} // namespace

X11Foreground::X11Foreground(std::shared_ptr<const x11::XDisplay> display)
    : display_(std::move(display)) {}

bool X11Foreground::isForeground(const QWidget& window) const {
    if (onX11()) {
        // Without a window manager that keeps the property, the toolkit's idea stands.
        if (const auto active = display_->activeWindow()) {
            return *active != 0 && *active == static_cast<unsigned long>(window.internalWinId());
        }
    }
    return Foreground::isForeground(window);
}

void X11Foreground::bringToFront(QWidget& window) {
    Foreground::bringToFront(window);
    if (!onX11()) {
        return;
    }
    askWindowManager(*display_, window);
    // A window just shown is mapped a moment later; a request made before that is lost.
    QPointer<QWidget> later(&window);
    QTimer::singleShot(kRetryMs, &window, [display = display_, later] {
        if (later) {
            askWindowManager(*display, *later);
        }
    });
}

} // namespace zorlo
