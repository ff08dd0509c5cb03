// Typing on a long command line. The console reads the line back after every
// key; that read must cost next to nothing beside the key itself, however long
// the line: as zorlo-script types on the fake desktop, and on the Qt widget
// (offscreen), where the widget's own work for the key is printed beside it.
#include "Figures.hpp"

#include "console/Console.hpp"
#include "platform/fake/FakeDesktop.hpp"
#include "script/ScriptRunner.hpp"
#include "ui/CliTextEdit.hpp"
#include "ui/KeyTranslator.hpp"
#include "ui/QtTextArea.hpp"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <chrono>
#include <sstream>

using namespace zorlo;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kScriptShort = 2000;
constexpr int kScriptLong = 20000;
constexpr int kLongLine = 100000;
constexpr int kPaste = 200000;

// Words of seven letters and a blank, as a long line of arguments would be.
std::string lineOf(int length) {
    std::string line;
    for (int i = 0; i < length; ++i) {
        line.push_back(i % 8 == 7 ? ' ' : static_cast<char>('a' + i % 26));
    }
    return line;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A fresh console typing a line through zorlo-script's player, start-up included.
void scriptTyping(benchmark::State& state) {
    const bench::ScratchFolder folder("zorlo-bench-typing");
    const std::string line = lineOf(static_cast<int>(state.range(0)));
    const std::string script = "[\"start\"]\n[\"type\", \"" + line + "\"]\n[\"dump\"]\n";
    for (auto _ : state) {
        std::istringstream in(script);
        std::ostringstream out;
        std::ostringstream err;
        script::ScriptRunner runner(folder.path(), out);
        if (runner.run(in, err) != 0 ||
            out.str().find("\"cmdLine\":\"" + line + "\"") == std::string::npos) {
            state.SkipWithError("the typed line did not reach the command line");
            return;
        }
    }
}

// Hands every event on to the console and adds up the time spent in the
// text area's events: the console's work and its adapter's reads, nothing
// of the widget's own.
class TimedEvents : public ConsoleEvents {
  public:
    explicit TimedEvents(ConsoleEvents& console) : console_(console) {}
    void formLoad() override { console_.formLoad(); }
    bool formUnload() override { return console_.formUnload(); }
    Text endSession() override { return console_.endSession(); }
    void formResize() override { console_.formResize(); }
    void textChange() override {
        timed([&] { console_.textChange(); });
    }
    void textKeyDown(int& keyCode, int shift) override {
        timed([&] { console_.textKeyDown(keyCode, shift); });
    }
    void textKeyUp(int keyCode, int shift) override {
        timed([&] { console_.textKeyUp(keyCode, shift); });
    }
    void textMouseUp(int button, int shift) override { console_.textMouseUp(button, shift); }
    void textDrop(const DroppedData& data, int shift) override { console_.textDrop(data, shift); }
    void timerTick() override { console_.timerTick(); }
    bool timerMayRest() const override { return console_.timerMayRest(); }
    void togglePressed() override { console_.togglePressed(); }
    void hotkeyBound(const Text& trigger) override { console_.hotkeyBound(trigger); }
    void hideAfterStart() override { console_.hideAfterStart(); }
    void applicationsRead(std::vector<Application> apps) override {
        console_.applicationsRead(std::move(apps));
    }

    double seconds = 0;

  private:
    template <typename Event> void timed(const Event& event) {
        const auto start = Clock::now();
        event();
        seconds += secondsSince(start);
    }

    ConsoleEvents& console_;
};

// The console with the real text area on a shown widget; every other port fake.
struct QtConsole {
    QtConsole()
        : folder("zorlo-bench-typing-qt"), desk(folder.path()), area(edit), console(desktop()),
          events(console) {
        attach(true);
        edit.resize(640, 400);
        edit.show();
        events.formLoad();
        QApplication::processEvents();
    }
    Desktop desktop() {
        Desktop d = desk.desktop();
        return Desktop{area,           d.label,         d.window,        d.dialogs,
                       d.pump,         d.shell,         d.processes,     d.files,
                       d.keyboard,     d.sound,         d.captureWindow, d.hotkeys,
                       d.applications, d.settingsFolder};
    }
    // Without the console the widget takes keys as a plain text box.
    void attach(bool engine) {
        area.setEvents(engine ? &events : nullptr);
        edit.setEvents(engine ? &events : nullptr);
    }
    // What the user typed so far, as one paste at the end of the pane.
    void typeLine(int length) {
        QTextCursor cursor = edit.textCursor();
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QString::fromStdString(lineOf(length)));
        edit.setTextCursor(cursor);
        QApplication::processEvents();
    }
    // One key pressed and released, and the repaint that shows it.
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(&edit, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(&edit, &release);
        QApplication::processEvents();
    }
    std::size_t lineLength() const { return console.snapshot().cmdLine.size(); }

    bench::ScratchFolder folder;
    FakeDesktop desk;
    KeyTranslator keys;
    CliTextEdit edit{keys};
    QtTextArea area;
    Console console;
    TimedEvents events;
};

// A key at the end of a long command line: the console's and adapter's part.
void qtLongLineKey(benchmark::State& state) {
    QtConsole pane;
    pane.typeLine(kLongLine);
    for (auto _ : state) {
        pane.events.seconds = 0;
        pane.key(Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        state.SetIterationTime(pane.events.seconds);
    }
    if (pane.lineLength() != static_cast<std::size_t>(kLongLine) + state.iterations()) {
        state.SkipWithError("the typed keys did not reach the command line");
    }
}

// The same key on the same widget with no console behind it.
void qtLongLineKeyWidget(benchmark::State& state) {
    QtConsole pane;
    pane.typeLine(kLongLine);
    pane.attach(false);
    for (auto _ : state) {
        const auto start = Clock::now();
        pane.key(Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        state.SetIterationTime(secondsSince(start));
    }
}

// Ctrl+V of one long line onto a fresh prompt: widget and console together.
void pasteOnPrompt(benchmark::State& state, const std::string& line) {
    QtConsole pane;
    QApplication::clipboard()->setText(QString::fromStdString(line));
    for (auto _ : state) {
        pane.area.setText(u">");
        pane.area.setCaret(1);
        QApplication::processEvents();
        const auto start = Clock::now();
        pane.key(Qt::Key_V, Qt::ControlModifier, QString());
        state.SetIterationTime(secondsSince(start));
        if (pane.lineLength() != line.size()) {
            state.SkipWithError("the pasted line did not reach the command line");
            return;
        }
    }
}

void qtPaste(benchmark::State& state) {
    pasteOnPrompt(state, lineOf(kPaste));
}

// A line with no blank in it, as a pasted address or encoded blob is: the
// widget finds no word to break at and breaks it where the width runs out.
void qtPasteNoBlank(benchmark::State& state) {
    std::string line;
    for (int i = 0; i < kPaste; ++i) {
        line.push_back(static_cast<char>('a' + i % 26));
    }
    pasteOnPrompt(state, line);
}

void printRatio(const bench::Collector& collector, const std::string& small,
                const std::string& large, double targetRatio, int& missed) {
    if (!collector.has(small) || !collector.has(large)) {
        std::printf("MISS  typing growth: %s / %s\n", collector.error(small).c_str(),
                    collector.error(large).c_str());
        ++missed;
        return;
    }
    const double ratio = collector.seconds(large) / collector.seconds(small);
    const bool pass = ratio < targetRatio;
    missed += pass ? 0 : 1;
    std::printf(
        "%s  zorlo-script typing grows with the line: %s ms for %d characters, %s ms "
        "for %d, %sx (target < %sx)\n",
        pass ? "PASS" : "MISS", bench::Verdicts::number(collector.seconds(small) * 1000).c_str(),
        kScriptShort, bench::Verdicts::number(collector.seconds(large) * 1000).c_str(), kScriptLong,
        bench::Verdicts::number(ratio).c_str(), bench::Verdicts::number(targetRatio).c_str());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("scriptTyping2k", scriptTyping)
        ->Arg(kScriptShort)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(3);
    benchmark::RegisterBenchmark("scriptTyping20k", scriptTyping)
        ->Arg(kScriptLong)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(3);
    benchmark::RegisterBenchmark("qtLongLineKey", qtLongLineKey)->UseManualTime()->Iterations(20);
    benchmark::RegisterBenchmark("qtLongLineKeyWidget", qtLongLineKeyWidget)
        ->UseManualTime()
        ->Iterations(20);
    benchmark::RegisterBenchmark("qtPaste", qtPaste)->UseManualTime()->Iterations(3);
    benchmark::RegisterBenchmark("qtPasteNoBlank", qtPasteNoBlank)->UseManualTime()->Iterations(3);

    bench::Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);

    int missed = 0;
    printRatio(collector, "scriptTyping2k", "scriptTyping20k", 20, missed);
    bench::Verdicts verdicts(collector);
    verdicts.under("qtLongLineKey",
                   "the console and its Qt adapter, one key at the end of a 100,000-character line",
                   1);
    if (collector.has("qtLongLineKeyWidget")) {
        std::printf(
            "INFO  the widget's own work for that key (insert, layout, repaint): %s ms\n",
            bench::Verdicts::number(collector.seconds("qtLongLineKeyWidget") * 1000).c_str());
    }
    verdicts.under("qtPaste", "a 200,000-character line pasted on the Qt console", 1000);
    verdicts.under("qtPasteNoBlank",
                   "a 200,000-character line without a blank pasted on the Qt console", 1000);
    benchmark::Shutdown();
    return verdicts.exitCode() != 0 || missed != 0 ? 1 : 0;
}
