#pragma once

#include "platform/Desktop.hpp"
#include "platform/fake/FakeApplications.hpp"
#include "platform/fake/FakeCaptureWindow.hpp"
#include "platform/fake/FakeConsoleWindow.hpp"
#include "platform/fake/FakeDialogs.hpp"
#include "platform/fake/FakeEvent.hpp"
#include "platform/fake/FakeEventPump.hpp"
#include "platform/fake/FakeFileSystem.hpp"
#include "platform/fake/FakeKeyboardState.hpp"
#include "platform/fake/FakeProcessStarter.hpp"
#include "platform/fake/FakeShell.hpp"
#include "platform/fake/FakeSound.hpp"
#include "platform/fake/FakeStatusLabel.hpp"
#include "platform/fake/FakeTextArea.hpp"

namespace zorlo {

class ConsoleEvents;

// Every fake port in one place, sharing one event log. Create the console with
// desktop(), then attach() it so that the text area and the window can call
// its event procedures back.
class FakeDesktop {
  public:
    explicit FakeDesktop(std::filesystem::path settingsFolder)
        : settingsFolder_(std::move(settingsFolder)) {}
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;

    Desktop desktop();
    void attach(ConsoleEvents* console);

    FakeEventLog log;
    FakeTextArea textArea;
    FakeStatusLabel label;
    FakeConsoleWindow window{log};
    FakeDialogs dialogs{log};
    FakeCaptureWindow captureWindow{log};
    FakeEventPump pump{captureWindow};
    FakeShell shell{log};
    FakeProcessStarter processes{log};
    FakeFileSystem files;
    FakeKeyboardState keyboard;
    FakeSound sound{log};
    FakeApplications applications{log, shell};

  private:
    std::filesystem::path settingsFolder_;
};

} // namespace zorlo
