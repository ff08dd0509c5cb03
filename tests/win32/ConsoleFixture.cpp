#include "ConsoleFixture.hpp"

namespace zorlo::win32::testing {

void ConsoleTest::SetUp() {
    app_ = std::make_unique<Win32Console>(folder_.path(), false);
    ASSERT_TRUE(app_->mainWindow().isOpen());
    app_->start();
}

void ConsoleTest::TearDown() {
    app_.reset();
}

std::wstring ConsoleTest::commandLine() {
    const std::wstring text = pane();
    const auto prompt = text.rfind(L'>');
    return prompt == std::wstring::npos ? text : text.substr(prompt + 1);
}

void ConsoleTest::enter(std::wstring_view line) {
    typeText(edit(), line);
    pressKey(edit(), VK_RETURN);
}

std::pair<DWORD, DWORD> ConsoleTest::selection() {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

} // namespace zorlo::win32::testing
