#pragma once

#include "platform/Applications.hpp"
#include "platform/win32/Win32Shell.hpp"

#include <atomic>
#include <filesystem>
#include <vector>

namespace zorlo::win32 {

// Where the Start menu keeps its shortcuts: the user's own Programs folder
// first, then the one all users share. A folder the system cannot name is left out.
std::vector<std::filesystem::path> startMenuFolders();

// The shortcuts (*.lnk) under the folders, subfolders included, as
// applications: the shortcut's file name without ".lnk" is the name, the
// program it points to the target (the shortcut itself where it points to
// none, as an installer's advertised shortcut does), its path the key. A
// shortcut at the same place under a later folder is the same menu entry and
// is left out. Gives up early, with what it has, once `cancelled` is set.
std::vector<Application> readStartMenu(const std::vector<std::filesystem::path>& folders,
                                       const std::atomic<bool>* cancelled = nullptr);

// Launches a Start-menu application by opening its shortcut through the
// shell, so the shortcut's own arguments, folder and window state apply as
// they do from the Start menu; the console's words follow its arguments, and
// the console's folder is the one a shortcut without a folder starts in.
class Win32Applications : public Applications {
  public:
    // How one word is written into the argument text: the console's own rule,
    // so a word holding blanks reaches the program as a macro's launch passes it.
    using Quote = Text (*)(TextView word);
    explicit Win32Applications(Quote quote) : quote_(quote) {}
    long launch(const Application& app, const std::vector<Text>& arguments,
                const Text& folder) override;

  private:
    Quote quote_;
    Win32Shell shell_;
};

} // namespace zorlo::win32
