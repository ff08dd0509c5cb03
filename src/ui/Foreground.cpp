#include "ui/Foreground.hpp"

#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <utility>

namespace zorlo {

namespace {
// A compositor that grants the request answers within a few milliseconds.
constexpr int kArrivalMs = 250;
} // namespace

bool nativeWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool onWaylandCompositor() {
    const char* display = std::getenv("WAYLAND_DISPLAY");
    return nativeWayland() || (display != nullptr && *display != '\0');
}

bool Foreground::isForeground(const QWidget& window) const {
    return window.isActiveWindow();
}

void Foreground::requestActivation(QWidget& window) {
    window.raise();
    // Qt's Wayland window takes its token from the environment at the moment
    // it asks, and removes it; one it did not take must not linger there for
    // a later activation or a launched program.
    const bool withToken = !token_.empty() && nativeWayland();
    if (withToken) {
        qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(token_));
    }
    token_.clear();
    window.activateWindow();
    if (withToken) {
        qunsetenv("XDG_ACTIVATION_TOKEN");
    }
}

void Foreground::bringToFront(QWidget& window) {
    requestActivation(window);
    // A window that has just appeared is one the compositor hands the
    // keyboard to; hiding and showing it while the toolkit still settles that
    // first focus gains nothing and leaves the toolkit wrong about which
    // window is in front, so that the next press hides instead of showing.
    const bool appeared = std::exchange(appeared_, false);
    if (appeared || !onWaylandCompositor() || checkPending_) {
        return;
    }
    checkPending_ = true;
    QPointer<QWidget> later(&window);
    QTimer::singleShot(kArrivalMs, &window, [this, later] {
        checkPending_ = false;
        if (later) {
            checkArrived(*later);
        }
    });
}

void Foreground::checkArrived(QWidget& window) {
    if (!window.isVisible() || window.isMinimized() || isForeground(window)) {
        return;
    }
    window.hide();
    window.show();
    requestActivation(window);
}

void Foreground::setForeground(QWidget& window) {
    window.activateWindow();
}

} // namespace zorlo
