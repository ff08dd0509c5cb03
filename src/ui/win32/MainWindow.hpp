#pragma once

#include "platform/ConsoleWindow.hpp"
#include "platform/win32/StartMenuWatch.hpp"
#include "ui/win32/OwnedWindow.hpp"
#include "ui/win32/Win32StatusLabel.hpp"
#include "ui/win32/Win32TextArea.hpp"

#include <windows.h>

#include <ole2.h>

namespace zorlo {
class ConsoleEvents;
}

namespace zorlo::win32 {

// frmMain: the console window with its status label and text area, a 50 ms
// timer, and the toggle message of a second start. Window events go to the
// console's event procedures.
class MainWindow : public ConsoleWindow {
  public:
    static constexpr const wchar_t* kClassName = L"ZorloConsoleWindow";
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kTimerMs = 50;
    // Posted by the Start-menu watch when it has read a new list.
    static constexpr UINT kApplicationsMessage = WM_APP + 1;

    // endsProgram: whether closing the window ends the message loop (the
    // program), and the session's end the process; tests keep both for the
    // next console.
    explicit MainWindow(bool endsProgram);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Starts the event flow into the console (and the timer).
    void attach(ConsoleEvents* console);
    // Drops on the text area go to the target until the window is destroyed.
    bool registerDropTarget(IDropTarget* target);
    // The lists the watch reads go to the console (none once it is null).
    void watchApplications(StartMenuWatch* watch) { applications_ = watch; }
    HWND handle() const { return window_; }
    Win32TextArea& textArea() { return textArea_; }
    Win32StatusLabel& label() { return label_; }
    bool isOpen() const { return window_ != nullptr; }

    void setCaption(const Text& caption) override;
    void show() override;
    void hide() override;
    bool isVisible() const override;
    bool isMinimized() const override;
    bool isForeground() const override;
    void bringToFront() override;
    void setForeground() override;
    void leaveTopmost() override;

    int left() const override;
    int top() const override;
    int width() const override;
    int height() const override;
    void setLeft(int twips) override;
    void setTop(int twips) override;
    void setWidth(int twips) override;
    void setHeight(int twips) override;

    int screenWidth() const override;
    int screenHeight() const override;

    Rect textAreaRect() const override;
    void setTextAreaRect(const Rect& rect) override;
    Rect labelRect() const override;
    void setLabelRect(const Rect& rect) override;

    void unload() override;

  private:
    friend LRESULT CALLBACK ownedWindowProc<MainWindow>(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    // Closing asked by the user or by `exit`: the shutdown sequence, which
    // may keep the console open when its save failed.
    void close();
    // The session ends (log off, shut down): the shutdown sequence without
    // boxes, then the program ends, 1 when the save failed.
    void endSession();
    void endProgram(UINT exitCode);
    RECT frame() const;
    void moveFrame(int x, int y, int w, int h, UINT flags);
    Rect childRect(HWND child) const;
    void setChildRect(HWND child, const Rect& rect);

    HWND window_ = nullptr;
    Win32TextArea textArea_;
    Win32StatusLabel label_;
    ConsoleEvents* console_ = nullptr;
    StartMenuWatch* applications_ = nullptr;
    HBRUSH background_ = nullptr;
    bool endsProgram_;
    bool closing_ = false;
    bool dropRegistered_ = false;
};

} // namespace zorlo::win32
