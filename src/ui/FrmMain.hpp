#pragma once

#include "text/Text.hpp"
#include "ui/ActivityLog.hpp"

#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace zorlo {

class CliTextEdit;
class ConsoleEvents;
class KeyTranslator;

// The console window "frmMain" with its status line lblInfo, its text area
// txtCLI and the 50 ms timer theTimer. It forwards window events to the
// engine; where controls go and what they show is the engine's business.
// Where the desktop reports key changes, theTimer rests while its ticks would
// change nothing, so that the console asleep in the background costs nothing.
class FrmMain : public QWidget {
    Q_OBJECT

  public:
    explicit FrmMain(const KeyTranslator& keys, ActivityLog& log = ActivityLog::none());
    ~FrmMain() override;

    void setEvents(ConsoleEvents* events);
    // The window's load handling: theTimer starts and the engine's start-up runs.
    void load();
    // The window's unload handling, whether the user closes the window or the
    // program unloads it. False: the engine kept the console (its final save
    // failed and the user chose to stay), and everything runs on as before.
    bool unload();
    // The program ends where nobody can answer: the engine's shutdown without
    // boxes. Returns why the save failed, empty when it saved or when the
    // window had already unloaded.
    Text endSession();
    bool isUnloaded() const { return unloaded_; }
    // The outer frame as last seen while the display answered; reading the
    // frame afresh may ask the display, which may be gone by then.
    QRect knownFrame() const { return knownFrame_; }

    CliTextEdit& txtCLI() { return *txtCLI_; }
    QLabel& lblInfo() { return *lblInfo_; }
    QTimer& theTimer() { return theTimer_; }

    // Lets theTimer stop after a tick that the engine says changed nothing;
    // whoever allows it must call wakeTimer() whenever keys change on the desktop.
    void allowTimerRest() { timerMayRest_ = true; }
    // Starts theTimer again if it rests. The window's own events (activation,
    // state, showing, hiding) and every event handed to the engine do this
    // themselves.
    void wakeTimer();

    // An outer size set on the engine's behalf: it runs the resize handling
    // itself once the new size is in place, so the widget's own event is held
    // back. False when the size was already so. The frame that a window
    // manager puts around the window is often known only once the window is
    // on screen; until the user resizes the window, the client area follows
    // each newly known frame so that the outer size stays the one asked for.
    bool resizeOuterForEngine(QSize outer);

  signals:
    void unloaded();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QSize frameMargins() const { return frameGeometry().size() - size(); }
    void fitToFrame();

    ActivityLog& log_;
    CliTextEdit* txtCLI_;
    QLabel* lblInfo_;
    QTimer theTimer_;
    ConsoleEvents* events_ = nullptr;
    int heldResizes_ = 0;
    bool loaded_ = false;
    bool unloaded_ = false;
    // Set while the engine's shutdown runs: it may ask a question, and the
    // timer and a second close request must wait for the answer.
    bool unloading_ = false;
    QRect knownFrame_;
    // The outer size the engine asked for, the client size that gave it, and
    // the frame margins it was reckoned with; empty once the user resized.
    QSize engineOuter_;
    QSize engineClient_;
    QSize engineMargins_;
    bool timerMayRest_ = false;
    bool inTick_ = false;
    bool wokenInTick_ = false;
};

} // namespace zorlo
