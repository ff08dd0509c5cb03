#pragma once

#include "activation/KeyCodes.hpp"
#include "console/Console.hpp"
#include "platform/fake/FakeDesktop.hpp"
#include "platform/fake/FakeDroppedData.hpp"
#include "store/FileIo.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

namespace zorlo::testing {

namespace fs = std::filesystem;

// A folder of the test's own, removed afterwards.
class ScratchFolder {
  public:
    ScratchFolder() {
        path_ = fs::temp_directory_path() /
                ("zorlo-reliability-" + std::to_string(std::random_device{}()));
        fs::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& path() const { return path_; }
    fs::path operator/(const char* name) const { return path_ / name; }

  private:
    fs::path path_;
};

inline void writeBytes(const fs::path& file, const std::string& bytes) {
    writeFileAtomically(file, bytes);
}

inline std::string readBytes(const fs::path& file) {
    return readFileBytes(file).value_or("(missing)");
}

// One run of the console on the fake desktop, driven the way the scripted
// runner drives it: key down, the text area's own action, key up.
class ConsoleSession {
  public:
    explicit ConsoleSession(const fs::path& folder) : desk(folder), console(desk.desktop()) {
        desk.attach(&console);
    }
    ~ConsoleSession() { desk.attach(nullptr); }
    ConsoleSession(const ConsoleSession&) = delete;
    ConsoleSession& operator=(const ConsoleSession&) = delete;

    ConsoleSession& start() {
        console.formLoad();
        return *this;
    }
    void close() { desk.window.userClose(); }

    // Typed one character at a time; characters without a key code cannot be cancelled.
    void type(TextView text) {
        for (const char16_t c : text) {
            int code = (c >= u'a' && c <= u'z') ? c - u'a' + 'A' : 0;
            if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u' ') {
                code = c;
            }
            int keyCode = code;
            console.txtCLI_KeyDown(keyCode, ShiftState::None);
            if (code == 0 || keyCode != 0) {
                desk.textArea.replaceSelection(Text(1, c));
            }
            console.txtCLI_KeyUp(code, ShiftState::None);
        }
    }
    // A paste arrives as one replacement of the selection.
    void paste(TextView text) { desk.textArea.replaceSelection(Text(text)); }
    void key(int virtualKey, int shift = ShiftState::None) {
        int keyCode = virtualKey;
        console.txtCLI_KeyDown(keyCode, shift);
        if (keyCode == vk::Enter) {
            desk.textArea.insertLineBreak();
        }
        console.txtCLI_KeyUp(virtualKey, shift);
    }
    void enter() { key(vk::Enter); }
    void line(TextView text) {
        type(text);
        enter();
    }
    void drop(const FakeDroppedData& data, int shift = ShiftState::None) {
        console.txtCLI_OLEDragDrop(data, shift);
    }
    void tick() { console.theTimer_Timer(); }

    Text pane() const { return desk.textArea.text(); }
    Text status() const { return desk.label.caption(); }
    bool paneHas(TextView text) const { return pane().find(text) != Text::npos; }
    // The pane from here on: what the next actions write.
    std::size_t mark() const { return pane().size(); }
    Text paneSince(std::size_t mark) const { return pane().substr(std::min(mark, pane().size())); }
    Text macro(TextView name) const {
        for (const Bin& bin : console.macros) {
            if (bin.NAME == name) {
                return bin.VALUE;
            }
        }
        return u"(no such macro)";
    }

    FakeDesktop desk;
    Console console;
};

inline std::string shown(TextView text) {
    return toUtf8(text);
}

} // namespace zorlo::testing
