// zorlo.exe: the console for Windows.

#include "console/SettingsRead.hpp"
#include "platform/win32/SettingsFolder.hpp"
#include "platform/win32/SingleInstance.hpp"
#include "platform/win32/WideText.hpp"
#include "ui/win32/Win32Console.hpp"

#include <exception>
#include <memory>

namespace {
// The first start may still be creating its window when a second one looks for it.
constexpr int kWaitForFirstMs = 5000;
} // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    using namespace zorlo::win32;
    try {
        const auto folder = settingsFolder();
        const SingleInstance instance(folder);
        if (!instance.isFirst()) {
            return instance.toggleRunning(kWaitForFirstMs) ? 0 : 1;
        }
        // The macros load on a second core while the window is made.
        auto preload = std::make_unique<zorlo::ListPreload>(folder);
        Win32Console console(folder, true);
        if (!console.mainWindow().isOpen()) {
            return 1;
        }
        instance.claim(console.mainWindow().handle());
        console.console().preloadList(std::move(preload));
        console.start();
        return console.run();
    } catch (const std::exception& failure) {
        MessageBoxW(nullptr, toWide(zorlo::fromUtf8(failure.what())).c_str(), L"Zorlo Console",
                    MB_OK | MB_ICONERROR);
        return 1;
    }
}
