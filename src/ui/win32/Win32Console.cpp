#include "ui/win32/Win32Console.hpp"

#include "launch/ArgumentText.hpp"
#include "platform/win32/SettingsFolder.hpp"

#include <exception>

namespace zorlo::win32 {

Win32Console::Win32Console(std::filesystem::path settingsFolder, bool endsProgram)
    : sound_(executableFolder()), applications_(&launchArgument), main_(endsProgram) {
    dialogs_.setOwner(main_.handle());
    capture_.setOwner(main_.handle());
    console_ = std::make_unique<Console>(Desktop{main_.textArea(), main_.label(), main_, dialogs_,
                                                 pump_, shell_, processes_, files_, keyboard_,
                                                 sound_, capture_, HotkeyService::polled(),
                                                 applications_, std::move(settingsFolder)});
    dropTarget_ = new DropTarget(console_.get());
    main_.registerDropTarget(dropTarget_);
    main_.attach(console_.get());
}

Win32Console::~Win32Console() {
    main_.watchApplications(nullptr);
    startMenu_.reset();
    // The shutdown sequence runs while every window still exists.
    main_.unload();
    dropTarget_->detach();
    dropTarget_->Release();
    capture_.close();
    main_.attach(nullptr);
}

void Win32Console::start() {
    console_->formLoad();
    // The window is up before the disk is read: the first paint never waits for it.
    try {
        startMenu_ = std::make_unique<StartMenuWatch>(startMenuFolders(), main_.handle(),
                                                      MainWindow::kApplicationsMessage);
        main_.watchApplications(startMenu_.get());
    } catch (const std::exception&) {
        // No thread to read it with: the console runs without the Start menu.
    }
}

int Win32Console::run() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

} // namespace zorlo::win32
