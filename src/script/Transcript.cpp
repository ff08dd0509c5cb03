#include "script/Transcript.hpp"

#include "console/Console.hpp"
#include "platform/fake/FakeDesktop.hpp"

namespace zorlo::script {

namespace {

Json toJson(const FakeValue& value) {
    return std::visit(
        [](const auto& v) -> Json {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, Text>) {
                return toUtf8(v);
            } else {
                return v;
            }
        },
        value);
}

Json toJson(const Rect& rect) {
    return Json::array({rect.left, rect.top, rect.width, rect.height});
}

} // namespace

void Transcript::printLine(const Json& line) {
    // Engine text may hold a lone surrogate half; it must not end the run.
    out_ << line.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
    out_.flush();
}

void Transcript::print(const FakeEvent& event) {
    Json line;
    line["event"] = event.name;
    for (const auto& [key, value] : event.fields) {
        line[key] = toJson(value);
    }
    printLine(line);
}

void Transcript::printState(const ConsoleSnapshot& console, const FakeDesktop& desktop) {
    const FakeConsoleWindow& window = desktop.window;
    Json line;
    line["event"] = "state";
    line["pane"] = toUtf8(desktop.textArea.text());
    line["caret"] = desktop.textArea.caret();
    line["selLength"] = desktop.textArea.selLength();
    line["status"] = toUtf8(desktop.label.caption());
    line["caption"] = toUtf8(window.caption());
    line["visible"] = window.isVisible();
    line["foreground"] = window.isForeground();
    line["minimized"] = window.isMinimized();
    line["window"] = toJson(window.frame());
    line["txtCLI"] = toJson(window.textAreaRect());
    line["lblInfo"] = toJson(window.labelRect());
    line["cmdLine"] = toUtf8(console.cmdLine);
    line["hidden"] = console.hidden;
    line["shown"] = console.shown;
    line["maximized"] = console.maximized;
    printLine(line);
}

} // namespace zorlo::script
