#include "platform/x11/X11Foreground.hpp"

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

void askWindowManager(QWidget& window) {
    if (onX11() && window.isVisible() && !window.isActiveWindow()) {
        x11::XDisplay::instance().requestActivation(static_cast<unsigned long>(window.winId()));
    }
}

} // namespace

void X11Foreground::bringToFront(QWidget& window) {
    Foreground::bringToFront(window);
    if (!onX11()) {
        return;
    }
    askWindowManager(window);
    // A window just shown is mapped a moment later; a request made before that is lost.
    QPointer<QWidget> later(&window);
    QTimer::singleShot(kRetryMs, &window, [later] {
        if (later) {
            askWindowManager(*later);
        }
    });
}

} // namespace zorlo
