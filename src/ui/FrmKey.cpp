#include "ui/FrmKey.hpp"

#include "platform/CaptureWindow.hpp"
#include "platform/HotkeyCapture.hpp"
#include "ui/Foreground.hpp"
#include "ui/KeyTranslator.hpp"
#include "ui/Twips.hpp"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>

namespace zorlo {

FrmKey::FrmKey(Foreground& foreground, const KeyTranslator& keys)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      foreground_(foreground), keys_(keys) {
    setObjectName(QStringLiteral("frmKey"));
    setWindowTitle(QStringLiteral("Zorlo Hotkey"));
    setFixedSize(toPixels(kCaptureClientWidth), toPixels(kCaptureClientHeight));
    auto* label = new QLabel(QStringLiteral("Press Hotkey"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(toPixels(kCaptureLabel));
    setFocusPolicy(Qt::StrongFocus);
}

void FrmKey::open(HotkeyCapture& capture, int left, int top) {
    capture_ = &capture;
    move(left, top);
    show();
    foreground_.bringToFront(*this);
    setFocus();
}

void FrmKey::shut() {
    capture_ = nullptr;
    close();
}

bool FrmKey::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Every key belongs to the capture, none to a shortcut.
        event->accept();
        return true;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int code = keys_.virtualKey(*key);
        // A key without a virtual-key code could never be polled, so it is not offered.
        if (capture_ != nullptr && code != 0) {
            capture_->formKeyDown(code, KeyTranslator::shiftState(key->modifiers()));
        }
        return true;
    }
    default:
        return QWidget::event(event);
    }
}

void FrmKey::closeEvent(QCloseEvent* event) {
    if (capture_ != nullptr) {
        capture_->formClosed();
        capture_ = nullptr;
    }
    event->accept();
}

} // namespace zorlo
