#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
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
// The same folder or file: letters in any case, no closing backslash but a root's.
bool samePath(std::wstring a, std::wstring b);
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

} // namespace zorlo::win32::testing
