#pragma once

#include "ui/win32/Win32Console.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zorlo::win32::testing {

// A fresh folder under %TEMP%, removed with everything in it afterwards.
class TempFolder {
  public:
    TempFolder();
    // A fresh folder in another, the user's Start menu say.
    explicit TempFolder(const std::filesystem::path& parent);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::wstring operator/(std::wstring_view name) const { return (path_ / name).wstring(); }

  private:
    std::filesystem::path path_;
};

// The folder of the test program, where zorlo.exe and marker.exe are built.
std::filesystem::path programFolder();

// The text of a window, asked of the window itself: another process's
// controls answer too.
std::wstring windowText(HWND window);
// A shell shortcut to the target, saved as the shell saves one.
void makeShortcut(const std::filesystem::path& shortcut, const std::filesystem::path& target);

// Lets this thread's messages run until the condition holds or the time is up.
bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// Keys as the keyboard delivers them to a window: down, the character, up.
void typeText(HWND window, std::wstring_view text);
void pressKey(HWND window, UINT virtualKey);

// Runs the action once, from a timer of this thread, as soon as a visible
// window of this thread matches. Modal boxes run their own message loop, which
// also runs the timer, so the action can answer a box that blocks the test.
class WindowWatch {
  public:
    WindowWatch(std::function<bool(HWND)> match, std::function<void(HWND)> action);
    ~WindowWatch();
    WindowWatch(const WindowWatch&) = delete;
    bool fired() const { return fired_; }

  private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD);
    std::function<bool(HWND)> match_;
    std::function<void(HWND)> action_;
    UINT_PTR timer_ = 0;
    bool fired_ = false;
};

// Matchers for WindowWatch: a window of the class with the title; a dialog box
// (message box or name box) that shows the text; the console's name box.
std::function<bool(HWND)> windowTitled(std::wstring className, std::wstring title);
std::function<bool(HWND)> dialogShowing(std::wstring text);
std::function<bool(HWND)> nameBox();
// The texts of a window's STATIC children, each followed by a line break.
std::wstring staticTexts(HWND window);

// A real console window with the real adapters, started in a fresh settings
// folder and driven through its controls' window messages.
class ConsoleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app_ = std::make_unique<Win32Console>(folder_.path(), false);
        ASSERT_TRUE(app_->mainWindow().isOpen());
        app_->start();
    }

    HWND window() { return app_->mainWindow().handle(); }
    HWND edit() { return app_->mainWindow().textArea().handle(); }
    std::wstring pane() { return windowText(edit()); }
    bool paneHas(std::wstring_view text) { return pane().find(text) != std::wstring::npos; }
    // What stands after the last prompt.
    std::wstring commandLine() { return pane().substr(pane().rfind(L'>') + 1); }
    void enter(std::wstring_view line) {
        typeText(edit(), line);
        pressKey(edit(), VK_RETURN);
    }
    // The caret and the end of the selection of the text area.
    std::pair<DWORD, DWORD> selection() {
        DWORD start = 0, end = 0;
        SendMessageW(edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    std::pair<DWORD, DWORD> atEnd() {
        const auto end = static_cast<DWORD>(pane().size());
        return {end, end};
    }

    TempFolder folder_;
    std::unique_ptr<Win32Console> app_;
};

} // namespace zorlo::win32::testing
