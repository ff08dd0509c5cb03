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
    // The label is one line high; a two-line status (a failed launch and its
    // reason) keeps its first line whole instead of losing the top of both.
    lblInfo_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
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

bool FrmMain::resizeOuterForEngine(QSize outer) {
    engineMargins_ = frameMargins();
    engineOuter_ = outer;
    const QSize client = (outer - engineMargins_).expandedTo({0, 0});
    engineClient_ = client;
    if (client == size()) {
        return false;
    }
    ++heldResizes_;
    resize(client);
    --heldResizes_;
    // The window system may not give the size asked for at once.
    engineClient_ = size();
    return true;
}

void FrmMain::fitToFrame() {
    knownFrame_ = frameGeometry();
    if (engineOuter_.isEmpty()) {
        return;
    }
    if (size() != engineClient_) {
        engineOuter_ = {}; // resized by the user or the window manager: theirs now
        return;
    }
    const QSize margins = frameMargins();
    if (margins == engineMargins_) {
        return;
    }
    // A frame came (or changed): the stored size is the outer one, so the
    // client area gives way to it. This resize is an ordinary one for the engine.
    engineMargins_ = margins;
    engineClient_ = (engineOuter_ - margins).expandedTo({0, 0});
    resize(engineClient_);
}

void FrmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (heldResizes_ == 0) {
        fitToFrame();
    } else {
        knownFrame_ = frameGeometry();
    }
    if (heldResizes_ == 0 && events_ != nullptr && event->size() != event->oldSize()) {
        events_->formResize();
    }
}

void FrmMain::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    fitToFrame();
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
    fitToFrame();
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
