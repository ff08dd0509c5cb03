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
    void SetUp() override;
    void TearDown() override;

    HWND window() { return app_->mainWindow().handle(); }
    HWND edit() { return app_->mainWindow().textArea().handle(); }
    std::wstring pane() { return windowText(edit()); }
    std::wstring status() { return windowText(app_->mainWindow().label().handle()); }
    // What stands after the last prompt.
    std::wstring commandLine();
    // Types the line and presses Enter.
    void enter(std::wstring_view line);
    // The caret and the end of the selection of the text area.
    std::pair<DWORD, DWORD> selection();

    TempFolder folder_;
    std::unique_ptr<Win32Console> app_;
};

} // namespace zorlo::win32::testing
