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
                       ports_.settingsFolder}),
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
}

QtFrontEnd::~QtFrontEnd() {
    if (ports_.keyWatch) {
        ports_.keyWatch->setListener({});
    }
    // Widgets outlive the engine by a moment here; they must not call into it.
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
}

Text QtFrontEnd::endSession() {
    textArea_.detach();
    label_.detach();
    window_.detach();
    dialogs_.detach();
    return frmMain_.endSession();
}

void QtFrontEnd::togglePressed() {
    if (!frmMain_.isUnloaded()) {
        events_.togglePressed();
    }
}

} // namespace zorlo
