#pragma once

#include "console/Console.hpp"
#include "platform/win32/StartMenu.hpp"
#include "platform/win32/StartMenuWatch.hpp"
#include "platform/win32/Win32EventPump.hpp"
#include "platform/win32/Win32FileSystem.hpp"
#include "platform/win32/Win32KeyboardState.hpp"
#include "platform/win32/Win32ProcessStarter.hpp"
#include "platform/win32/Win32Shell.hpp"
#include "platform/win32/Win32Sound.hpp"
#include "ui/win32/DropTarget.hpp"
#include "ui/win32/KeyCaptureWindow.hpp"
#include "ui/win32/MainWindow.hpp"
#include "ui/win32/Win32Dialogs.hpp"

#include <filesystem>
#include <memory>

namespace zorlo::win32 {

// OLE for this thread: drag and drop and the shell need it.
class OleSession {
  public:
    OleSession() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession() {
        if (ok_) {
            OleUninitialize();
        }
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

  private:
    bool ok_;
};

// The whole Windows console: the adapters, the windows and the engine wired
// together. zorlo.exe makes one; the front-end tests make one per test.
class Win32Console {
  public:
    // endsProgram: closing the console window ends the message loop.
    Win32Console(std::filesystem::path settingsFolder, bool endsProgram);
    ~Win32Console();
    Win32Console(const Win32Console&) = delete;
    Win32Console& operator=(const Win32Console&) = delete;

    // The window's load handling: the console's start-up sequence; then the
    // Start menu is read, off the window's thread.
    void start();
    // The message loop; returns the exit code once the window has closed.
    int run();

    Console& console() { return *console_; }
    MainWindow& mainWindow() { return main_; }
    IDropTarget& dropTarget() { return *dropTarget_; }
    HWND captureWindow() const { return capture_.handle(); }
    Win32Sound& sound() { return sound_; }

  private:
    OleSession ole_;
    Win32KeyboardState keyboard_;
    Win32Shell shell_;
    Win32ProcessStarter processes_;
    Win32FileSystem files_;
    Win32Sound sound_;
    Win32EventPump pump_;
    Win32Applications applications_;
    MainWindow main_;
    Win32Dialogs dialogs_;
    KeyCaptureWindow capture_;
    std::unique_ptr<Console> console_;
    DropTarget* dropTarget_ = nullptr;
    std::unique_ptr<StartMenuWatch> startMenu_;
};

} // namespace zorlo::win32
