#include "ui/FrmMain.hpp"

#include "platform/ConsoleEvents.hpp"
#include "ui/CliTextEdit.hpp"
#include "ui/TestLog.hpp"
#include "ui/Twips.hpp"

#include <QCloseEvent>

namespace zorlo {

namespace {
constexpr int kTimerMs = 50;
} // namespace

FrmMain::FrmMain(const KeyTranslator& keys)
    : txtCLI_(new CliTextEdit(keys, this)), lblInfo_(new QLabel(QStringLiteral("Label1"), this)) {
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
        if (events_ == nullptr || unloaded_) {
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
            testLog(QStringLiteral("timer rests"));
        }
    });
}

void FrmMain::wakeTimer() {
    if (inTick_) {
        wokenInTick_ = true;
    } else if (loaded_ && !unloaded_ && !theTimer_.isActive()) {
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

void FrmMain::unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    theTimer_.stop();
    if (events_ != nullptr) {
        events_->formUnload();
    }
    // No engine event may arrive after the shutdown sequence.
    setEvents(nullptr);
    hide();
    testLog(QStringLiteral("unloaded"));
    emit unloaded();
}

void FrmMain::resizeForEngine(int width, int height) {
    ++heldResizes_;
    resize(width, height);
    --heldResizes_;
}

void FrmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (heldResizes_ == 0 && events_ != nullptr && event->size() != event->oldSize()) {
        events_->formResize();
    }
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
    // The close request is never refused.
    event->accept();
    unload();
}

void FrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    wakeTimer();
    if (!event->spontaneous()) {
        testLog(QStringLiteral("shown"));
    }
}

void FrmMain::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    wakeTimer();
    if (!event->spontaneous()) {
        testLog(QStringLiteral("hidden"));
    }
}

} // namespace zorlo
