#pragma once

#include "activation/HotkeyCapture.hpp"
#include "cmdline/History.hpp"
#include "interpreter/ArgList.hpp"
#include "platform/Desktop.hpp"
#include "platform/DroppedData.hpp"
#include "store/BinList.hpp"
#include "store/StatusSink.hpp"

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace zorlo {

// The caption's text: "Zorlo Console v" and the program's version.
Text consoleCaption();

// The console window's whole behaviour ("frmMain"), free of any toolkit: the
// front end forwards its window events to the event procedures below, and the
// engine talks back only through the desktop ports.
class Console : public StatusSink {
  public:
    explicit Console(Desktop desktop);
    ~Console() override;
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // ---- Event procedures, called by the front end ----
    void formLoad(); // the window was created: the start-up sequence
    // The window is asked to close: the shutdown sequence (runs once). When the
    // final save fails, the user is asked whether to close anyway; false means
    // the console stays as it was and the window must not close.
    bool formUnload();
    // The program ends where nobody can answer a box (a signal, the session's
    // end, the display gone): the shutdown sequence without boxes and without
    // yielding to events. Returns why the save failed, empty when it saved (or
    // when the shutdown had already run).
    Text endSession();
    void formResize(); // the window's size changed
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
    // Another start of the program asks for the console: one acted-on hotkey press.
    void togglePressed();
    // Right after formLoad, for a start that must not pop up (the one at
    // login): the console is hidden as the hotkey hides it, so the next press
    // shows it, whatever `active` says.
    void hideAfterStart();

    // ---- Operations shared across the console ----
    void writeOutput(const Text& text);
    void Stat(const Text& message = {});
    void stat(const Text& message) override { Stat(message); }
    const Text& getPrompt() const { return prompt; }
    void appendText(const Text& text);
    void hideWindow();
    void activateWindow();
    void toggleShown() { shown = shown == 1 ? 0 : 1; }

    void runCommand();
    long execute(const Text& label, const Text& target, const Text& argText);
    void shellErrorText();
    void showHelp();

    void addMacro(Text name, const Text& value);
    void renameMacro(const Text& oldName, const Text& newName);
    void deleteMacro(const Text& name);
    void listMacros(const Text& pattern);
    bool findMacros(const Text& pattern, bool show);
    void offerMacro(const Text& text);
    void addFileMacro(const Text& path, const Text& name);

    void loadSettings();
    void saveSettings() { (void)saveAll(); }
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

    // ---- The console state record ----
    bool xTimers = false;
    bool lockKey = false;
    Text cmdLine;
    ArgList args;
    bool exitRequested = false;
    bool hidden = false;
    int shown = 0;
    std::vector<Text> recall{Text()}; // position 0 unused
    int recallCount = 0;
    int recallPos = 0;
    Text pendingLine;
    bool busy = false;
    int complIndex = 0;
    Text complWord;
    bool maximized = false;
    std::array<Text, 51> shellErrors;
    Text prompt;
    Text helpText;
    bool oleDrop = false;
    std::unique_ptr<History> history;
    BinList params;
    BinList macros;
    HotkeyCapture frmKey;

  private:
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
    void keepUnreadFile(bool& pending, const std::filesystem::path& file);
    std::filesystem::path settingsFile(TextView name) const;

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
};

} // namespace zorlo
