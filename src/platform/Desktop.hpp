#pragma once

#include "platform/Applications.hpp"
#include "platform/CaptureWindow.hpp"
#include "platform/ConsoleWindow.hpp"
#include "platform/Dialogs.hpp"
#include "platform/EventPump.hpp"
#include "platform/FileSystem.hpp"
#include "platform/KeyboardState.hpp"
#include "platform/ProcessStarter.hpp"
#include "platform/Shell.hpp"
#include "platform/Sound.hpp"
#include "platform/StatusLabel.hpp"
#include "platform/TextArea.hpp"

#include <filesystem>

namespace zorlo {

// Everything the console engine takes from the desktop, handed to it at construction.
struct Desktop {
    TextArea& textArea;
    StatusLabel& label;
    ConsoleWindow& window;
    Dialogs& dialogs;
    EventPump& pump;
    Shell& shell;
    ProcessStarter& processes;
    FileSystem& files;
    KeyboardState& keyboard;
    Sound& sound;
    CaptureWindow& captureWindow;
    Applications& applications;
    // Where zorlo.list, zorlo.param, history and Bleep.WAV live.
    std::filesystem::path settingsFolder;
};

} // namespace zorlo
