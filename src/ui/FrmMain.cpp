#include "ui/FrmMain.hpp"

#include "platform/ConsoleEvents.hpp"
#include "ui/CliTextEdit.hpp"
#include "ui/Twips.hpp"

#include <QCloseEvent>

namespace zorlo {

namespace {
constexpr int kTimerMs = 50;
} // namespace

FrmMain::FrmMain(const KeyTranslator& keys, ActivityLog& log)
    : log_(log), txtCLI_(new CliTextEdit(keys, this, log)),
      lblInfo_(new QLabel(QStringLiteral("Label1"), this)) {
    setObjectName(QStringLiteral("frmMain"));
    lblInfo_->setObjectName(QStringLiteral("lblInfo"));
    theTimer_.setObjectName(QStringLiteral("theTimer"));
    // The design's client area and control places, in twips.
    resize(toPixels(kDesignClientWidth), toPixels(kDesignClientHeight));
    lblInfo_->setGeometry(toPixels(kDesignLabel));
    txtCLI_->setGeometry(toPixels(kDesignTextArea));
    setFocusProxy(txtCLI_);
    theTimer_.setInterval(kTimerMs);
    connect(&theTimer_, &QTimer::timeout, this, [this] {
        if (events_ == nullptr || unloaded_ || unloading_) {
            return;
        }
        inTick_ = true;
        wokenInTick_ = false;
        events_->timerTick();
        inTick_ = false;
        // Something that happened during the tick may not be in what it saw.
        if (timerMayRest_ && !wokenInTick_ && !unloaded_ && events_ != nullptr &&
            events_->timerMayRest()) {
            theTimer_.stop();
            log_.note("timer rests");
        }
    });
}

void FrmMain::wakeTimer() {
    if (inTick_) {
        wokenInTick_ = true;
    } else if (loaded_ && !unloaded_ && !unloading_ && !theTimer_.isActive()) {
        theTimer_.start();
    }
}

FrmMain::~FrmMain() = default;

void FrmMain::setEvents(ConsoleEvents* events) {
    events_ = events;
    txtCLI_->setEvents(events);
}

void FrmMain::load() {
    loaded_ = true;
    theTimer_.start();
    if (events_ != nullptr) {
        events_->formLoad();
    }
}

bool FrmMain::unload() {
    if (unloaded_) {
        return true;
    }
    if (unloading_) {
        return false; // the close under way decides
    }
    unloading_ = true;
    theTimer_.stop();
    const bool closes = events_ == nullptr || events_->formUnload();
    unloading_ = false;
    if (!closes) {
        theTimer_.start();
        return false;
    }
    unloaded_ = true;
    // No engine event may arrive after the shutdown sequence.
    setEvents(nullptr);
    hide();
    log_.note("unloaded");
    emit unloaded();
    return true;
}

Text FrmMain::endSession() {
    if (unloaded_ || events_ == nullptr) {
        return {};
    }
    unloaded_ = true;
    theTimer_.stop();
    const Text failure = events_->endSession();
    setEvents(nullptr);
    return failure;
}

void FrmMain::resizeForEngine(int width, int height) {
    ++heldResizes_;
    resize(width, height);
    --heldResizes_;
}

void FrmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    knownFrame_ = frameGeometry();
    if (heldResizes_ == 0 && events_ != nullptr && event->size() != event->oldSize()) {
        events_->formResize();
    }
}

void FrmMain::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    knownFrame_ = frameGeometry();
}

void FrmMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Gaining or losing the front changes what the hotkey does.
    if (event->type() == QEvent::ActivationChange || event->type() == QEvent::WindowStateChange) {
        wakeTimer();
    }
    // Coming back from minimised lays the controls out again, size change or not.
    if (event->type() == QEvent::WindowStateChange && events_ != nullptr) {
        events_->formResize();
    }
}

void FrmMain::closeEvent(QCloseEvent* event) {
    // Refused only when the final save failed and the user keeps the console.
    if (unload()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void FrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window manager's frame is known once the window is on screen.
    knownFrame_ = frameGeometry();
    wakeTimer();
    if (!event->spontaneous()) {
        log_.note("shown");
    }
}

void FrmMain::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    wakeTimer();
    if (!event->spontaneous()) {
        log_.note("hidden");
    }
}

} // namespace zorlo
