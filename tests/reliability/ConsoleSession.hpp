#pragma once

#include "console/Console.hpp"
#include "console/SettingsRead.hpp"
#include "platform/KeyCodes.hpp"
#include "platform/fake/FakeDesktop.hpp"
#include "store/FileIo.hpp"
#ifdef ZORLO_TEST_POSIX_FILES
#include "platform/posix/PosixFileSystem.hpp"
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace zorlo::testing {

namespace fs = std::filesystem;

// A folder of the test's own, removed afterwards.
struct ScratchFolder {
    ScratchFolder() { fs::create_directories(path_); }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }
    fs::path operator/(const char* name) const { return path_ / name; }

  private:
    fs::path path_ =
        fs::temp_directory_path() / ("zorlo-reliability-" + std::to_string(std::random_device{}()));
};

inline std::string readBytes(const fs::path& file) {
    return readFileBytes(file).value_or("(missing)");
}

inline const std::string kList =
    "\"ed\"\r\n\"C:\\Tools\\editor.exe\"\r\n\"np\"\r\n\"notepad.exe\"\r\n";

// A parameter file with the default window and the hotkey F12.
inline std::string params(const std::string& modifier = "0") {
    const auto pair = [](const char* name, const std::string& value) {
        return "\"" + std::string(name) + "\"\r\n\"" + value + "\"\r\n";
    };
    return pair("active", "1") + pair("autohide", "0") + pair("height", "2400") +
           pair("key", "123") + pair("left", "1200") + pair("modifier", modifier) +
           pair("top", "1200") + pair("width", "4125");
}

// The files as the desktop console writes them on this system, where the
// build has its file adapter.
inline void writeThroughRealFiles([[maybe_unused]] FakeDesktop& desk) {
#ifdef ZORLO_TEST_POSIX_FILES
    static PosixFileSystem posixFiles;
    desk.files.writeThrough(&posixFiles);
#endif
}

// One run of the console on the fake desktop, driven the way the scripted
// runner drives it: key down, the text area's own action, key up.
class ConsoleSession {
  public:
    // preload: the macro list's read begun before the window, as the program does.
    explicit ConsoleSession(const fs::path& folder, std::unique_ptr<ListPreload> preload = nullptr)
        : desk(folder), console(desk.desktop()) {
        writeThroughRealFiles(desk);
        desk.attach(&console);
        console.preloadList(std::move(preload));
        console.formLoad();
    }
    ~ConsoleSession() { desk.attach(nullptr); }

    void close() { desk.window.userClose(); }

    // Typed one character at a time; characters without a key code cannot be cancelled.
    void type(TextView text) {
        for (const char16_t c : text) {
            const bool keyed = (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u' ';
            const int code = (c >= u'a' && c <= u'z') ? c - u'a' + 'A' : keyed ? c : 0;
            int keyCode = code;
            console.textKeyDown(keyCode, ShiftState::None);
            if (code == 0 || keyCode != 0) {
                desk.textArea.replaceSelection(Text(1, c));
            }
            console.textKeyUp(code, ShiftState::None);
        }
    }
    // A paste arrives as one replacement of the selection.
    void paste(TextView text) { desk.textArea.replaceSelection(Text(text)); }
    void key(int virtualKey, int shift = ShiftState::None) {
        int keyCode = virtualKey;
        console.textKeyDown(keyCode, shift);
        if (keyCode == vk::Enter) {
            desk.textArea.insertLineBreak();
        }
        console.textKeyUp(virtualKey, shift);
    }
    void enter() { key(vk::Enter); }
    void line(TextView text) {
        type(text);
        enter();
    }

    Text pane() const { return desk.textArea.text(); }
    Text status() const { return desk.label.caption(); }
    bool paneHas(TextView text) const { return pane().find(text) != Text::npos; }
    Text macro(TextView name) const {
        const BinList& macros = console.macroList();
        const auto it = std::find_if(macros.begin(), macros.end(),
                                     [name](BinView bin) { return bin.NAME == name; });
        return it == macros.end() ? Text(u"(no such macro)") : Text(it->VALUE);
    }

    FakeDesktop desk;
    Console console;
};

// A console started on settings files the test wrote, and its later runs.
class SessionTest : public ::testing::Test {
  protected:
    ConsoleSession& startWith(const std::string& list, const std::string& param) {
        writeFileBytes(folder / "zorlo.list", list);
        writeFileBytes(folder / "zorlo.param", param);
        return startIn(folder.path());
    }
    ConsoleSession& startIn(const fs::path& settings) {
        session = std::make_unique<ConsoleSession>(settings);
        return *session;
    }

    ScratchFolder folder;
    std::unique_ptr<ConsoleSession> session;
};

} // namespace zorlo::testing
