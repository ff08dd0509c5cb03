#pragma once

#include "TestSupport.hpp"
#include "ui/win32/Win32Console.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace zorlo::win32::testing {

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
    std::wstring status() { return windowText(app_->mainWindow().label().handle()); }
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
