#include "ui/CaretBlink.hpp"

#include <QApplication>
#include <QEvent>

namespace zorlo {

CaretBlink::CaretBlink(std::chrono::milliseconds timeout)
    : flashTime_(QApplication::cursorFlashTime()) {
    if (flashTime_ <= 0) {
        return; // the desktop does not blink the caret at all
    }
    still_.setSingleShot(true);
    still_.setInterval(timeout);
    QObject::connect(&still_, &QTimer::timeout, this, [] { QApplication::setCursorFlashTime(0); });
    QCoreApplication::instance()->installEventFilter(this);
    still_.start();
}

CaretBlink::~CaretBlink() {
    if (flashTime_ > 0) {
        QApplication::setCursorFlashTime(flashTime_);
    }
}

bool CaretBlink::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::FocusIn:
    case QEvent::Show:
        wake();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CaretBlink::wake() {
    if (QApplication::cursorFlashTime() != flashTime_) {
        QApplication::setCursorFlashTime(flashTime_);
    }
    still_.start();
}

} // namespace zorlo
