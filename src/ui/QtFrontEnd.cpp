#include "ui/QtFrontEnd.hpp"

#include "ui/CliTextEdit.hpp"

namespace zorlo {

QtFrontEnd::QtFrontEnd(NativePorts ports, ActivityLog& log)
    : ports_(std::move(ports)), frmMain_(*ports_.keys, log),
      frmKey_(*ports_.foreground, *ports_.keys), textArea_(frmMain_.txtCLI()),
      label_(frmMain_.lblInfo()), window_(frmMain_, *ports_.foreground), dialogs_(frmMain_),
      sound_(ports_.bleepFallbacks, log,
             [modules = ports_.soundModules] { return loadSoundModule(modules); }),
      captureWindow_(frmKey_),
      console_(Desktop{textArea_, label_, window_, dialogs_, pump_, *ports_.shell,
                       *ports_.processes, *ports_.files, *ports_.keyboard, sound_, captureWindow_,
                       hotkeys(), *ports_.applications, ports_.settingsFolder}),
      events_(console_, [this] { frmMain_.wakeTimer(); }) {
    if (ports_.keyWatch) {
        ports_.keyWatch->setListener([this] { frmMain_.wakeTimer(); });
        // Connected after the window's own handler: runs once the tick has polled.
        QObject::connect(&frmMain_.theTimer(), &QTimer::timeout, &frmMain_,
                         [this] { ports_.keyWatch->ticked(); });
        frmMain_.allowTimerRest();
    }
    // The bleep's player loads only once the window is on screen.
    QObject::connect(&frmMain_.txtCLI(), &CliTextEdit::firstPainted, &frmMain_,
                     [this] { sound_.windowOnScreen(); });
    frmMain_.setEvents(&events_);
    textArea_.setEvents(&events_);
    window_.setEvents(&events_);
    hotkeys().setEvents(&events_);
    // Word from the desktop after the unload must not reach the engine.
    QObject::connect(&frmMain_, &FrmMain::unloaded, &frmMain_,
                     [this] { hotkeys().setEvents(nullptr); });
    if (ports_.applicationsSource) {
        applicationsReader_ = std::make_unique<ApplicationsReader>(
            *ports_.applicationsSource, [this](std::vector<Application> apps) {
                if (!frmMain_.isUnloaded()) {
                    events_.applicationsRead(std::move(apps));
                }
            });
    }
}

HotkeyService& QtFrontEnd::hotkeys() {
    return ports_.hotkeys ? *ports_.hotkeys : HotkeyService::polled();
}

QtFrontEnd::~QtFrontEnd() {
    if (ports_.keyWatch) {
        ports_.keyWatch->setListener({});
    }
    // Widgets outlive the engine by a moment here; they must not call into it.
    hotkeys().setEvents(nullptr);
    frmMain_.setEvents(nullptr);
    textArea_.setEvents(nullptr);
    window_.setEvents(nullptr);
}

void QtFrontEnd::start(StartAs how) {
    const bool hidden = how == StartAs::Hidden;
    window_.holdBack(hidden);
    sound_.holdBack(hidden);
    frmMain_.load();
    window_.holdBack(false);
    sound_.holdBack(false);
    if (hidden && !frmMain_.isUnloaded()) {
        console_.hideAfterStart();
    }
    readApplicationsAfterFirstPaint(hidden);
}

// The window comes first: the applications are read once the first prompt is
// on the screen, or at once where no window shows.
void QtFrontEnd::readApplicationsAfterFirstPaint(bool hidden) {
    if (!applicationsReader_ || frmMain_.isUnloaded()) {
        return;
    }
    ApplicationsReader* reader = applicationsReader_.get();
    if (hidden || frmMain_.txtCLI().hasPainted()) {
        QTimer::singleShot(0, reader, [reader] { reader->start(); });
        return;
    }
    QObject::connect(
        &frmMain_.txtCLI(), &CliTextEdit::firstPainted, reader, [reader] { reader->start(); },
        Qt::QueuedConnection);
}

Text QtFrontEnd::endSession() {
    textArea_.detach();
    label_.detach();
    window_.detach();
    dialogs_.detach();
    return frmMain_.endSession();
}

void QtFrontEnd::togglePressed(const std::string& token) {
    if (frmMain_.isUnloaded()) {
        return;
    }
    ports_.foreground->offerToken(token);
    events_.togglePressed();
    // A token is good for one activation; a press that hid the console or
    // was ignored leaves nothing for a later one.
    ports_.foreground->offerToken({});
}

} // namespace zorlo
