#pragma once

#include "console/Console.hpp"
#include "ui/ActivityLog.hpp"
#include "ui/ApplicationsReader.hpp"
#include "ui/CaretBlink.hpp"
#include "ui/EngineEvents.hpp"
#include "ui/FrmKey.hpp"
#include "ui/FrmMain.hpp"
#include "ui/NativePorts.hpp"
#include "ui/QtCaptureWindow.hpp"
#include "ui/QtConsoleWindow.hpp"
#include "ui/QtDialogs.hpp"
#include "ui/QtEventPump.hpp"
#include "ui/QtSound.hpp"
#include "ui/QtStatusLabel.hpp"
#include "ui/QtTextArea.hpp"

namespace zorlo {

// The whole desktop console: the Qt windows and their adapters, the native
// ports, and the engine that they serve.
class QtFrontEnd {
  public:
    // log: where the windows say what they did; nowhere unless the program says.
    explicit QtFrontEnd(NativePorts ports, ActivityLog& log = ActivityLog::none());
    ~QtFrontEnd();
    QtFrontEnd(const QtFrontEnd&) = delete;
    QtFrontEnd& operator=(const QtFrontEnd&) = delete;

    enum class StartAs { Shown, Hidden };
    // The console window's load handling: the engine's start-up. Hidden: all
    // is loaded, but the window never appears and no bleep sounds until the
    // hotkey (or another start) shows it.
    void start(StartAs how = StartAs::Shown);
    // One hotkey press on behalf of another start of the program, with the
    // activation token that start handed over (empty: none), which a
    // console brought forward by the press uses.
    void togglePressed(const std::string& token = {});
    // The program ends where nobody can answer (a signal, the session's end,
    // the display gone): the windows' adapters stop touching widgets and the
    // display first, then the engine saves. Returns why the save failed, empty
    // when it saved or when the console had already unloaded.
    Text endSession();

    FrmMain& frmMain() { return frmMain_; }
    FrmKey& frmKey() { return frmKey_; }
    QtTextArea& textArea() { return textArea_; }
    Console& console() { return console_; }

  private:
    HotkeyService& hotkeys();
    void readApplicationsAfterFirstPaint(bool hidden);

    NativePorts ports_;
    FrmMain frmMain_;
    FrmKey frmKey_;
    QtTextArea textArea_;
    QtStatusLabel label_;
    QtConsoleWindow window_;
    QtDialogs dialogs_;
    QtEventPump pump_;
    QtSound sound_;
    QtCaptureWindow captureWindow_;
    Console console_;
    EngineEvents events_;
    CaretBlink caretBlink_;
    // Null where the ports offer no applications.
    std::unique_ptr<ApplicationsReader> applicationsReader_;
};

} // namespace zorlo
