#pragma once

#include "cmdline/History.hpp"
#include "console/AppIndex.hpp"
#include "interpreter/ArgList.hpp"
#include "platform/ConsoleEvents.hpp"
#include "platform/Desktop.hpp"
#include "platform/DroppedData.hpp"
#include "platform/HotkeyCapture.hpp"
#include "store/BinList.hpp"
#include "store/StatusSink.hpp"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace zorlo {

class ListPreload; // console/SettingsRead.hpp: only the start and the load need it

// The caption's text: "Zorlo Console v" and the program's version.
Text consoleCaption();

// What tests and tools may read of the console's state, copied at one moment.
struct ConsoleSnapshot {
    Text cmdLine;
    bool hidden = false;
    int shown = 0;
    bool maximized = false;
    bool xTimers = false;
    bool lockKey = false;
    bool exitRequested = false;
    bool oleDrop = false;
    std::size_t historyCount = 0; // entries in the history list; 0 after shutdown
};

// The console window's whole behaviour ("frmMain"), free of any toolkit. It has
// two doors: the window events come in through ConsoleEvents, which every front
// end, the fakes and zorlo-script hold; the console talks back only through the
// desktop ports.
class Console : public ConsoleEvents, private StatusSink, private MessageSink {
  public:
    explicit Console(Desktop desktop);
    ~Console() override;
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // ---- The events door ----
    void formLoad() override; // the window was created: the start-up sequence
    // The window is asked to close: the shutdown sequence (runs once). When the
    // final save fails, the user is asked whether to close anyway; false means
    // the console stays as it was and the window must not close.
    bool formUnload() override;
    // The program ends where nobody can answer a box (a signal, the session's
    // end, the display gone): the shutdown sequence without boxes and without
    // yielding to events. Returns why the save failed, empty when it saved (or
    // when the shutdown had already run).
    Text endSession() override;
    void formResize() override; // the window's size changed
    void textChange() override { txtCLI_Change(); }
    void textKeyDown(int& keyCode, int shift) override { txtCLI_KeyDown(keyCode, shift); }
    void textKeyUp(int keyCode, int shift) override { txtCLI_KeyUp(keyCode, shift); }
    void textMouseUp(int button, int shift) override { txtCLI_MouseUp(button, shift); }
    void textDrop(const DroppedData& data, int shift) override { txtCLI_OLEDragDrop(data, shift); }
    void timerTick() override { theTimer_Timer(); }
    bool timerMayRest() const override { return theTimerMayRest(); }
    // Another start of the program asks for the console: one acted-on hotkey press.
    void togglePressed() override;
    void hotkeyBound(const Text& trigger) override;
    void hideAfterStart() override;
    // The desktop's applications: offered after the macros and the history.
    void applicationsRead(std::vector<Application> apps) override;

    // Holds `busy` at a value for a scope and puts the old value back when the
    // scope ends, by return or by throw, so that the program's own writes to
    // the pane and the user's stay told apart on every path. keep() leaves the
    // value held for good (a console that is closing); end() puts the old
    // value back before the scope ends.
    class BusyGuard {
      public:
        explicit BusyGuard(Console& console, bool value = true)
            : busy_(console.busy), was_(console.busy) {
            busy_ = value;
        }
        ~BusyGuard() { end(); }
        BusyGuard(const BusyGuard&) = delete;
        BusyGuard& operator=(const BusyGuard&) = delete;
        void keep() { kept_ = true; }
        void end() {
            if (!kept_) {
                busy_ = was_;
                kept_ = true;
            }
        }

      private:
        bool& busy_;
        bool was_;
        bool kept_ = false;
    };

    // ---- What tests and tools may read ----
    ConsoleSnapshot snapshot() const;
    // The macros in place: a copy of a large list would cost more than what reads it.
    const BinList& macroList() const { return macros; }

    // ---- Operations that the benchmarks and the Windows front-end tests drive ----
    void writeOutput(const Text& text);
    const Text& getPrompt() const { return prompt; }
    void appendText(const Text& text);
    void hideWindow();
    void loadSettings();
    // The macro list, already being read (the program began it before the
    // window): the first load takes it from there.
    void preloadList(std::unique_ptr<ListPreload> preload);
    void saveSettings() { (void)saveAll(); }

  private:
    // ---- Operations shared across the console ----
    void Stat(const Text& message = {});
    void stat(const Text& message) override { Stat(message); }
    void activateWindow();
    void toggleShown() { shown = shown == 1 ? 0 : 1; }

    void runCommand();
    long execute(const Text& label, const Text& target, const Text& argText);
    // Starts an installed application with the line's arguments.
    long launchApplication(const Application& app);
    // Reports a launch's result code in the status: the success text, or the
    // failure with the target and the shell's reason. Returns the code on
    // success, else 0.
    long reportLaunch(const Text& label, const Text& target, long result);
    void shellErrorText();
    void showHelp();

    void addMacro(Text name, const Text& value);
    void renameMacro(const Text& oldName, const Text& newName);
    void deleteMacro(const Text& name);
    void listMacros(const Text& pattern);
    void listApps(const Text& pattern);
    bool findMacros(const Text& pattern, bool show);
    void offerMacro(const Text& text);
    void addFileMacro(const Text& path, const Text& name);

    // History.Save, keeping a history file that a failed load left unread.
    void saveHistory();
    void setDefaults();
    void setParam(const Text& name);
    void listParams(const Text& pattern);
    void getHotkey();
    void openShell(const Text& name);

    void applyGeometry();
    void storeGeometry();
    void maxWindow();
    void minWindow();

    // ---- Event procedures of the text area and the timer, behind the door ----
    void txtCLI_Change();
    // May cancel the key by setting keyCode to 0.
    void txtCLI_KeyDown(int& keyCode, int shift);
    void txtCLI_KeyUp(int keyCode, int shift);
    void txtCLI_MouseUp(int button, int shift);
    void txtCLI_OLEDragDrop(const DroppedData& data, int shift);
    void theTimer_Timer(); // every 50 ms
    // Whether the timer may rest after its last tick: that tick changed
    // nothing, and later ones will change nothing until a key on the desktop
    // goes down or up, the window gains or loses the front, or another event
    // reaches the console. A front end that learns of all three may stop the
    // timer until then instead of waking the program 20 times a second.
    bool theTimerMayRest() const { return timerMayRest_; }

    // The store's boxes go to the desktop's.
    void messageBox(const Text& text, const Text& title) override {
        d_.dialogs.messageBox(text, title);
    }
    // Which file a save failed on, and why.
    struct SaveFailure {
        Text file;
        Text reason;
    };
    // The save: settings, parameters and history, its result in the status.
    std::optional<SaveFailure> saveAll();
    // What the shutdown sequence does after the save.
    void releaseAll();
    void completionStep();
    void readCommandLine(int n, TextArea::Unchanged same);
    // The completion's next offer once the macros and the history are done:
    // the applications beginning with `word`, then the history's rest.
    // False when nothing is offered.
    bool offerNextApp(TextView word, const Text& prefix);
    // Any key but the completion's own ends the cycle.
    void endCompletion();
    void pollHotkey();
    // With active "0" the hotkey does nothing while another window is in
    // front of the console that the program has not hidden.
    bool hotkeyOffBehindOthers();
    // What one counted press of the hotkey does: toggle, then show or hide.
    void actOnPress();
    void placeCaretAtEnd();
    // After messages written while a line was half typed (busy held, so that
    // their line breaks ran nothing): a fresh prompt and the line as it was,
    // caret at its end.
    void giveBackLine(const Text& halfTyped);
    // Runs write, which writes output between two commands (a drop, word from
    // the desktop): a half-typed line is held back, so that the output's line
    // breaks do not run it, and given back after a fresh prompt.
    void writeAside(const std::function<void()>& write);
    // Where the desktop binds the hotkey, asks it to bind the `key` and
    // `modifier` parameters and says so in one output line; where only a key
    // bound in the desktop's settings works, says that. Where the poll works,
    // writes the new hotkey's name only after a capture (afterCapture).
    void announceHotkey(bool afterCapture);
    void runLaunchPath();
    // The drop itself: the macros it adds and their reports.
    void dropData(const DroppedData& data, int shift);
    void reportFailure(const Text& description);
    bool refuseUnstorable(const Text& name, const Text& value, bool storedAsIs,
                          bool storedLowercase = true);
    // Adds a word to the history and saves it; a failed save is reported once
    // per dispatched line and never cancels the launch.
    void noteHistory(const Text& word, bool& reported);
    Text param(TextView name);
    // Replaces a settings file with bytes. The file on disk is first kept
    // beside it when it was not read (pending) or when it changed since this
    // console last read or wrote it (seen: a hash of those bytes, none for an
    // absent file; null where edits are not looked for). Throws Failure.
    void saveFile(const std::filesystem::path& file, const std::string& bytes, bool& pending,
                  std::optional<std::size_t>* seen);
    // Copies bytes to the first free name of file.bad, file.bad.1, ...
    void keepFile(const std::filesystem::path& file, const std::string& bytes);
    std::filesystem::path settingsFile(TextView name) const;

    // ---- The console state record ----
    // Hotkey polling.
    bool xTimers = false; // the tick polls the hotkey (off until start-up, and while capturing)
    bool lockKey = false; // the latch: the combination is down and was acted on
    HotkeyCapture frmKey;
    // The trigger the output last named for a desktop's binding, so that the
    // desktop's answer is written only when it differs.
    Text announcedTrigger_;

    // The command line and the command being run.
    Text cmdLine; // the text after the pane's last prompt
    // Where cmdLine started in the text when the change handling last read it
    // there; -1 when cmdLine was set otherwise since, and is to be read whole.
    int lineRead_ = -1;
    ArgList args;      // the words of the line being dispatched
    Text pendingLine;  // what the next change handling puts after the prompt
    bool busy = false; // the program is writing the pane itself: change and key-up handling rest
    bool exitRequested = false;

    // Recall of the lines entered in this run, and word completion.
    std::vector<Text> recall{Text()}; // position 0 unused
    int recallCount = 0;
    int recallPos = 0;
    int complIndex = 0; // the macro offered last; 0 outside a completion cycle
    Text complWord;     // the word as typed when the cycle began
    // After the history: the applications in name order, then the history's
    // own resting place.
    enum class ComplStage { History, Apps, Rest };
    ComplStage complStage = ComplStage::History;
    Text complHistory;        // the history entry offered last in this cycle
    std::size_t complApp = 0; // the application offered last (position from 1)

    // The window. `hidden` and `shown` are not opposites. `hidden`: the console
    // hid itself (autohide after a launch, the shell command, the hotkey) and
    // the next press that shows it clears it; the user minimising or covering
    // the window never sets it, and with it the hotkey works even where
    // "active" is 0. `shown`: the hotkey's toggle, 1 after activateWindow, 0
    // after hideWindow, flipped by each acted-on press before the press
    // decides; a press on a console covered by other windows turns it to 0
    // while bringing the console to the front.
    bool hidden = false;
    int shown = 0;
    bool maximized = false; // enlarged by the max command

    // Output.
    Text prompt;          // ">" from start-up on
    bool oleDrop = false; // a drop is being handled: output carries an "OLE Drop" line
    Text helpText;
    std::array<Text, 51> shellErrors;

    // The stores.
    std::unique_ptr<History> history;
    BinList params;
    BinList macros;
    AppIndex apps_; // the desktop's installed applications

    Desktop d_;
    // Idle until a close or the end of the session; Asking while a close waits
    // for the answer to a failed save's question (a nested event loop, in which
    // a second close must not close and a session's end must still save); Done
    // once the shutdown has run, never to run again.
    enum class Shutdown { Idle, Asking, Done };
    Shutdown shutdown_ = Shutdown::Idle;
    // Set while the program ends where nobody can answer: no yield to events.
    bool ending_ = false;
    bool timerMayRest_ = false;
    // Set when a settings file existed but was not loaded: the first save then
    // keeps its old content beside the new file instead of silently replacing it.
    bool keepListPending_ = false;
    bool keepParamPending_ = false;
    bool keepHistoryPending_ = false;
    std::optional<std::size_t> listSeen_;
    std::optional<std::size_t> paramSeen_;
    // Until the first load takes it.
    std::unique_ptr<ListPreload> listPreload_;
};

} // namespace zorlo
