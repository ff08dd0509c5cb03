#include "script/ScriptRunner.hpp"

#include "console/Console.hpp"
#include "platform/KeyCodes.hpp"
#include "platform/fake/FakeDesktop.hpp"
#ifdef ZORLO_SCRIPT_POSIX_FILES
#include "platform/posix/PosixFileSystem.hpp"
#endif
#include "platform/fake/FakeDroppedData.hpp"
#include "script/ScriptError.hpp"

#include <array>
#include <limits>
#include <utility>

namespace zorlo::script {

namespace {

constexpr std::array<std::pair<std::string_view, int>, 10> kKeyNames{{
    {"Enter", vk::Enter},
    {"Esc", vk::Escape},
    {"Up", vk::Up},
    {"Down", vk::Down},
    {"Home", vk::Home},
    {"End", vk::End},
    {"Left", vk::Left},
    {"Right", vk::Right},
    {"Backspace", vk::Backspace},
    {"Delete", vk::Delete},
}};

// ---- Argument access: position 0 is the command's name ----

bool present(const Json& command, std::size_t i) {
    return i < command.size();
}

int intArg(const Json& command, std::size_t i, const char* what) {
    if (!present(command, i) || !command[i].is_number_integer()) {
        throw ScriptError(std::string("expects a whole number as ") + what);
    }
    const auto value = command[i].get<long long>();
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
        throw ScriptError(std::string(what) + " is out of range");
    }
    return static_cast<int>(value);
}

int intArg(const Json& command, std::size_t i, const char* what, int fallback) {
    return present(command, i) ? intArg(command, i, what) : fallback;
}

Text textArg(const Json& command, std::size_t i, const char* what) {
    if (!present(command, i) || !command[i].is_string()) {
        throw ScriptError(std::string("expects a text as ") + what);
    }
    return fromUtf8(command[i].get<std::string>());
}

int keyArg(const Json& command) {
    if (present(command, 1) && command[1].is_string()) {
        const auto name = command[1].get<std::string>();
        for (const auto& [keyName, code] : kKeyNames) {
            if (name == keyName) {
                return code;
            }
        }
        throw ScriptError("unknown key name \"" + name + "\"");
    }
    return intArg(command, 1, "the key");
}

// The virtual-key code a typed character arrives with.
int virtualKeyOf(char16_t c) {
    if (c >= u'a' && c <= u'z') {
        return c - u'a' + 'A';
    }
    if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u' ') {
        return c;
    }
    return 0;
}

bool isBlankLine(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

} // namespace

ScriptRunner::ScriptRunner(std::filesystem::path folder, std::ostream& out)
    : transcript_(out), desktop_(std::make_unique<FakeDesktop>(std::move(folder))) {
    desktop_->log.listener = [this](const FakeEvent& event) { transcript_.print(event); };
#ifdef ZORLO_SCRIPT_POSIX_FILES
    // Folder lookups stay declared in the script; the files are real.
    static PosixFileSystem realFiles;
    desktop_->files.writeThrough(&realFiles);
#endif
}

ScriptRunner::~ScriptRunner() {
    // The fakes call back into the console; it must not outlive them, nor they it.
    desktop_->attach(nullptr);
    console_.reset();
}

int ScriptRunner::run(std::istream& in, std::ostream& err) {
    std::string line;
    long lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (isBlankLine(line) || line.front() == '#') {
            continue;
        }
        try {
            Json command;
            try {
                command = Json::parse(line);
            } catch (const Json::parse_error&) {
                throw ScriptError("not valid JSON");
            }
            if (!play(command)) {
                return 0;
            }
        } catch (const ScriptError& error) {
            err << "zorlo-script: line " << lineNumber << ": " << error.what() << '\n';
            return 2;
        } catch (const Json::exception& error) {
            // An argument of a shape no check above foresaw: still the script's fault.
            err << "zorlo-script: line " << lineNumber << ": " << error.what() << '\n';
            return 2;
        }
    }
    return 0;
}

void ScriptRunner::requireStarted(const std::string& name) const {
    if (!console_) {
        throw ScriptError("\"" + name + "\" needs the console: put [\"start\"] before it");
    }
}

void ScriptRunner::requireNotStarted(const std::string& name) const {
    if (console_) {
        throw ScriptError("\"" + name + "\" must come before [\"start\"]");
    }
}

bool ScriptRunner::play(const Json& command) {
    if (!command.is_array() || command.empty() || !command[0].is_string()) {
        throw ScriptError("a command is an array that begins with the command's name");
    }
    const auto name = command[0].get<std::string>();
    FakeDesktop& d = *desktop_;

    if (name == "screen") {
        requireNotStarted(name);
        d.window.setScreen(intArg(command, 1, "the width"), intArg(command, 2, "the height"));
    } else if (name == "window") {
        requireNotStarted(name);
        d.window.setFrame(Rect{intArg(command, 1, "the left"), intArg(command, 2, "the top"),
                               intArg(command, 3, "the width"), intArg(command, 4, "the height")});
    } else if (name == "mkdir") {
        d.files.addFolder(textArg(command, 1, "the path"));
    } else if (name == "start") {
        requireNotStarted(name);
        start();
    } else if (name == "type") {
        requireStarted(name);
        type(textArg(command, 1, "the text"));
    } else if (name == "key") {
        requireStarted(name);
        key(keyArg(command), intArg(command, 2, "the shift state", 0));
    } else if (name == "click") {
        requireStarted(name);
        d.textArea.setCaret(intArg(command, 1, "the position"));
        console_->textMouseUp(1, ShiftState::None);
    } else if (name == "select") {
        requireStarted(name);
        d.textArea.setCaret(intArg(command, 1, "the start"));
        d.textArea.setSelLength(intArg(command, 2, "the length"));
        console_->textMouseUp(1, ShiftState::None);
    } else if (name == "drop") {
        requireStarted(name);
        if (!present(command, 1) || !command[1].is_object()) {
            throw ScriptError("expects an object as the dropped data");
        }
        drop(command[1], intArg(command, 2, "the shift state", 0));
    } else if (name == "answer") {
        const Text answer = textArg(command, 1, "the answer");
        if (answer != u"yes" && answer != u"no") {
            throw ScriptError("the answer is \"yes\" or \"no\"");
        }
        d.dialogs.queueAnswer(answer == u"yes");
    } else if (name == "input") {
        if (present(command, 1) && command[1].is_null()) {
            d.dialogs.queueInput(std::nullopt);
        } else {
            d.dialogs.queueInput(textArg(command, 1, "the input (or null)"));
        }
    } else if (name == "capture") {
        if (present(command, 1) && command[1].is_null()) {
            d.captureWindow.queuePress(std::nullopt);
        } else {
            d.captureWindow.queuePress(FakeCaptureWindow::Press{
                intArg(command, 1, "the key (or null)"), intArg(command, 2, "the shift state", 0)});
        }
    } else if (name == "shellresult") {
        d.shell.setResult(intArg(command, 1, "the result code"));
    } else if (name == "apps") {
        setApps(present(command, 1) ? command[1] : Json());
    } else if (name == "startfails") {
        if (!present(command, 1) || !command[1].is_boolean()) {
            throw ScriptError("expects true or false");
        }
        d.processes.setFails(command[1].get<bool>());
    } else if (name == "keydown" || name == "keyup") {
        d.keyboard.setDown(intArg(command, 1, "the key"), name == "keydown");
    } else if (name == "tick") {
        requireStarted(name);
        const int count = intArg(command, 1, "the number of ticks", 1);
        if (count < 0) {
            throw ScriptError("the number of ticks cannot be negative");
        }
        tick(count);
    } else if (name == "foreground") {
        const Text who = textArg(command, 1, "the window in front");
        if (who != u"console" && who != u"other") {
            throw ScriptError("the window in front is \"console\" or \"other\"");
        }
        d.window.userSetForeground(who == u"console");
    } else if (name == "resize") {
        requireStarted(name);
        d.window.userResize(intArg(command, 1, "the width"), intArg(command, 2, "the height"));
    } else if (name == "minimize" || name == "restore") {
        requireStarted(name);
        d.window.userMinimize(name == "minimize");
    } else if (name == "close") {
        requireStarted(name);
        d.window.userClose();
    } else if (name == "dump") {
        requireStarted(name);
        transcript_.printState(console_->snapshot(), d);
    } else {
        throw ScriptError("unknown command \"" + name + "\"");
    }
    return !d.window.unloaded();
}

void ScriptRunner::start() {
    console_ = std::make_unique<Console>(desktop_->desktop());
    desktop_->attach(console_.get());
    console_->formLoad();
    // Read after the window is up, as the desktop adapters do.
    if (!apps_.empty() && !desktop_->window.unloaded()) {
        console_->applicationsRead(apps_);
    }
}

void ScriptRunner::type(const Text& text) {
    FakeTextArea& area = desktop_->textArea;
    for (std::size_t i = 0; i < text.size() && !desktop_->window.unloaded(); ++i) {
        Text character(1, text[i]);
        // A character outside the basic plane is typed as one, not as two halves.
        if (text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size()) {
            character.push_back(text[++i]);
        }
        const int code = virtualKeyOf(character.front());
        int keyCode = code;
        console_->textKeyDown(keyCode, ShiftState::None);
        if (code == 0 || keyCode != 0) {
            area.replaceSelection(character);
        }
        console_->textKeyUp(code, ShiftState::None);
    }
}

void ScriptRunner::key(int virtualKey, int shift) {
    int keyCode = virtualKey;
    console_->textKeyDown(keyCode, shift);
    if (virtualKey == 0 || keyCode != 0) {
        textAreaAction(virtualKey, shift);
    }
    if (!desktop_->window.unloaded()) {
        console_->textKeyUp(virtualKey, shift);
    }
}

void ScriptRunner::textAreaAction(int virtualKey, int shift) {
    FakeTextArea& area = desktop_->textArea;
    switch (virtualKey) {
    case vk::Enter:
        area.insertLineBreak();
        break;
    case vk::Backspace:
        area.backspace();
        break;
    case vk::Delete:
        area.deleteForward();
        break;
    case vk::Left:
        area.moveLeft();
        break;
    case vk::Right:
        area.moveRight();
        break;
    case vk::Home:
        area.home((shift & ShiftState::Shift) != 0);
        break;
    case vk::End:
        area.end();
        break;
    default:
        break;
    }
}

void ScriptRunner::drop(const Json& data, int shift) {
    FakeDroppedData dropped;
    for (const auto& [key, value] : data.items()) {
        if (key == "files") {
            if (!value.is_array()) {
                throw ScriptError("\"files\" is a list of paths");
            }
            std::vector<Text> files;
            for (const Json& file : value) {
                if (!file.is_string()) {
                    throw ScriptError("\"files\" is a list of paths");
                }
                files.push_back(fromUtf8(file.get<std::string>()));
            }
            dropped.fileList = std::move(files);
        } else if (key == "text") {
            if (!value.is_string()) {
                throw ScriptError("\"text\" is a string");
            }
            dropped.plainText = fromUtf8(value.get<std::string>());
        } else if (key == "formats") {
            if (!value.is_array()) {
                throw ScriptError("\"formats\" is a list of labels");
            }
            for (const Json& label : value) {
                const auto format =
                    label.is_string()
                        ? FakeDroppedData::formatFromLabel(fromUtf8(label.get<std::string>()))
                        : std::nullopt;
                if (!format) {
                    throw ScriptError("\"formats\" lists link, bitmap, palette, dib or metafile");
                }
                dropped.furtherFormats.insert(*format);
            }
        } else {
            throw ScriptError("unknown key \"" + key + "\" in the dropped data");
        }
    }
    console_->textDrop(dropped, shift);
}

void ScriptRunner::setApps(const Json& list) {
    const char* shape = "expects a list of objects {\"name\", \"names\", \"target\"}";
    if (!list.is_array()) {
        throw ScriptError(shape);
    }
    std::vector<Application> apps;
    for (const Json& item : list) {
        if (!item.is_object()) {
            throw ScriptError(shape);
        }
        Application app;
        for (const auto& [key, value] : item.items()) {
            if (key == "name" && value.is_string()) {
                app.name = fromUtf8(value.get<std::string>());
            } else if (key == "target" && value.is_string()) {
                app.target = fromUtf8(value.get<std::string>());
            } else if (key == "names" && value.is_array()) {
                for (const Json& other : value) {
                    if (!other.is_string()) {
                        throw ScriptError("\"names\" is a list of texts");
                    }
                    app.names.push_back(fromUtf8(other.get<std::string>()));
                }
            } else {
                throw ScriptError("unexpected \"" + key + "\" in an application");
            }
        }
        if (app.name.empty()) {
            throw ScriptError("an application needs a \"name\"");
        }
        apps.push_back(std::move(app));
    }
    apps_ = std::move(apps);
    if (console_) {
        console_->applicationsRead(apps_);
    }
}

void ScriptRunner::tick(int count) {
    for (int i = 0; i < count && !desktop_->window.unloaded(); ++i) {
        console_->timerTick();
    }
}

} // namespace zorlo::script
